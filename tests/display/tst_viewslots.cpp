#include "testregistry.h"

#include "../app/scripteddialogs.h"
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "display/myqwtzoomer.h"
#include "display/rangemarker.h"
#include "signalbuilder.h"
#include "wavwriter.h"

#include <QLocale>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <qwt_plot.h>

// Scrolling and zooming the shown spectrogram: which stretch the axes show and
// which parts of the axis plots are shaded as lying outside it.
class TestViewSlots : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { QSettings().clear(); }
    void scrollingMovesTheVisibleStretch();
    void zoomShadesWhatLiesOutside();

private:
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestViewSlots::initTestCase()
{
    QVERIFY(m_dir.isValid());
    registerMetaTypes();
    QCoreApplication::setOrganizationName(QStringLiteral("Harmonvale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QLocale::setDefault(QLocale::c());
}

void TestViewSlots::scrollingMovesTheVisibleStretch()
{
    // A fixed 1 s span over a 3 s recording; 1 ms columns put value 100 at 0.1 s.
    QSettings().setValue(QStringLiteral("fixedXScale"), 1);
    QSettings().setValue(QStringLiteral("fixedDuration"), 1.0);
    QVERIFY(testsupport::writeFile(
        path("long.wav"), testsupport::simplePcmWav(testsupport::SignalBuilder(50000, 3.0).tone(10000, -6).samples(),
                                                    50000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("long.wav"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.calculating, 20000);
    w.secondsPerColumn = 0.001f;

    w.spectroScrollBar_valueChanged(100);
    const double start = 100 * double(0.001f);
    for (QwtPlot *plot : {w.spectrogramPlot, w.timePlot}) {
        QCOMPARE(plot->axisInterval(QwtPlot::xBottom).minValue(), start);
        QCOMPARE(plot->axisInterval(QwtPlot::xBottom).maxValue(), start + 1.0);
    }
    QCOMPARE(w.timePlot->axisInterval(QwtPlot::xTop).minValue(), start);
    // The zoomer's way back leads to the scrolled stretch, not to the start.
    QCOMPARE(w.spectroZoomer->zoomBase().left(), start);
}

void TestViewSlots::zoomShadesWhatLiesOutside()
{
    // 3 s of RAW samples (always taken at 500 kHz): Nyquist 250 kHz.
    const QVector<int> samples = testsupport::SignalBuilder(500000, 3.0).tone(40000, -6).samples();
    QVERIFY(testsupport::writeFile(path("three.raw"), testsupport::WavWriter::pack(samples, 16)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("three.raw"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.calculating, 30000);

    w.spectroZoomer->zoom(QRectF(QPointF(0.2, 20.0), QPointF(0.4, 60.0)));
    QVERIFY(w.spectroZoomer->zoomRectIndex() != 0);
    QVERIFY(!w.spectroScrollBar->isEnabled());
    const auto interval = [](const RangeMarker *m) {
        return qMakePair(m->intervalValue().minValue(), m->intervalValue().maxValue());
    };
    QCOMPARE(interval(w.timeRangeMarker1), qMakePair(0.0, 0.2));
    QCOMPARE(interval(w.timeRangeMarker2), qMakePair(0.4, 3.0));
    QCOMPARE(interval(w.frequencyRangeMarker1), qMakePair(0.0, 20.0));
    QCOMPARE(interval(w.frequencyRangeMarker2), qMakePair(60.0, 250.0));
    for (const RangeMarker *shade : {w.timeRangeMarker1, w.timeRangeMarker2, w.frequencyRangeMarker1, w.frequencyRangeMarker2})
        QVERIFY(shade->isVisible());

    w.spectroZoomer->zoom(0);
    QVERIFY(w.spectroScrollBar->isEnabled());
    for (const RangeMarker *shade : {w.timeRangeMarker1, w.timeRangeMarker2, w.frequencyRangeMarker1, w.frequencyRangeMarker2})
        QVERIFY(!shade->isVisible());
}

QUILLON_TEST(TestViewSlots)
#include "tst_viewslots.moc"
