// The days, months and night-time charts over a season's folder: a year of
// 50,000 recordings in 10 classes (and unassigned ones), relative recording
// period, Berlin's zone with summer time, two invalid periods.
// Targets: each chart under 1 s (its computation and its drawing, measured
// apart); the sun times of a year, every kind the charts ask for, under 10 ms.
#include "activity/charts/activityevents.h"
#include "activity/charts/activityseries.h"
#include "activity/charts/suntimes.h"
#include "activity/foldersettings.h"
#include "activity/plotfolderdialog.h"
#include "benchutil.h"
#include "common/settingskeys.h"

#include <QApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <vector>

namespace {

void fillSeason(QTreeWidget &list)
{
    QRandomGenerator random(2021);
    for (int i = 0; i < 50000; ++i) {
        const QDate date = QDate(2021, 1, 1).addDays(random.bounded(365));
        // Mostly at night, as bats are.
        const int hour = (18 + random.bounded(13)) % 24;
        const QTime time(hour, random.bounded(60), random.bounded(60));
        QStringList texts{QStringLiteral("rec%1.wav").arg(i),
                          date.toString(QStringLiteral("dd/MM/yy")),
                          time.toString(QStringLiteral("hh:mm:ss")),
                          QStringLiteral("3"),
                          QString(),
                          QString()};
        const int classes = random.bounded(3); // 0: unassigned
        for (int c = 0; c < classes; ++c)
            texts << QStringLiteral("Class%1").arg(random.bounded(10));
        list.addTopLevelItem(new QTreeWidgetItem(texts));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    setApplicationIdentity();

    // Sun times of a year: sunrise and sunset proper, and the three twilights.
    float sink = 0;
    const double sunMs = benchutil::medianMs(21, [&] {
        for (QDate d(2021, 1, 1); d.year() == 2021; d = d.addDays(1)) {
            for (Twilight t : {Twilight::None, Twilight::Civil, Twilight::Nautical, Twilight::Astronomical}) {
                sink += sunEventHours(SunEvent::Rise, 2021, d.month(), d.day(), 51, 9, 2, 0, t);
                sink += sunEventHours(SunEvent::Set, 2021, d.month(), d.day(), 51, 9, 2, 0, t);
            }
        }
    });
    std::printf("sun times of a year (8 per day): median %6.2f ms (target 10 ms)%s\n", sunMs, sink > 0 ? "" : " ");

    QTemporaryDir folder;
    writeFolderSetting(folder.path(), FolderSettings::periodType, 1);
    writeFolderSetting(folder.path(), FolderSettings::startMin, -30);
    writeFolderSetting(folder.path(), FolderSettings::invalidTimes,
                       QStringLiteral("10.06.2021 22:00-12.06.2021 03:30;01.08.2021 00:00-05.08.2021 23:59"));
    QTreeWidget list;
    fillSeason(list);
    plotFolderDialog dialog(nullptr, folder.path(), &list);
    dialog.resize(1400, 900);
    dialog.show();

    const ActivityForm form = dialog.activityForm();
    const RecorderClock clock(form.zone, form.daylightSaving, RecorderClock::OnTransitions, 2021);
    const double rowsMs = benchutil::medianMs(5, [&] { dialog.activityRows(); });
    const ActivityRows rows = dialog.activityRows();
    std::printf("rows read: median %6.1f ms\n", rowsMs);

    const auto days = [&](int choice) {
        QVector<QVector<QVector<qint64>>> candidates;
        for (int c = 0; c < rows.curveList.size(); ++c)
            candidates << dayCandidates(rows, c, clock, 2021, DaysQuantity::ofChoice(choice));
        return daysSeries(form, clock, 2021, candidates, choice == 0);
    };
    struct Chart {
        const char *name;
        ActivityTab tab;
        int daysChoice;
        std::function<void()> compute;
    };
    const Chart charts[] = {
        {"days, activity", ActivityTab::Days, 0, [&] { days(0); }},
        {"days, 1-minute dynamic events", ActivityTab::Days, 2, [&] { days(2); }},
        {"months", ActivityTab::Months, 0, [&] { monthsActivity(form, clock, rows, 2021); }},
        {"night time", ActivityTab::Night, 0, [&] { nightActivity(form, clock, rows, 2021); }},
    };
    for (const Chart &c : charts) {
        dialog.ui->comboBox_4->setCurrentIndex(c.daysChoice);
        dialog.ui->tabWidget->setCurrentIndex(int(c.tab));
        const double computeMs = benchutil::medianMs(5, c.compute) + rowsMs;
        // The whole slot: rows, computation, items and replot.
        const double chartMs = benchutil::medianMs(5, [&] {
            if (c.tab == ActivityTab::Days)
                dialog.plotFunctionVsDays(false, false);
            else if (c.tab == ActivityTab::Months)
                dialog.plotFunctionVsMonth(false, false);
            else
                dialog.plotFunctionVsNight(false, false);
        });
        // The replot's painting: every item drawn into an image of the plot's size
        // (offscreen, a window is never exposed, so its canvas would paint nothing).
        QwtPlot *plot = dialog.plotOf(c.tab);
        const double replotMs = benchutil::medianMs(5, [&] {
            QImage image(plot->size(), QImage::Format_ARGB32);
            image.fill(Qt::white);
            QwtPlotRenderer().renderTo(plot, image);
        });
        std::printf("%-30s compute %6.1f ms, replot %6.1f ms; whole chart call %6.1f ms\n", c.name, computeMs, replotMs,
                    chartMs);
    }
    std::printf("peak RSS %.1f MB\n", benchutil::peakRssBytes() / 1048576.0);
    return 0;
}
