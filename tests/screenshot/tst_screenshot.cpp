#include "testregistry.h"

#include "app/mainwindow.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QtEndian>

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_scale_draw.h>

#include <algorithm>
#include <cmath>

namespace {

// The samples of a plain 16-bit mono PCM file, read straight from its bytes.
bool readPcm16(const QString &path, QVector<double> *samples, int *rate)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    int pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        if (id == "fmt ")
            *rate = int(qFromLittleEndian<quint32>(bytes.constData() + pos + 12));
        if (id == "data") {
            const int n = int(qMin<qint64>(size, bytes.size() - pos - 8) / 2);
            samples->resize(n);
            for (int i = 0; i < n; ++i)
                (*samples)[i] = qFromLittleEndian<qint16>(bytes.constData() + pos + 8 + 2 * i);
            return true;
        }
        pos += 8 + int(size) + int(size & 1);
    }
    return false;
}

// Frequency in kHz of the strongest bin above minKHz of a Hann-windowed
// 1024-point DFT centred on sample `centre`.
double strongestKHz(const QVector<double> &s, int rate, int centre, double minKHz)
{
    const int n = 1024;
    const int start = qBound(0, centre - n / 2, s.size() - n);
    double bestPower = -1.0;
    int bestBin = 0;
    for (int k = int(std::ceil(minKHz * 1000.0 * n / rate)); k < n / 2; ++k) {
        double re = 0.0;
        double im = 0.0;
        for (int i = 0; i < n; ++i) {
            const double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / (n - 1));
            const double phase = 2.0 * M_PI * k * i / n;
            re += w * s[start + i] * std::cos(phase);
            im -= w * s[start + i] * std::sin(phase);
        }
        const double power = re * re + im * im;
        if (power > bestPower) {
            bestPower = power;
            bestBin = k;
        }
    }
    return bestBin * double(rate) / n / 1000.0;
}

} // namespace

class TestScreenshot : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void callsAtTheirFrequencies();
};

void TestScreenshot::callsAtTheirFrequencies()
{
    const QString recording = testsupport::testDataDir() + QStringLiteral("/SopranoFeedingBuzz.wav");
    QVector<double> samples;
    int rate = 0;
    QVERIFY(readPcm16(recording, &samples, &rate));
    QCOMPARE(rate, 250000);

    ScriptedDialogs dialogs;
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // As the program does 100 ms after start with the recording on its command line.
    w.openCommandLine({QStringLiteral("quillon"), recording});
    QVERIFY(testsupport::waitForSpectrogram(w));
    QVERIFY(dialogs.messages.isEmpty());
    w.resize(1400, 900);
    QTRY_COMPARE(w.size(), QSize(1400, 900));

    QWidget *canvas = w.spectrogramPlot->canvas();
    QVERIFY(QTest::qWaitForWindowExposed(canvas->window()));
    // Draw the new layout now, so the grab below sees it rather than the old one.
    w.spectrogramPlot->replot();
    canvas->repaint();
    QCoreApplication::processEvents();
    const QPoint origin = canvas->mapToGlobal(QPoint(0, 0));
    QScreen *screen = QGuiApplication::primaryScreen();
    const QImage shot = screen->grabWindow(0, origin.x(), origin.y(), canvas->width(), canvas->height()).toImage();
    QCOMPARE(shot.size(), canvas->size());
    QVERIFY(!shot.isNull());

    // The loudest moments: pixel columns ranked by the energy of their samples,
    // right of the frequency axis's numbers, whose digits outshine any call.
    const int width = canvas->width();
    const QwtPlotScaleItem *numbers = w.spectrogramScaleItem;
    const int firstColumn = int(std::ceil(numbers->scaleDraw()->extent(numbers->font()))) + 2;
    struct Column {
        int x;
        double energy;
        int centre;
    };
    QVector<Column> columns;
    for (int x = firstColumn; x < width - 10; ++x) {
        const double t0 = w.spectrogramPlot->invTransform(QwtPlot::xBottom, x);
        const double t1 = w.spectrogramPlot->invTransform(QwtPlot::xBottom, x + 1);
        const int a = qBound(0, int(t0 * rate), samples.size());
        const int b = qBound(0, int(t1 * rate), samples.size());
        double energy = 0.0;
        for (int i = a; i < b; ++i)
            energy += samples[i] * samples[i];
        columns.append({x, energy, (a + b) / 2});
    }
    std::sort(columns.begin(), columns.end(), [](const Column &l, const Column &r) { return l.energy > r.energy; });

    int checked = 0;
    QVector<int> used;
    for (const Column &c : columns) {
        if (checked == 5)
            break;
        if (std::any_of(used.begin(), used.end(), [&c](int x) { return qAbs(x - c.x) < 15; }))
            continue;
        used.append(c.x);
        const double expectedKHz = strongestKHz(samples, rate, c.centre, 15.0);
        // The brightest pixel of this column above 15 kHz.
        int brightestY = -1;
        int brightest = -1;
        const int yLimit = int(w.spectrogramPlot->transform(QwtPlot::yLeft, 15.0));
        for (int y = 2; y < qMin(yLimit, shot.height() - 2); ++y) {
            const int g = qGray(shot.pixel(c.x, y));
            if (g > brightest) {
                brightest = g;
                brightestY = y;
            }
        }
        QVERIFY(brightestY >= 0);
        const double shownKHz = w.spectrogramPlot->invTransform(QwtPlot::yLeft, brightestY);
        QVERIFY2(qAbs(shownKHz - expectedKHz) <= 5.0,
                 qPrintable(QStringLiteral("column %1: %2 kHz shown, %3 kHz in the samples")
                                .arg(c.x)
                                .arg(shownKHz)
                                .arg(expectedKHz)));
        ++checked;
    }
    QCOMPARE(checked, 5);
}

QUILLON_TEST(TestScreenshot)
#include "tst_screenshot.moc"
