// The class events against a second, deliberately plain implementation that
// follows the rules word by word with QDateTime, on a random folder of 10,000
// rows (fixed seed): bursts around the 1-, 5- and 10-minute borders, shared
// timestamps, rows without a timestamp, both daylight-saving changes.
#include "export/csvexport.h"
#include "exportrows.h"
#include "testregistry.h"

#include <QDateTime>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <random>

Q_DECLARE_METATYPE(QList<int>)

namespace {

const QStringList kClasses{"Nyc", "Pip", "PipPip", "NycNoc", "Enil", "Myo"};

QVector<FileRowTexts> randomFolder(int count, unsigned seed)
{
    std::mt19937 rng(seed);
    const auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
    // Nights around both changes of 2021 and one in summer.
    const QList<QDate> nights{QDate(2021, 3, 27),  QDate(2021, 3, 28),  QDate(2021, 6, 15),
                              QDate(2021, 10, 30), QDate(2021, 10, 31), QDate(2021, 12, 31)};
    // Steps that land on, just before and just after the borders.
    const QList<int> steps{0, 0, 1, 20, 59, 60, 61, 240, 299, 300, 301, 590, 599, 600, 601, 3000};
    QVector<FileRowTexts> rows;
    QDateTime clock;
    for (int i = 0; i < count; ++i) {
        if (i % 400 == 0)
            clock = QDateTime(nights.at(pick(nights.size())), QTime(20, 0), Qt::UTC);
        clock = clock.addSecs(steps.at(pick(steps.size())));
        // The plain reading cannot place a time that the spring change skips; no recorder writes one.
        if (clock.date() == QDate(2021, 3, 28) && clock.time().hour() == 2)
            clock = clock.addSecs(3600);
        FileRowTexts row;
        row.setText(FileViewColumn::Name, QStringLiteral("r%1.wav").arg(i));
        const bool unreadable = pick(50) == 0;
        row.setText(FileViewColumn::Date, unreadable ? QStringLiteral("N/A") : clock.toString("dd/MM/yy"));
        row.setText(FileViewColumn::Time, unreadable ? QStringLiteral("N/A") : clock.toString("hh:mm:ss"));
        if (pick(10) != 0) {
            const int classCount = 1 + pick(3);
            for (int c = 0; c < classCount; ++c)
                row.setText(FileViewColumn::Class1 + c, kClasses.at(pick(kClasses.size())));
        }
        rows.append(row);
    }
    // Rows stand in list order, not time order.
    std::shuffle(rows.begin(), rows.end(), rng);
    return rows;
}

// The rules as written, without any care for speed.
QVector<QStringList> plainEvents(const QVector<FileRowTexts> &rows, const CsvExportOptions &o)
{
    QVector<QDateTime> stamp;
    for (const FileRowTexts &row : rows) {
        QString dateText = row.text(FileViewColumn::Date);
        dateText.insert(6, QStringLiteral("20"));
        const QDate date = QDate::fromString(dateText, QStringLiteral("dd/MM/yyyy"));
        const QTime time = QTime::fromString(row.text(FileViewColumn::Time), QStringLiteral("hh:mm:ss"));
        if (o.daylightSaving) {
            stamp.append(QDateTime(date, time, o.timeZone));
        } else {
            const int offset = o.timeZone.standardTimeOffset(QDateTime(date, QTime(0, 0), Qt::LocalTime));
            stamp.append(QDateTime(date, time, Qt::OffsetFromUTC, offset));
        }
    }
    QVector<QStringList> events;
    for (int k = 0; k < o.intervals.size(); ++k)
        events.append(QStringList(QVector<QString>(rows.size()).toList()));
    QStringList classes;
    for (const QString &c : o.checkedClasses) {
        if (c != QLatin1String("Unassigned") && !classes.contains(c))
            classes.append(c);
    }
    for (const QString &c : classes) {
        QList<QDateTime> list;
        for (int i = 0; i < rows.size(); ++i) {
            const FileRowTexts &r = rows.at(i);
            const bool has = r.text(6) == c || r.text(7) == c || r.text(8) == c || r.text(9) == c;
            if (has && stamp.at(i).isValid())
                list.append(stamp.at(i));
        }
        std::sort(list.begin(), list.end());
        for (int k = 0; k < o.intervals.size(); ++k) {
            const int n = o.intervals.at(k);
            QList<QDateTime> kept;
            for (const QDateTime &q : list) {
                if (kept.isEmpty()) {
                    kept.append(q);
                    continue;
                }
                const QDateTime &p = kept.last();
                bool inside;
                if (o.intervalMode == QLatin1String("dynamic"))
                    inside = p.secsTo(q) <= 60 * n;
                else
                    inside = p.date() == q.date() && p.time().hour() == q.time().hour()
                             && p.time().minute() / n == q.time().minute() / n;
                if (!inside)
                    kept.append(q);
            }
            list = kept;
            QSet<qint64> keptInstants;
            for (const QDateTime &t : kept)
                keptInstants.insert(t.toMSecsSinceEpoch());
            for (int i = 0; i < rows.size(); ++i) {
                if (stamp.at(i).isValid() && keptInstants.contains(stamp.at(i).toMSecsSinceEpoch())) {
                    QString &text = events[k][i];
                    text += (text.isEmpty() ? QString() : QStringLiteral(",")) + c;
                }
            }
        }
    }
    return events;
}

} // namespace

class CsvReferenceTest : public QObject
{
    Q_OBJECT

private slots:
    void randomFolder_matchesPlainRules_data();
    void randomFolder_matchesPlainRules();

private:
    QVector<FileRowTexts> m_rows = randomFolder(10000, 20210615);
};

void CsvReferenceTest::randomFolder_matchesPlainRules_data()
{
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("daylightSaving");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QList<int>>("intervals");
    QTest::addColumn<QStringList>("checked");

    const QStringList all{"Unassigned", "Nyc", "Pip", "PipPip", "NycNoc", "Enil", "Myo"};
    QTest::newRow("Berlin, daylight saving, dynamic 1-5-10")
        << "Europe/Berlin" << true << "dynamic" << QList<int>{1, 5, 10} << all;
    QTest::newRow("Berlin, standard time, dynamic 1-5-10")
        << "Europe/Berlin" << false << "dynamic" << QList<int>{1, 5, 10} << all;
    QTest::newRow("Berlin, daylight saving, static 1-5-10")
        << "Europe/Berlin" << true << "static" << QList<int>{1, 5, 10} << all;
    QTest::newRow("New York, standard time, static 5-10, some classes")
        << "America/New_York" << false << "static" << QList<int>{5, 10} << QStringList{"Pip", "Myo", "Unassigned"};
    QTest::newRow("New York, daylight saving, dynamic 10 alone")
        << "America/New_York" << true << "dynamic" << QList<int>{10} << QStringList{"Enil", "Nyc"};
}

void CsvReferenceTest::randomFolder_matchesPlainRules()
{
    QFETCH(QString, zone);
    QFETCH(bool, daylightSaving);
    QFETCH(QString, mode);
    QFETCH(QList<int>, intervals);
    QFETCH(QStringList, checked);

    CsvExportOptions options;
    options.checkedClasses = checked;
    options.intervals = intervals;
    options.intervalMode = mode;
    options.timeZone = QTimeZone(zone.toLatin1());
    options.daylightSaving = daylightSaving;

    const QVector<QStringList> expected = plainEvents(m_rows, options);
    const QVector<QStringList> actual = csvClassEvents(m_rows, options);
    QCOMPARE(actual.size(), expected.size());
    int marked = 0;
    for (int k = 0; k < expected.size(); ++k) {
        for (int i = 0; i < m_rows.size(); ++i) {
            if (actual[k][i] != expected[k][i])
                QFAIL(qPrintable(QStringLiteral("interval %1, row %2 (%3 %4): %5 instead of %6")
                                     .arg(intervals.at(k))
                                     .arg(i)
                                     .arg(m_rows[i].text(1), m_rows[i].text(2), actual[k][i], expected[k][i])));
            marked += !expected[k][i].isEmpty();
        }
    }
    // The folder must exercise the rules: many events, but far from every row.
    QVERIFY(marked > 100);
    QVERIFY(marked < m_rows.size() * expected.size());
}

QUILLON_TEST(CsvReferenceTest)
#include "tst_csvreference.moc"
