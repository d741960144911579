#include "testregistry.h"

#include "activity/foldersettings.h"
#include "activity/loadwinddialog.h"
#include "export/timezonechoicelist.h"
#include "guitest.h"
#include "ui_loadwinddialog.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString writeLines(const QTemporaryDir &dir, const QStringList &lines)
{
    const QString path = dir.filePath(QStringLiteral("wind.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(lines.join(QLatin1Char('\n')).toUtf8());
    return path;
}

QStringList joined(const QVector<QStringList> &rows)
{
    QStringList out;
    for (const QStringList &row : rows)
        out << row.join(QLatin1Char(' '));
    return out;
}

// Runs the dialog and presses one of its buttons as soon as it shows.
int run(LoadWindDialog &dialog, QDialogButtonBox::StandardButton button)
{
    QTimer::singleShot(0, &dialog, [&] { dialog.ui->buttonBox->button(button)->click(); });
    return dialog.exec();
}

} // namespace

class TestWindFormat : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void preview_data();
    void preview();
    void previewStopsAfter1001Entries();
    void dialogLoadsTheStoredFormat();
    void okWritesTheGroupCancelNothing();

private:
    QTemporaryDir dir;
};

void TestWindFormat::preview_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("format"); // separator 1, separator 2, decimal separator, definition
    QTest::addColumn<QStringList>("rows");
    const QStringList semicolons{"Semicolon", "Semicolon", ",", "Beginning"};
    const QStringList spaceThenSemicolon{"Space", "Semicolon", ",", "Beginning"};
    const QString row = QStringLiteral("01.06.2021 10:00:00 3.4");
    QTest::newRow("both semicolons") << QStringList{"01.06.2021;10:00:00;3,4"} << semicolons << QStringList{row};
    QTest::newRow("space, semicolon: one part only")
        << QStringList{"01.06.2021;10:00:00;3,4"} << spaceThenSemicolon << QStringList{};
    QTest::newRow("space, semicolon") << QStringList{"01.06.2021 10:00:00;3,4"} << spaceThenSemicolon
                                      << QStringList{row};
    QTest::newRow("tab as separator 1") << QStringList{"01.06.2021\t10:00:00;3,4"}
                                        << QStringList{"Tabulator", "Semicolon", ",", "Beginning"} << QStringList{row};
    QTest::newRow("quotes and CR") << QStringList{"\"01.06.2021\";\"10:00:00\";\"3,4\"\r"} << semicolons
                                   << QStringList{row};
    QTest::newRow("two blanks: the empty part is the time")
        << QStringList{"01.06.2021  10:00:00;3,4"} << spaceThenSemicolon << QStringList{};
    QTest::newRow("header and a time that does not read skipped, as the chart skips them")
        << QStringList{"Date;Time;Speed", "01.06.2021;10h;3,4", "01.06.2021;10:10:00;3,4"} << semicolons
        << QStringList{"01.06.2021 10:10:00 3.4"};
    QTest::newRow("no speed from NaN or inf")
        << QStringList{"01.06.2021;10:00:00;NaN", "01.06.2021;10:10:00;inf"} << semicolons << QStringList{};
    QTest::newRow("end: 10:10 begins at 10:00, 10:15 dropped")
        << QStringList{"01.06.2021;10:10:00;1", "01.06.2021;10:15:00;2"}
        << QStringList{"Semicolon", "Semicolon", ",", "End"} << QStringList{"01.06.2021 10:00:00 1"};
    QTest::newRow("round: 10:01, 10:04, 10:09 are one mean")
        << QStringList{"01.06.2021;10:01:00;1", "01.06.2021;10:04:00;2", "01.06.2021;10:09:00;6",
                       "01.06.2021;10:10:00;5"}
        << QStringList{"Semicolon", "Semicolon", ",", "Round"}
        << QStringList{"01.06.2021 10:00:00 3", "01.06.2021 10:10:00 5"};
    QTest::newRow("beginning: 10:15 dropped, of equal stamps the later")
        << QStringList{"01.06.2021;10:00:00;1", "01.06.2021;10:00:00;2", "01.06.2021;10:15:00;4"} << semicolons
        << QStringList{"01.06.2021 10:00:00 2"};
    QTest::newRow("two significant digits, decimal point")
        << QStringList{"01.06.2021;10:00:00;12.34", "01.06.2021;10:10:00;0.456", "01.06.2021;10:20:00;3,4"}
        << QStringList{"Semicolon", "Semicolon", ".", "Beginning"}
        << QStringList{"01.06.2021 10:00:00 12", "01.06.2021 10:10:00 0.46"};
}

void TestWindFormat::preview()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, format);
    QFETCH(QStringList, rows);
    WindFileFormat f;
    f.separator1 = format.at(0);
    f.separator2 = format.at(1);
    f.decimalSeparator = format.at(2);
    f.dateTimeDefinition = format.at(3);
    QCOMPARE(joined(windPreviewRows(writeLines(dir, lines), f)), rows);
}

void TestWindFormat::previewStopsAfter1001Entries()
{
    QStringList lines;
    QDateTime t(QDate(2021, 6, 1), QTime(0, 0));
    for (int i = 0; i < 5000; ++i, t = t.addSecs(600))
        lines << t.toString(QStringLiteral("dd.MM.yyyy;hh:mm:ss")) + QStringLiteral(";1");
    WindFileFormat f;
    f.separator1 = QStringLiteral("Semicolon");
    QCOMPARE(windPreviewRows(writeLines(dir, lines), f).size(), 1001);
    QVERIFY(windPreviewRows(dir.path(), f).isEmpty()); // a folder reads as no file
}

void TestWindFormat::dialogLoadsTheStoredFormat()
{
    using namespace FolderSettings;
    writeFolderSetting(dir.path(), windDateFormat, QStringLiteral("yyyy-mm-dd"));
    writeFolderSetting(dir.path(), windTimeFormat, QStringLiteral("hh-mm-ss"));
    writeFolderSetting(dir.path(), windSeparator1, QStringLiteral("Comma")); // no such choice: the combo stays
    writeFolderSetting(dir.path(), windDateTimeDefinition, QStringLiteral("End"));
    writeFolderSetting(dir.path(), windConsiderDaylightSaving, false);
    writeFolderSetting(dir.path(), windDataTimeZone, QByteArray("Asia/Tokyo"));
    LoadWindDialog dialog(nullptr, dir.path(), writeLines(dir, {"2021-06-01 10-20-00;2,5"}));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Set File Format"));
    QCOMPARE(dialog.ui->comboBox_4->currentText(), QStringLiteral("Space"));
    QVERIFY(dialog.ui->radioButton_2->isChecked());
    QVERIFY(!dialog.ui->checkBox->isChecked());
    QCOMPARE(dialog.ui->comboBox_2->currentText(), TimeZoneChoiceList::displayName(QTimeZone("Asia/Tokyo")));
    // The preview was built once the choices stood: "End" moves 10:20 to 10:10.
    QCOMPARE(dialog.ui->treeWidget->topLevelItemCount(), 1);
    QCOMPARE(dialog.ui->treeWidget->topLevelItem(0)->text(1), QStringLiteral("10:10:00"));
}

void TestWindFormat::okWritesTheGroupCancelNothing()
{
    const QString iniPath = FolderSettings::filePath(dir.path());
    QFile::remove(iniPath);
    {
        LoadWindDialog cancelled(nullptr, dir.path(), dir.filePath("missing.txt"));
        QCOMPARE(run(cancelled, QDialogButtonBox::Cancel), int(QDialog::Rejected));
    }
    QVERIFY(!QFile::exists(iniPath));

    // A zone no one knows shows as the machine's, and stays stored as it was
    // while that is chosen; an unreadable wind file still stores.
    writeFolderSetting(dir.path(), FolderSettings::windDataTimeZone, QByteArray("Mars/Olympus"));
    LoadWindDialog dialog(nullptr, dir.path(), dir.path());
    QCOMPARE(dialog.ui->treeWidget->topLevelItemCount(), 0);
    const QTimeZone machine = TimeZoneChoiceList::systemZone();
    QCOMPARE(TimeZoneChoiceList::zoneAt(dialog.timeZones, dialog.ui->comboBox_2->currentIndex(), machine), machine);
    dialog.ui->comboBox_6->setCurrentText(QStringLiteral("."));
    dialog.ui->radioButton_3->setChecked(true);
    QCOMPARE(run(dialog, QDialogButtonBox::Ok), int(QDialog::Accepted));
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("WindDataSettings"));
    QStringList written;
    for (const char *key : {"dateFormat", "timeFormat", "decimalSeparator", "separator1", "separator2",
                            "dateTimeDefinition", "considerDaylightSaving", "WindDataTimeZone"})
        written << ini.value(QLatin1String(key)).toString();
    QCOMPARE(ini.childKeys().size(), 8);
    QCOMPARE(written,
             (QStringList{"dd.mm.yyyy", "hh:mm:ss", ".", "Space", "Semicolon", "Round", "true", "Mars/Olympus"}));
}

QUILLON_TEST(TestWindFormat)
#include "tst_windformat.moc"
