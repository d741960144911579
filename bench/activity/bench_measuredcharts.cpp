// The charts of activity over temperature, precipitation and wind speed on a
// year of one-minute weather and wind data (525,600 lines each) and 50,000
// recordings. Targets: each chart's first drawing (reading, computation,
// replot) under 2 s; a redraw after a change of another setting under 1 s.
#include "activity/foldersettings.h"
#include "activity/plotfolderdialog.h"
#include "benchutil.h"
#include "common/settingskeys.h"

#include <QApplication>
#include <QDateTime>
#include <QDoubleSpinBox>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cmath>
#include <cstdio>
#include <qwt_plot_curve.h>

namespace {

constexpr int minutesOfYear = 525600;

void writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A year of 2021, minute by minute: the temperature swings over day and year, rain falls one hour in twelve.
QByteArray weatherLog()
{
    QByteArray data;
    data.reserve(minutesOfYear * 32);
    const QDateTime start(QDate(2021, 1, 1), QTime(0, 0), Qt::UTC);
    for (int m = 0; m < minutesOfYear; ++m) {
        const QDateTime t = start.addSecs(60LL * m);
        const double temperature =
            8 + 12 * std::sin(m * 2 * M_PI / minutesOfYear - 1.8) + 6 * std::sin(m * 2 * M_PI / 1440);
        const double rain = (m / 60) % 12 == 0 ? (m % 60) * 0.05 : 0.0;
        data += t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1() + ','
                + QByteArray::number(temperature, 'f', 1) + ',' + QByteArray::number(rain, 'f', 2) + '\n';
    }
    return data;
}

// The same year of wind speeds, stamped at any minute: "Round" merges them into 10-minute values.
QByteArray windFile()
{
    QByteArray data;
    data.reserve(minutesOfYear * 26);
    const QDateTime start(QDate(2021, 1, 1), QTime(0, 0), Qt::UTC);
    for (int m = 0; m < minutesOfYear; ++m) {
        const QDateTime t = start.addSecs(60LL * m);
        const double speed = 4 + 4 * std::sin(m * 2 * M_PI / 4000.0);
        data += t.toString(QStringLiteral("dd.MM.yyyy;hh:mm:ss;")).toLatin1()
                + QByteArray::number(speed, 'f', 1).replace('.', ',') + '\n';
    }
    return data;
}

double secondsOf(const std::function<void()> &step)
{
    const double t0 = benchutil::nowSeconds();
    step();
    QApplication::processEvents(); // the replot paints
    return benchutil::nowSeconds() - t0;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    setApplicationIdentity();
    QTemporaryDir folder;
    const QString weather = folder.filePath(QStringLiteral("weather.csv"));
    const QString wind = folder.filePath(QStringLiteral("wind.txt"));
    writeFile(weather, weatherLog());
    writeFile(wind, windFile());
    using namespace FolderSettings;
    writeFolderSetting(folder.path(), temperaturePrecipitationFile, weather);
    writeFolderSetting(folder.path(), windSpeedFile, wind);
    writeFolderSetting(folder.path(), windSeparator1, QStringLiteral("Semicolon"));
    writeFolderSetting(folder.path(), windDateTimeDefinition, QStringLiteral("Round"));
    writeFolderSetting(folder.path(), windDataTimeZone, QByteArray("UTC"));
    writeFolderSetting(folder.path(), timeZone, QByteArray("Europe/Berlin"));
    writeFolderSetting(folder.path(), periodType, 1); // from sunset to sunrise

    // 50,000 recordings of 2021 at night, in three classes and unassigned.
    QTreeWidget list;
    const QStringList classes{QStringLiteral("Pip"), QStringLiteral("Nyc"), QStringLiteral("Myo"), QString()};
    for (int i = 0; i < 50000; ++i) {
        const QDate date = QDate(2021, 1, 1).addDays(i % 365);
        const QTime time = QTime(21, 0).addSecs((i * 7919) % (8 * 3600));
        list.addTopLevelItem(new QTreeWidgetItem(
            {QStringLiteral("rec%1.wav").arg(i), date.toString(QStringLiteral("dd/MM/yy")),
             time.toString(QStringLiteral("hh:mm:ss")), QStringLiteral("3"), QString(), QString(), classes.at(i % 4)}));
    }

    plotFolderDialog dialog(nullptr, folder.path(), &list);
    dialog.show();
    QApplication::processEvents();
    std::printf("%-14s %12s %12s %14s\n", "chart", "first (s)", "redraw (s)", "valid hours");
    const std::pair<const char *, ActivityTab> charts[] = {{"temperature", ActivityTab::Temperature},
                                                           {"precipitation", ActivityTab::Precipitation},
                                                           {"wind speed", ActivityTab::WindSpeed}};
    for (const auto &chart : charts) {
        // Plain variables: C++17 lambdas cannot capture a structured binding.
        const char *const name = chart.first;
        const ActivityTab tab = chart.second;
        const double first = secondsOf([&] { dialog.ui->tabWidget->setCurrentIndex(int(tab)); });
        const double redraw =
            secondsOf([&] { dialog.ui->doubleSpinBox->setValue(dialog.ui->doubleSpinBox->value() + 0.5); });
        // The bars' heights: every second point of the step curve (a check that the chart has data).
        const QwtPlotCurve *bars = tab == ActivityTab::Temperature     ? dialog.validHoursVsTemp
                                   : tab == ActivityTab::Precipitation ? dialog.validHoursVsPrec
                                                                       : dialog.validHoursVsWind;
        double hours = 0;
        for (size_t i = 0; i < bars->dataSize(); ++i)
            hours += bars->sample(i).y();
        std::printf("%-14s %12.3f %12.3f %14.0f\n", name, first, redraw, hours);
    }
    std::printf("peak RSS %.1f MB\n", benchutil::peakRssBytes() / 1048576.0);
    return 0;
}
