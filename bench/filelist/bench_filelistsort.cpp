// Sorting a folder of 10,000 recordings in the file list: by date (date and
// time together), by time, by length and by name; the rows parse their texts
// on every comparison, so a second sort costs as much as the first. Target: a
// sort by date under 200 ms.
#include "benchutil.h"
#include "filelist/fileviewtreewidgetitem.h"

#include <QApplication>
#include <QDate>
#include <QTreeWidget>
#include <cstdio>
#include <random>

namespace {

void fillList(QTreeWidget &list, int rows, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> day(0, 3 * 365);
    std::uniform_int_distribution<int> second(0, 86399);
    std::uniform_int_distribution<int> millis(1000, 60000);
    const QDate first(2021, 1, 1);
    list.setColumnCount(11);
    for (int i = 0; i < rows; ++i) {
        auto *row = new fileViewTreeWidgetItem(&list);
        const int s = second(rng);
        row->setText(0, QStringLiteral("REC_%1.wav").arg(i, 5, 10, QLatin1Char('0')));
        // About one row in fifty has no readable date, as in real folders.
        if (i % 50 == 7) {
            row->setText(1, QStringLiteral("N/A"));
            row->setText(2, QStringLiteral("N/A"));
        } else {
            row->setText(1, first.addDays(day(rng)).toString(QStringLiteral("dd/MM/yy")));
            row->setText(2, QStringLiteral("%1:%2:%3")
                                .arg(s / 3600, 2, 10, QLatin1Char('0'))
                                .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                                .arg(s % 60, 2, 10, QLatin1Char('0')));
        }
        row->setText(3, QLocale().toString(millis(rng) / 1000.0, 'f', 3));
        row->setText(6, QStringLiteral("Pip"));
    }
}

double timeSort(QTreeWidget &list, int column, Qt::SortOrder order)
{
    const double t0 = benchutil::nowSeconds();
    list.sortItems(column, order);
    return (benchutil::nowSeconds() - t0) * 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = 10000;

    for (int run = 0; run < 3; ++run) {
        QTreeWidget list;
        fillList(list, rows, 12345u + unsigned(run));
        const double dateFirst = timeSort(list, 1, Qt::AscendingOrder);
        const double dateAgain = timeSort(list, 1, Qt::DescendingOrder);
        const double time = timeSort(list, 2, Qt::AscendingOrder);
        const double length = timeSort(list, 3, Qt::AscendingOrder);
        const double name = timeSort(list, 0, Qt::AscendingOrder);
        std::printf("run %d, %d rows: date first sort %.1f ms, date again (descending) %.1f ms, time %.1f ms, "
                    "length %.1f ms, name %.1f ms\n",
                    run, rows, dateFirst, dateAgain, time, length, name);
    }
    std::printf("target: date sort of %d rows under 200 ms\n", rows);
    return 0;
}
