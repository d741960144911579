// Cost of the activity-over-time plot's tracker text on every mouse move, on a
// plot holding 100,000 items (the dots a year of 50,000 recordings can leave),
// with and without the "centerNight" item that switches the text to the centred night.
// Target: under 2 ms per move.
#include "activity/activityzoomers.h"
#include "benchutil.h"

#include <QApplication>
#include <QDateTime>
#include <QMouseEvent>
#include <algorithm>
#include <cstdio>
#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_symbol.h>
#include <qwt_text.h>
#include <vector>

namespace {

struct Timing {
    double median;
    double max;
};

template <class Step>
Timing measure(int runs, Step step)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double t0 = benchutil::nowSeconds();
        step(i);
        ms.push_back((benchutil::nowSeconds() - t0) * 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const double yearStart = double(QDateTime(QDate(2024, 1, 1), QTime(0, 0)).toMSecsSinceEpoch());
    const double dayMs = 86400000.0;
    const double refDay = double(QDateTime(QDate(2015, 1, 1), QTime(0, 0)).toMSecsSinceEpoch());

    QwtPlot plot;
    plot.setAxisScale(QwtPlot::xBottom, yearStart, yearStart + 366 * dayMs);
    plot.setAxisScale(QwtPlot::yLeft, refDay, refDay + dayMs);
    // Dots as the chart makes them: a marker per class and ten-minute slot, each
    // with its own title text and a small symbol, so the look-up meets scattered memory.
    const QStringList classes{"Nyc", "Pip", "Myotis", ""};
    const int items = 100000;
    for (int i = 0; i < items; ++i) {
        const QString cls = classes.at(i % classes.size());
        auto *dot = new QwtPlotMarker((cls.isEmpty() ? QStringLiteral("Unassigned") : cls) + QStringLiteral("_marker"));
        dot->setSymbol(new QwtSymbol(QwtSymbol::Ellipse, QBrush(QColor(200, 0, 0, 127)), Qt::NoPen, QSize(3, 3)));
        dot->setValue(yearStart + (i % 366) * dayMs, refDay + (i % 144) * 600000.0);
        dot->attach(&plot);
    }
    plot.resize(1000, 600);
    plot.show();
    plot.replot();
    auto *zoomer = new MyQwtZoomer3(plot.canvas(), &plot);
    zoomer->setTrackerMode(QwtPicker::AlwaysOn);
    QWidget *canvas = plot.canvas();

    // Where the marker stands among the items must not matter: the zoomer follows
    // the plot's attachments rather than walking its items.
    enum Place { Absent, Front, End };
    for (Place place : {Absent, Front, End}) {
        QwtPlotMarker *centre = nullptr;
        if (place != Absent) {
            centre = new QwtPlotMarker(QStringLiteral("centerNight"));
            centre->setValue(-10, -10);
            // Items are kept in z order, equal z in the order attached.
            centre->setZ(place == Front ? 29 : 30);
            centre->attach(&plot);
        }
        const Timing text = measure(400, [&](int i) {
            const QwtText t = zoomer->trackerTextF(QPointF(yearStart + (i % 366) * dayMs, refDay + i * 97000.0));
            if (t.isEmpty())
                std::printf("empty text\n");
        });
        // A move as the window sees it: the picker's event filter, its tracker overlay
        // (Qwt asks for the text four times: twice for the mask, twice to paint it).
        const Timing move = measure(400, [&](int i) {
            QMouseEvent e(QEvent::MouseMove, QPoint(20 + i % 900, 20 + (i * 7) % 500), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
            QApplication::sendEvent(canvas, &e);
            QApplication::processEvents();
        });
        const char *what[] = {"no \"centerNight\"", "\"centerNight\" in front", "\"centerNight\" at the end"};
        std::printf(
            "%d items, %-26s tracker text median %6.3f ms max %6.3f ms; mouse move median %6.3f ms max %6.3f ms\n",
            int(plot.itemList().size()), what[place], text.median, text.max, move.median, move.max);
        delete centre; // detaches itself
    }
    std::printf("peak RSS %.1f MB\n", benchutil::peakRssBytes() / 1048576.0);
    return 0;
}
