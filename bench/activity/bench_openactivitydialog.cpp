// Opening the activity plot dialog without its charts' computations: the form,
// the time-zone list, the folder's settings and the seven plot set-ups.
// Target: under 0.5 s. Measured with and without a weather file (which adds the
// temperature and precipitation plots) on a list of 5,000 rows.
#include "activity/foldersettings.h"
#include "activity/plotfolderdialog.h"
#include "benchutil.h"
#include "common/settingskeys.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    setApplicationIdentity();
    QTemporaryDir folder;
    QTreeWidget list;
    for (int i = 0; i < 5000; ++i) {
        list.addTopLevelItem(new QTreeWidgetItem(
            {QStringLiteral("rec%1.wav").arg(i), QStringLiteral("%1/06/24").arg(1 + i % 28, 2, 10, QLatin1Char('0')),
             QStringLiteral("22:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')), QStringLiteral("3"), QString(), QString(),
             i % 3 ? QStringLiteral("Pip") : QStringLiteral("Nyc")}));
    }
    for (bool weather : {false, true}) {
        if (weather)
            writeFolderSetting(folder.path(), FolderSettings::temperaturePrecipitationFile,
                               QStringLiteral("/nonexistent.csv"));
        std::vector<double> ms;
        for (int run = 0; run < 9; ++run) {
            const double t0 = benchutil::nowSeconds();
            {
                plotFolderDialog dialog(nullptr, folder.path(), &list);
                ms.push_back((benchutil::nowSeconds() - t0) * 1000.0);
            }
        }
        std::sort(ms.begin(), ms.end());
        std::printf("open, %s weather file: median %6.1f ms, max %6.1f ms\n", weather ? "with" : "without",
                    ms[ms.size() / 2], ms.back());
    }
    std::printf("peak RSS %.1f MB\n", benchutil::peakRssBytes() / 1048576.0);
    return 0;
}
