// The time-of-day chart over a year of 50,000 recordings in 10 classes (some with two):
// - compute: the twelve series and every class's slot counts, plain and centred (target < 1 s);
// - replot: the drawn chart painted again (target < 1 s);
// - drawing: the whole chart slot with its paint, repeated (a redraw no slower than the first, however often);
// - a legend click hiding and showing one class's dots, with the replot (target < 0.5 s).
#include "activity/charts/activityrows.h"
#include "activity/charts/timeofdaymarks.h"
#include "activity/charts/timeofdayseries.h"
#include "activity/foldersettings.h"
#include "activity/plotfolderdialog.h"
#include "benchutil.h"
#include "common/settingskeys.h"
#include "filelist/filerowtexts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <qwt_plot.h>
#include <random>
#include <vector>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    setApplicationIdentity();
    QTemporaryDir folder;
    writeFolderSetting(folder.path(), FolderSettings::invalidTimes,
                       QStringLiteral("01.05.2021 00:00-03.05.2021 12:00;20.07.2021 22:00-21.07.2021 04:00"));

    // Night-time recordings all year: about 140 per night, so most slots of a class hold one or two.
    QTreeWidget list;
    std::mt19937 random(21);
    std::uniform_int_distribution<int> dayOf(0, 364), minuteOf(0, 10 * 60 - 1), classOf(0, 9), second(0, 59);
    for (int i = 0; i < 50000; ++i) {
        const QDate day = QDate(2021, 1, 1).addDays(dayOf(random));
        const int minute = (20 * 60 + minuteOf(random)) % (24 * 60);
        const QString className = QStringLiteral("Class%1").arg(classOf(random));
        QStringList texts{QStringLiteral("rec%1.wav").arg(i),
                          day.toString(QStringLiteral("dd/MM/yy")),
                          QTime(minute / 60, minute % 60, second(random)).toString(QStringLiteral("hh:mm:ss")),
                          QStringLiteral("3"),
                          QString(),
                          QString(),
                          className};
        if (i % 7 == 0)
            texts << QStringLiteral("Class%1").arg(classOf(random));
        list.addTopLevelItem(new QTreeWidgetItem(texts));
    }

    const double listMb = benchutil::rssBytes() / 1048576.0;
    plotFolderDialog dialog(nullptr, folder.path(), &list);
    dialog.resize(1400, 900);
    dialog.show();
    app.processEvents();

    const ActivityRows rows = dialog.activityRows();
    const ActivityForm form = dialog.activityForm();
    for (bool centred : {false, true}) {
        const double compute = benchutil::medianMs(5, [&] {
            const TimeOfDaySeries s = centred ? centredTimeOfDaySeries(form, 2021) : plainTimeOfDaySeries(form, 2021);
            for (int k = 0; k < rows.classList.size(); ++k)
                recordingSlotCounts(rows, k, 2021, centred ? TimeOfDayLayout::CentredNight : TimeOfDayLayout::Plain);
        });
        dialog.ui->checkBox_2->setChecked(centred);
        dialog.plotFunctionVsTime(false, false);
        int dots = 0;
        for (const QwtPlotItem *item : dialog.plotVsTime->itemList())
            dots += item->title().text().endsWith(QLatin1String("_marker"));
        // The canvas paints on the next event; the benchmark paints at once.
        const double replot = benchutil::medianMs(5, [&] {
            dialog.plotVsTime->replot();
            dialog.plotVsTime->canvas()->repaint();
        });
        const auto drawing = [&] {
            dialog.plotFunctionVsTime(false, false);
            dialog.plotVsTime->canvas()->repaint();
        };
        double first = 0;
        const double draw = benchutil::medianMs(9, drawing, &first);
        const double later = benchutil::medianMs(9, drawing);
        std::printf("%-7s %d dots: compute %6.1f ms, replot %6.1f ms, drawing first %6.1f / median %6.1f ms, "
                    "after 9 more %6.1f ms\n",
                    centred ? "centred" : "plain", dots, compute, replot, first, draw, later);
    }

    QwtPlotItem *entry = nullptr;
    for (QwtPlotItem *item : dialog.plotVsTime->itemList()) {
        if (item->title().text() == QLatin1String("Class3"))
            entry = item;
    }
    bool on = false;
    const double click = benchutil::medianMs(9, [&] {
        dialog.legendChecked(dialog.plotVsTime->itemToInfo(entry), on, 0);
        dialog.plotVsTime->canvas()->repaint();
        on = !on;
    });
    std::printf("legend click on one class: median %6.1f ms\n", click);
    std::printf("RSS with the file list %.1f MB, with the chart %.1f MB, peak %.1f MB\n", listMb,
                benchutil::rssBytes() / 1048576.0, benchutil::peakRssBytes() / 1048576.0);
    return 0;
}
