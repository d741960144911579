#include "testregistry.h"

#include "activity/invalidtimesdialog.h"
#include "localzone.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// The dialog as a user sees it: its table, editors and buttons by object name.
struct PeriodsDialog {
    invalidTimesDialog dialog;
    QTreeWidget *tree = dialog.findChild<QTreeWidget *>("treeWidget");

    explicit PeriodsDialog(const QString &text)
        : dialog(nullptr, text)
    {
    }

    QDateTimeEdit *editor(int row, int column) const
    {
        return qobject_cast<QDateTimeEdit *>(tree->itemWidget(tree->topLevelItem(row), column));
    }
    QString numbers() const
    {
        QStringList n;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            n << tree->topLevelItem(i)->text(0);
        return n.join(',');
    }
    void click(const char *button) { dialog.findChild<QPushButton *>(button)->click(); }
    // The line under the table that counts the stored periods it cannot show; empty when hidden.
    QString unreadableNote() const
    {
        const auto *note = dialog.findChild<QLabel *>("label");
        return note->isHidden() ? QString() : note->text();
    }
    // Runs the dialog modally and confirms it, as its caller does.
    QString confirmed()
    {
        QTimer::singleShot(0, &dialog, [this] {
            dialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        });
        return dialog.exec() == QDialog::Accepted ? dialog.invalidTimes : QStringLiteral("<rejected>");
    }
    void editBegin(int row, const QDateTime &to)
    {
        editor(row, 1)->setDateTime(to);
        emit editor(row, 1)->editingFinished();
    }
};

// The editors hold clock readings as UTC date-times.
QDateTime at(int day, int month, int year, int hour, int minute)
{
    return {QDate(year, month, day), QTime(hour, minute), Qt::UTC};
}

} // namespace

class TestInvalidTimesDialog : public QObject
{
    Q_OBJECT
private slots:
    void emptyTextEmptyTable();
    void periodsWrittenBackUnchanged();
    void addedRowsAndTheBeginRule();
    void loadedEndKeptWhenBeginMovesBeforeIt();
    void deleteRenumbers();
    void partsOfTheTextReadAsTheChartsReadThem();
    void deleteAllDeletesUnreadableParts();
    void periodBeforeTheEditorsFirstDayKept();
};

void TestInvalidTimesDialog::emptyTextEmptyTable()
{
    PeriodsDialog d{QString()};
    QCOMPARE(d.tree->topLevelItemCount(), 0);
    QCOMPARE(d.confirmed(), QString());
    // Cancel leaves the text empty, whatever the rows hold.
    PeriodsDialog cancelled{QStringLiteral("01.06.2022 22:00-02.06.2022 04:00")};
    QTimer::singleShot(0, &cancelled.dialog, [&] { cancelled.dialog.reject(); });
    QCOMPARE(cancelled.dialog.exec(), int(QDialog::Rejected));
    QVERIFY(cancelled.dialog.invalidTimes.isEmpty());
}

void TestInvalidTimesDialog::periodsWrittenBackUnchanged()
{
    // The second period ends before it begins: nothing corrects it unasked.
    const QString text = QStringLiteral("01.06.2022 22:00-02.06.2022 04:00;11.06.2022 05:00-10.06.2022 21:30");
    PeriodsDialog d{text};
    QCOMPARE(d.numbers(), QStringLiteral("1,2"));
    QCOMPARE(d.unreadableNote(), QString());
    QCOMPARE(d.editor(1, 1)->dateTime(), at(11, 6, 2022, 5, 0));
    QCOMPARE(d.editor(1, 2)->dateTime(), at(10, 6, 2022, 21, 30));
    QCOMPARE(d.confirmed(), text);
}

void TestInvalidTimesDialog::addedRowsAndTheBeginRule()
{
    PeriodsDialog d{QString()};
    d.click("pushButton");
    d.click("pushButton");
    const int year = QDate::currentDate().year();
    QCOMPARE(d.numbers(), QStringLiteral("1,2"));
    for (int row = 0; row < 2; ++row)
        for (int column = 1; column <= 2; ++column)
            QCOMPARE(d.editor(row, column)->dateTime(), at(1, 1, year, 0, 0));

    // The end still held the default: it follows the begin, which becomes its minimum.
    d.editBegin(0, at(5, 3, year, 22, 0));
    QCOMPARE(d.editor(0, 2)->dateTime(), at(5, 3, year, 22, 0));
    QCOMPARE(d.editor(0, 2)->minimumDateTime(), at(5, 3, year, 22, 0));
    // Rows below are not touched.
    QCOMPARE(d.editor(1, 2)->dateTime(), at(1, 1, year, 0, 0));

    // An end edited before its begin while the begin is left alone is written as it stands.
    d.editor(1, 1)->setDateTime(at(2, 2, year, 12, 0));
    d.editor(1, 2)->setDateTime(at(1, 2, year, 12, 0));
    QCOMPARE(d.confirmed(), QStringLiteral("05.03.%1 22:00-05.03.%1 22:00;02.02.%1 12:00-01.02.%1 12:00").arg(year));
}

void TestInvalidTimesDialog::loadedEndKeptWhenBeginMovesBeforeIt()
{
    PeriodsDialog d{QStringLiteral("01.06.2022 22:00-02.06.2022 04:00")};
    d.editBegin(0, at(1, 6, 2022, 20, 0));
    QCOMPARE(d.editor(0, 2)->dateTime(), at(2, 6, 2022, 4, 0));
    // A begin moved past the end pulls the end along.
    d.editBegin(0, at(3, 6, 2022, 1, 0));
    QCOMPARE(d.editor(0, 2)->dateTime(), at(3, 6, 2022, 1, 0));
}

void TestInvalidTimesDialog::deleteRenumbers()
{
    PeriodsDialog d{QStringLiteral("01.01.2022 00:00-02.01.2022 00:00;03.01.2022 00:00-04.01.2022 00:00;"
                                   "05.01.2022 00:00-06.01.2022 00:00")};
    d.tree->topLevelItem(1)->setSelected(true);
    d.click("pushButton_2");
    QCOMPARE(d.numbers(), QStringLiteral("1,2"));
    QCOMPARE(d.editor(1, 1)->dateTime(), at(5, 1, 2022, 0, 0));
    d.click("pushButton_3");
    QCOMPARE(d.tree->topLevelItemCount(), 0);
    QCOMPARE(d.confirmed(), QString());
}

void TestInvalidTimesDialog::partsOfTheTextReadAsTheChartsReadThem()
{
    // In Berlin 02:30 of 31 March 2024 is skipped by the clocks, yet the charts read it.
    machineZoneForTest();
    // A part without "-" and a half that does not read get no row (an editor would show
    // 01.01.2000 for them, and Ok store it); Ok keeps them as they stand.
    const QString unreadable = QStringLiteral("01.06.2022 22:00;31.13.2022 22:00-02.06.2022 04:00");
    PeriodsDialog d{QStringLiteral("01.06.2022 22:00;31.03.2024 02:30-31.03.2024 05:00;"
                                   "31.13.2022 22:00-02.06.2022 04:00")};
    QCOMPARE(d.tree->topLevelItemCount(), 1);
    QVERIFY2(d.unreadableNote().startsWith(QLatin1String("2 ")), qPrintable(d.unreadableNote()));
    QCOMPARE(d.editor(0, 1)->dateTime(), at(31, 3, 2024, 2, 30));
    QCOMPARE(d.confirmed(), QStringLiteral("31.03.2024 02:30-31.03.2024 05:00;") + unreadable);
}

void TestInvalidTimesDialog::deleteAllDeletesUnreadableParts()
{
    PeriodsDialog d{QStringLiteral("01.06.2022 22:00-02.06.2022 04:00;32.06.2022 22:00-02.06.2022 04:00")};
    QVERIFY2(d.unreadableNote().startsWith(QLatin1String("1 ")), qPrintable(d.unreadableNote()));
    // Deleting the rows one by one leaves what has no row.
    d.tree->topLevelItem(0)->setSelected(true);
    d.click("pushButton_2");
    QVERIFY(!d.unreadableNote().isEmpty());
    d.click("pushButton_3");
    QCOMPARE(d.unreadableNote(), QString());
    QCOMPARE(d.confirmed(), QString());
}

void TestInvalidTimesDialog::periodBeforeTheEditorsFirstDayKept()
{
    // An editor would show 14.09.1752 for the begin, and Ok store it.
    const QString early = QStringLiteral("01.06.1700 22:00-02.06.1800 04:00");
    PeriodsDialog d{early + QStringLiteral(";01.06.2022 22:00-02.06.2022 04:00")};
    QCOMPARE(d.tree->topLevelItemCount(), 1);
    QVERIFY2(d.unreadableNote().startsWith(QLatin1String("1 ")), qPrintable(d.unreadableNote()));
    QCOMPARE(d.confirmed(), QStringLiteral("01.06.2022 22:00-02.06.2022 04:00;") + early);
}

QUILLON_TEST(TestInvalidTimesDialog)
#include "tst_invalidtimesdialog.moc"
