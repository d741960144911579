#include "testregistry.h"

#include "app/mainwindow.h"
#include "display/myqwtzoomer10.h"
#include "display/myqwtzoomer2.h"
#include "display/rangemarker.h"
#include "guitest.h"
#include "platform/desktoptheme.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <qwt_plot_canvas.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>

namespace {

const QString darkToolTips =
    QStringLiteral("QToolTip { color: #ffffff; background-color: #656565; border: 1px solid white; }");

// Everything a theme sets, as text, so that two looks compare and a difference shows.
QStringList lookOf(const MainWindow &w)
{
    const auto colour = [](const QColor &c) { return c.name(QColor::HexArgb); };
    const auto pen = [&](const QPen &p) { return colour(p.color()) + "/" + QString::number(int(p.style())); };
    const auto picture = [](const QIcon &icon, QIcon::State state) {
        const QImage image = icon.pixmap(16, QIcon::Normal, state).toImage();
        return QString::fromLatin1(
            QCryptographicHash::hash(QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()),
                                     QCryptographicHash::Md5)
                .toHex());
    };
    QStringList look{qApp->styleSheet()};
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            look << colour(QApplication::palette().color(group, QPalette::ColorRole(role)));
    }
    for (const char *name :
         {"toolButton", "toolButton_2", "pushButton_3", "pushButton_4", "pushButton_7", "pushButton_8"}) {
        const QIcon icon = w.findChild<QAbstractButton *>(QLatin1String(name))->icon();
        look << picture(icon, QIcon::On) << picture(icon, QIcon::Off);
    }
    look << colour(w.timePlotCanvas->palette().color(QPalette::Window))
         << colour(w.frequencyPlotCanvas->palette().color(QPalette::Window)) << pen(w.timePlotGrid->majorPen())
         << pen(w.frequencyPlotGrid->majorPen()) << pen(w.timePlotZoomer->trackerPen())
         << pen(w.frequencyPlotZoomer->trackerPen()) << colour(w.timePlotScaleItem->palette().color(QPalette::Window))
         << colour(w.frequencyPlotScaleItem->palette().color(QPalette::Window))
         << colour(w.timeRangeMarker1->colorValue()) << colour(w.timeRangeMarker2->colorValue())
         << colour(w.frequencyRangeMarker1->colorValue()) << colour(w.frequencyRangeMarker2->colorValue())
         << pen(w.amplitudePlotMarker->linePen()) << pen(w.frequencyPlotMarker->linePen())
         << pen(w.baselineMarker->linePen());
    return look;
}

QStringList plotPart(const QStringList &look)
{
    return look.mid(look.size() - 15);
}

// What in the axis plots' part of a look (lookOf's order: canvases, grids,
// trackers, scale items, four bands, two cursor lines, zero line) is not the
// `dark` theme's, worn by both plots alike: a dark or a light canvas, with a
// tracker and cursor lines that stand out from it. Empty when all is.
QString plotsOffTheme(const QStringList &look, bool dark)
{
    const QStringList p = plotPart(look);
    for (int i : {0, 2, 4, 6, 8, 9, 10, 12}) {
        if (p.at(i) != p.at(i + 1))
            return QStringLiteral("the two plots differ: %1, %2").arg(p.at(i), p.at(i + 1));
    }
    const auto lightness = [](const QString &entry) { return QColor(entry.section('/', 0, 0)).lightness(); };
    const int canvas = lightness(p.at(0));
    if (dark ? canvas > 60 : canvas < 200)
        return QStringLiteral("canvas %1").arg(p.at(0));
    for (int line : {4, 12}) {
        if (qAbs(lightness(p.at(line)) - canvas) < 100)
            return QStringLiteral("%1 on canvas %2").arg(p.at(line), p.at(0));
    }
    return QString();
}

QImage iconImage(const QIcon &icon, QIcon::State state = QIcon::Off)
{
    return icon.pixmap(16, QIcon::Normal, state).toImage();
}

QIcon buttonIcon(const MainWindow &w, const char *button)
{
    return w.findChild<QAbstractButton *>(QLatin1String(button))->icon();
}

void trigger(MainWindow &w, const char *action)
{
    w.findChild<QAction *>(QLatin1String(action))->trigger();
}

} // namespace

class TestTheme : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void darkThenLight_restoresStartUpLook();
    void systemChoice_data();
    void systemChoice();
    void switch_redrawsTheAxisPlots();

private:
    QString startStyle;
    QPalette startPalette;
};

void TestTheme::initTestCase()
{
    startStyle = QApplication::style()->objectName();
    startPalette = QApplication::palette();
}

void TestTheme::init()
{
    GuiTestCase::init();
    setSystemPrefersLightThemeOverride(true);
}

void TestTheme::cleanup()
{
    // Style, palette and style sheet belong to the application: put them back for the other tests.
    setSystemPrefersLightThemeOverride(std::nullopt);
    qApp->setStyleSheet(QString());
    QApplication::setStyle(startStyle);
    QApplication::setPalette(startPalette);
}

void TestTheme::darkThenLight_restoresStartUpLook()
{
    MainWindow window;
    const QStringList start = lookOf(window);
    QVERIFY2(plotsOffTheme(start, false).isEmpty(), qPrintable(plotsOffTheme(start, false)));
    QVERIFY(qApp->styleSheet().isEmpty());
    QCOMPARE(iconImage(buttonIcon(window, "toolButton")), iconImage(QIcon(QStringLiteral(":/images/zoom_light.png"))));

    trigger(window, "actionDark_Theme");
    const QStringList dark = lookOf(window);
    QVERIFY2(plotsOffTheme(dark, true).isEmpty(), qPrintable(plotsOffTheme(dark, true)));
    QCOMPARE(qApp->styleSheet(), darkToolTips);
    // The checkable tools light up when on; the arrows have one dark picture.
    const struct {
        const char *button;
        const char *on;
        const char *off;
    } darkIcons[] = {{"toolButton", ":/images/zoom_darkOn.png", ":/images/zoom_darkOff.png"},
                     {"toolButton_2", ":/images/select_darkOn.png", ":/images/select_darkOff.png"},
                     {"pushButton_3", ":/images/arrow_up_dark.png", ":/images/arrow_up_dark.png"},
                     {"pushButton_7", ":/images/arrow_up_dark.png", ":/images/arrow_up_dark.png"},
                     {"pushButton_4", ":/images/arrow_down_dark.png", ":/images/arrow_down_dark.png"},
                     {"pushButton_8", ":/images/arrow_down_dark.png", ":/images/arrow_down_dark.png"}};
    for (const auto &expected : darkIcons) {
        const QIcon icon = buttonIcon(window, expected.button);
        QCOMPARE(iconImage(icon, QIcon::On), iconImage(QIcon(QLatin1String(expected.on))));
        QCOMPARE(iconImage(icon, QIcon::Off), iconImage(QIcon(QLatin1String(expected.off))));
    }
    const QPalette palette = QApplication::palette();
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::Window), QColor(53, 53, 53));
    QCOMPARE(palette.color(QPalette::Active, QPalette::Base), QColor(25, 25, 25));
    QCOMPARE(palette.color(QPalette::Active, QPalette::Highlight), QColor(42, 130, 218));
    QCOMPARE(palette.color(QPalette::Active, QPalette::HighlightedText), QColor(Qt::black));
    // Only active buttons are darker: 128 grey at half brightness.
    QCOMPARE(palette.color(QPalette::Active, QPalette::Button), QColor(64, 64, 64));
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::Button), QColor(53, 53, 53));
    QCOMPARE(palette.color(QPalette::Disabled, QPalette::Text), QColor(128, 128, 128));
    // A style sheet hides the style beneath it.
    qApp->setStyleSheet(QString());
    QCOMPARE(QApplication::style()->objectName(), QStringLiteral("fusion"));
    qApp->setStyleSheet(darkToolTips);
    QCOMPARE(QSettings().value(QStringLiteral("theme")).toInt(), 2);

    trigger(window, "actionLight_Theme");
    QCOMPARE(lookOf(window), start);
    QCOMPARE(QSettings().value(QStringLiteral("theme")).toInt(), 1);
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("actionDark_Theme"))->isChecked());

    // A second round trip is no different from the first.
    trigger(window, "actionDark_Theme");
    QCOMPARE(lookOf(window), dark);
    trigger(window, "actionLight_Theme");
    QCOMPARE(lookOf(window), start);
}

void TestTheme::systemChoice_data()
{
    QTest::addColumn<bool>("systemLight");
    QTest::newRow("system in light mode") << true;
    QTest::newRow("system in dark mode") << false;
}

void TestTheme::systemChoice()
{
    QFETCH(bool, systemLight);
    MainWindow window;
    trigger(window, "actionDark_Theme");
    const QStringList dark = lookOf(window);
    trigger(window, "actionLight_Theme");
    const QStringList light = lookOf(window);

    setSystemPrefersLightThemeOverride(systemLight);
    trigger(window, "actionWindows_Theme");
    QCOMPARE(lookOf(window), systemLight ? light : dark);
    // Stored as "follow the system", so that the next start asks the system again.
    QCOMPARE(QSettings().value(QStringLiteral("theme")).toInt(), 0);

    MainWindow next;
    const QString offTheme = plotsOffTheme(lookOf(next), !systemLight);
    QVERIFY2(offTheme.isEmpty(), qPrintable(offTheme));
    QVERIFY(next.findChild<QAction *>(QStringLiteral("actionWindows_Theme"))->isChecked());
}

void TestTheme::switch_redrawsTheAxisPlots()
{
    const auto shown = testsupport::spectrogramOnScreen();
    QVERIFY(shown);
    MainWindow &window = *shown;
    // A quarter in from the corner: away from the zero line and the cursor line.
    const auto drawn = [](QWidget *canvas) {
        return canvas->grab().toImage().pixelColor(canvas->width() / 4, canvas->height() / 4);
    };
    QWidget *canvases[] = {window.timePlotCanvas, window.frequencyPlotCanvas};
    for (QWidget *canvas : canvases) {
        QVERIFY(canvas->width() > 20 && canvas->height() > 20);
        QCOMPARE(drawn(canvas), QColor(250, 250, 250));
    }

    // What the plots show follows at once, without the mouse passing over them.
    trigger(window, "actionDark_Theme");
    for (QWidget *canvas : canvases)
        QCOMPARE(drawn(canvas), QColor(Qt::black));
    trigger(window, "actionLight_Theme");
    for (QWidget *canvas : canvases)
        QCOMPARE(drawn(canvas), QColor(250, 250, 250));
}

QUILLON_TEST(TestTheme)
#include "tst_mainwindow_theme.moc"
