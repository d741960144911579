#include "app/spectrogramsettingsdialog.h"
#include "dialogfit.h"
#include "guitest.h"
#include "testregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

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

        const QStringList cut = dialogfit::cutTexts(&dialog);
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
