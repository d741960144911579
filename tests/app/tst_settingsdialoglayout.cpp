#include "app/spectrogramsettingsdialog.h"
#include "guitest.h"
#include "testregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

namespace {

// Where a text of the widget is cut, or an empty string when all of it can be read.
QString cutText(const QWidget *widget, const QWidget *dialog)
{
    QString text;
    int needed = 0;
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto *label = qobject_cast<const QLabel *>(widget)) {
        text = label->text();
        // The widest line: the help texts run over several.
        for (const QString &line : text.split(QLatin1Char('\n')))
            needed = qMax(needed, metrics.horizontalAdvance(line));
    } else if (auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        text = button->text();
        needed = metrics.horizontalAdvance(text);
    }
    if (text.isEmpty())
        return QString();
    const QString name = widget->objectName().isEmpty() ? text : widget->objectName();
    // The text alone, and the widget's own hint: text, indicator, bevel and the style's margins.
    if (widget->width() < needed)
        return QStringLiteral("%1: %2 px wide for %3 px of text").arg(name).arg(widget->width()).arg(needed);
    const QSize hint = widget->sizeHint();
    if (widget->width() < hint.width() || widget->height() < hint.height())
        return QStringLiteral("%1: %2 x %3 px for a hint of %4 x %5 px")
            .arg(name)
            .arg(widget->width())
            .arg(widget->height())
            .arg(hint.width())
            .arg(hint.height());
    const QRect onDialog(widget->mapTo(dialog, QPoint(0, 0)), widget->size());
    if (!dialog->rect().contains(onDialog))
        return QStringLiteral("%1: reaches out of the dialog").arg(name);
    return QString();
}

QStringList cutTexts(const QWidget *dialog)
{
    QStringList cut;
    for (const QWidget *w : dialog->findChildren<QWidget *>()) {
        if (!w->isVisible() || (!qobject_cast<const QLabel *>(w) && !qobject_cast<const QAbstractButton *>(w)))
            continue;
        const QString problem = cutText(w, dialog);
        if (!problem.isEmpty())
            cut << problem;
    }
    return cut;
}

} // namespace

// The form was laid out for narrower fonts than the desktop's default; with
// DejaVu Sans no text of the dialog may be cut, on any tab.
class TestSettingsDialogLayout : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Guards the premise: a narrow fallback font would let the test pass on its own.
        QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("DejaVu Sans"));
    }

    void everyText_fitsItsWidget_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("audioMode");
        QTest::newRow("Spectrogram") << 0 << 0;
        QTest::newRow("Axis Plots") << 1 << 0;
        QTest::newRow("Audio, undersampled") << 2 << 1;
        QTest::newRow("Audio, pitched") << 2 << 2;
        QTest::newRow("Audio, mixed: the longest help") << 2 << 3;
    }
    void everyText_fitsItsWidget()
    {
        QFETCH(int, tab);
        QFETCH(int, audioMode);
        // The widest resolution texts: the longest hop and the finest bins at 500 kHz.
        SpectrogramSettingsDialog dialog(nullptr, 500000);
        dialog.findChild<QComboBox *>(QStringLiteral("comboBox_windowSize"))->setCurrentIndex(5);
        dialog.findChild<QComboBox *>(QStringLiteral("comboBox_overlap"))->setCurrentIndex(6);
        dialog.findChild<QComboBox *>(QStringLiteral("comboBox_audioMode"))->setCurrentIndex(audioMode);
        dialog.setCurrentTab(tab);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCoreApplication::processEvents();

        const QStringList cut = cutTexts(&dialog);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    void apply_canBeSeenAndPressed()
    {
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        QSignalSpy applied(&dialog, &SpectrogramSettingsDialog::apply);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *apply = dialog.findChild<QPushButton *>(QStringLiteral("pushButton_apply"));
        QVERIFY(apply->isVisible());
        QVERIFY(apply->height() >= apply->sizeHint().height());
        // The press lands on the button itself, not on something drawn over it.
        const QPoint centre = apply->mapTo(&dialog, apply->rect().center());
        QCOMPARE(dialog.childAt(centre), static_cast<QWidget *>(apply));
        QTest::mouseClick(apply, Qt::LeftButton, Qt::NoModifier, apply->rect().center());
        QCOMPARE(applied.count(), 1);
    }
};

QUILLON_TEST(TestSettingsDialogLayout)
#include "tst_settingsdialoglayout.moc"
