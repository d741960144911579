// Cost of one mouse move over the spectrogram in cursor mode: both cursor
// curves rebuilt from the raster, as the event filter does on every move.
// Target: under 16 ms (one frame at 60 Hz) at every size.
#include "benchutil.h"
#include "display/cursorcurves.h"

#include <QCoreApplication>
#include <qwt_matrix_raster_data.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

struct Case {
    int columns;
    int rows; // window size / 2 - 1 would be the worker's; the rows of the FFT sizes the settings offer
    const char *what;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const Case cases[] = {
        {10000, 511, "1e4 columns x 511 rows (1024-point window)"},
        {300000, 255, "3e5 columns x 255 rows (512-point window)"},
        {2500000, 31, "2.5e6 columns x 31 rows (64-point window, 7.75e7 cells)"},
    };
    const int screenWidth = 1920;
    const int screenHeight = 1040;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> level(-120.0, 0.0);

    for (const Case &c : cases) {
        QVector<double> values(qsizetype(c.columns) * c.rows);
        for (double &v : values)
            v = level(rng);
        QwtMatrixRasterData raster;
        raster.setValueMatrix(values, c.columns);
        values = QVector<double>(); // the raster holds the only copy, as in the program
        const double duration = c.columns * 0.0005;
        raster.setInterval(Qt::XAxis, QwtInterval(0.0, duration));
        raster.setInterval(Qt::YAxis, QwtInterval(0.0, 250.0));
        raster.setInterval(Qt::ZAxis, QwtInterval(-120.0, 0.0));

        for (auto mode : {QwtMatrixRasterData::NearestNeighbour, QwtMatrixRasterData::BilinearInterpolation}) {
            raster.setResampleMode(mode);
            const int moves = 40;
            std::vector<double> ms;
            size_t points = 0;
            for (int m = 0; m < moves; ++m) {
                const double f = 250.0 * (m + 0.5) / moves;
                const double t = duration * (m + 0.5) / moves;
                const double t0 = benchutil::nowSeconds();
                const auto timeCurve = timeCursorCurve(raster, f, 0.0, duration, screenWidth);
                const auto freqCurve = frequencyCursorCurve(raster, t, 0.0, 250.0, screenHeight);
                ms.push_back((benchutil::nowSeconds() - t0) * 1000.0);
                points += timeCurve->size() + freqCurve->size();
            }
            std::sort(ms.begin(), ms.end());
            std::printf("%-60s %-9s median %7.3f ms  max %7.3f ms  (%zu points per move)\n", c.what,
                        mode == QwtMatrixRasterData::NearestNeighbour ? "nearest" : "bilinear", ms[ms.size() / 2],
                        ms.back(), points / moves);
        }
    }
    std::printf("peak RSS %.1f MB\n", benchutil::peakRssBytes() / 1048576.0);
    return 0;
}
