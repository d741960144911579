#include "testregistry.h"

#include "display/myqwtplotpicker.h"
#include "display/myqwtzoomer.h"
#include "display/myqwtzoomer10.h"
#include "display/myqwtzoomer2.h"

#include <QtTest>
#include <qwt_plot.h>
#include <qwt_text.h>

class TestTrackerTexts : public QObject
{
    Q_OBJECT
private slots:
    void trackerText_data();
    void trackerText();
    void picker_reportsMovesInPlotCoordinates();
    void cleanup() { QLocale::setDefault(QLocale::c()); }
};

namespace {
enum Kind { SpectroZoomer, TimeZoomer, FrequencyZoomer, SpectroPicker };

template <class Picker>
QString textOf(QWidget *canvas, int rubberBand)
{
    auto *picker = new Picker(canvas);
    picker->setRubberBand(QwtPicker::RubberBand(rubberBand));
    return picker->trackerTextF(QPointF(1.23456, 45.6789)).text();
}
} // namespace

void TestTrackerTexts::trackerText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("rubberBand");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    const int none = QwtPicker::NoRubberBand, rect = QwtPicker::RectRubberBand;
    const int hline = QwtPicker::HLineRubberBand, vline = QwtPicker::VLineRubberBand;
    // Cursor at 1.23456 s (or dB on the frequency plot) and 45.6789 kHz (or amplitude).
    QTest::newRow("spectrogram zoomer") << int(SpectroZoomer) << rect << "C"
                                        << "1.235 s\n45.679 kHz";
    QTest::newRow("spectrogram zoomer, German") << int(SpectroZoomer) << rect << "de_DE"
                                                << "1,235 s\n45,679 kHz";
    QTest::newRow("spectrogram zoomer, horizontal line") << int(SpectroZoomer) << hline << "C"
                                                         << "45.6789";
    QTest::newRow("spectrogram zoomer, vertical line") << int(SpectroZoomer) << vline << "C"
                                                       << "1.2346";
    QTest::newRow("time zoomer") << int(TimeZoomer) << none << "C"
                                 << "1.2 s\n45.7";
    QTest::newRow("time zoomer, horizontal line") << int(TimeZoomer) << hline << "C"
                                                  << "45.6789";
    QTest::newRow("time zoomer, vertical line, German") << int(TimeZoomer) << vline << "de_DE"
                                                        << "1,2346";
    QTest::newRow("frequency zoomer") << int(FrequencyZoomer) << rect << "C"
                                      << "1.2\n45.7 kHz";
    QTest::newRow("frequency zoomer, vertical line") << int(FrequencyZoomer) << vline << "C"
                                                     << "1.2346";
    QTest::newRow("spectrogram picker") << int(SpectroPicker) << none << "C"
                                        << "1.235 s\n45.7 kHz";
    QTest::newRow("spectrogram picker, horizontal line") << int(SpectroPicker) << hline << "C"
                                                         << "45.6789";
}

void TestTrackerTexts::trackerText()
{
    QFETCH(int, kind);
    QFETCH(int, rubberBand);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QLocale::setDefault(QLocale(locale));
    QwtPlot plot;
    QString text;
    switch (kind) {
    case SpectroZoomer:
        text = textOf<MyQwtZoomer>(plot.canvas(), rubberBand);
        break;
    case TimeZoomer:
        text = textOf<MyQwtZoomer2>(plot.canvas(), rubberBand);
        break;
    case FrequencyZoomer:
        text = textOf<MyQwtZoomer10>(plot.canvas(), rubberBand);
        break;
    default:
        text = textOf<MyQwtPlotPicker>(plot.canvas(), rubberBand);
        break;
    }
    QCOMPARE(text, expected);
}

void TestTrackerTexts::picker_reportsMovesInPlotCoordinates()
{
    QwtPlot plot;
    plot.setAxisScale(QwtPlot::xBottom, 0, 10);
    plot.setAxisScale(QwtPlot::yLeft, 0, 125);
    plot.resize(600, 400);
    plot.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plot));
    plot.replot();
    auto *picker = new MyQwtPlotPicker(plot.canvas());
    picker->setTrackerMode(QwtPicker::AlwaysOn);
    QSignalSpy moved(picker, &MyQwtPlotPicker::mouseMoved);

    picker->trackerTextF(QPointF(2.5, 80));
    QCOMPARE(moved.count(), 1);
    QCOMPARE(moved.at(0).at(0).toPointF(), QPointF(2.5, 80));

    // A real mouse move over the canvas reports the position under the cursor.
    const QPoint pixel(qRound(plot.transform(QwtPlot::xBottom, 4.0)), qRound(plot.transform(QwtPlot::yLeft, 50.0)));
    QMouseEvent move(QEvent::MouseMove, pixel, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot.canvas(), &move);
    QTRY_VERIFY(moved.count() >= 2);
    const QPointF reported = moved.last().at(0).toPointF();
    const double pixelX = plot.invTransform(QwtPlot::xBottom, 1) - plot.invTransform(QwtPlot::xBottom, 0);
    const double pixelY = plot.invTransform(QwtPlot::yLeft, 0) - plot.invTransform(QwtPlot::yLeft, 1);
    QVERIFY(qAbs(reported.x() - 4.0) <= pixelX);
    QVERIFY(qAbs(reported.y() - 50.0) <= pixelY);
}

QUILLON_TEST(TestTrackerTexts)
#include "tst_trackertexts.moc"
