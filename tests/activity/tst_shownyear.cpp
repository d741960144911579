#include "testregistry.h"

#include "activitydialogtest.h"

#include <QtTest>

// The year every chart shows: the shared index kept in range, the tab's buttons set.
class TestShownYear : public ActivityDialogTest
{
    Q_OBJECT
private slots:
    void shownYearClampsAndSetsTheButtons_data();
    void shownYearClampsAndSetsTheButtons();
};

void TestShownYear::shownYearClampsAndSetsTheButtons_data()
{
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("clamped");
    QTest::addColumn<QString>("buttons"); // "<" and ">": e enabled, d disabled, h hidden
    const QStringList three{"01/06/22", "N/A", "01/06/20", "03/03/21"};
    QTest::newRow("past the last year: the last") << three << 7 << 2022 << 2 << "ed";
    QTest::newRow("before the first: the first") << three << -3 << 2020 << 0 << "de";
    QTest::newRow("in between") << three << 1 << 2021 << 1 << "ee";
    QTest::newRow("one year: both hidden") << QStringList{"01/06/21", "02/06/21"} << 4 << 2021 << 0 << "hh";
    QTest::newRow("no dated row: hidden, no year") << QStringList{"N/A", ""} << 2 << 0 << 2 << "hh";
}

void TestShownYear::shownYearClampsAndSetsTheButtons()
{
    QFETCH(QStringList, dates);
    QFETCH(int, index);
    QFETCH(int, year);
    QFETCH(int, clamped);
    QFETCH(QString, buttons);
    for (const QString &date : dates)
        addRow(date, {QStringLiteral("Pip")});
    auto d = open();
    d->yearIndex = index;
    d->ui->pushButton_19->setEnabled(true);
    QCOMPARE(d->takeShownYear(ActivityTab::Days, d->activityRows().years), year);
    QCOMPARE(d->yearIndex, clamped);
    const auto state = [](QPushButton *b) { return b->isHidden() ? 'h' : b->isEnabled() ? 'e' : 'd'; };
    QCOMPARE(QString(QChar(state(d->ui->pushButton_20))) + QChar(state(d->ui->pushButton_21)), buttons);
    // Without a year there is nothing to export.
    QCOMPARE(d->ui->pushButton_19->isEnabled(), year != 0);
}

QUILLON_TEST(TestShownYear)
#include "tst_shownyear.moc"
