// CSV export (all intervals, dynamic and static, with and without daylight
// saving) and Tavron export of 100,000 rows with 20 classes, from row texts
// to the file's text. Target: under 1 s each.
#include "benchutil.h"
#include "export/csvexport.h"
#include "export/tavronexport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>
#include <random>

namespace {

QVector<FileRowTexts> makeRows(int count, const QStringList &classes)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(0, 400), pickClass(0, classes.size() - 1), classCount(0, 3);
    QVector<FileRowTexts> rows;
    rows.reserve(count);
    // A season of nights: bursts of recordings from dusk to dawn.
    QDateTime t(QDate(2021, 4, 1), QTime(20, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        t = t.addSecs(step(rng));
        if (t.time().hour() >= 6 && t.time().hour() < 20)
            t = QDateTime(t.date(), QTime(20, 0), Qt::UTC);
        FileRowTexts row;
        row.setText(FileViewColumn::Name, QStringLiteral("REC_%1.wav").arg(i, 6, 10, QLatin1Char('0')));
        row.setText(FileViewColumn::Date, t.toString(QStringLiteral("dd/MM/yy")));
        row.setText(FileViewColumn::Time, t.toString(QStringLiteral("hh:mm:ss")));
        row.setText(FileViewColumn::Length, QStringLiteral("5.0"));
        const int n = classCount(rng);
        for (int c = 0; c < n; ++c)
            row.setText(FileViewColumn::Class1 + c, classes.at(pickClass(rng)));
        row.setText(FileViewColumn::Comment, QStringLiteral("comment"));
        rows.append(row);
    }
    return rows;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 100000;
    QStringList classes;
    for (int i = 0; i < 20; ++i)
        classes << QStringLiteral("Class%1").arg(i);
    const QVector<FileRowTexts> rows = makeRows(count, classes);

    std::printf("%d rows, %d classes\n", count, int(classes.size()));
    for (const QString &mode : {CsvExportOptions::dynamicMode(), CsvExportOptions::staticMode()}) {
        for (bool dst : {true, false}) {
            CsvExportOptions o;
            o.checkedClasses = classes + QStringList{QStringLiteral("Unassigned")};
            o.intervals = {1, 5, 10};
            o.intervalMode = mode;
            o.timeZone = QTimeZone("Europe/Berlin");
            o.daylightSaving = dst;
            const double t0 = benchutil::nowSeconds();
            const QString text = csvExportText(rows, o, false);
            const double t1 = benchutil::nowSeconds();
            std::printf("CSV    %-7s daylight saving %-3s %7.3f s  (%lld bytes of text)\n", qPrintable(mode),
                        dst ? "on" : "off", t1 - t0, (long long)text.toUtf8().size());
        }
    }
    for (bool dst : {true, false}) {
        TavronExportOptions o;
        o.classFilter = classes;
        o.timeZone = QTimeZone("Europe/Berlin");
        o.daylightSaving = dst;
        const double t0 = benchutil::nowSeconds();
        const QList<int> years = TavronExport::years(rows, o.classFilter);
        o.yearOverride = years.size() > 1 ? years.first() : 0;
        const TavronExport::Result result = TavronExport::exportText(rows, o);
        const double t1 = benchutil::nowSeconds();
        std::printf("Tavron          daylight saving %-3s %7.3f s  (year scan included, %d lines)\n",
                    dst ? "on" : "off", t1 - t0, int(result.text.count(QLatin1Char('\n'))));
    }
    std::printf("peak memory %.0f MB\n", benchutil::peakRssBytes() / 1e6);
    return 0;
}
