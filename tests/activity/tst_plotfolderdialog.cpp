#include "testregistry.h"

#include "activity/activityzoomers.h"
#include "activity/colordialog.h"
#include "activity/invalidtimesdialog.h"
#include "activity/loadwinddialog.h"
#include "activitydialogtest.h"
#include "common/settingskeys.h"
#include "export/timezonechoicelist.h"
#include "scripteddialogs.h"
#include "ui_colordialog.h"
#include "ui_invalidtimesdialog.h"
#include "ui_loadwinddialog.h"

#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <iterator>
#include <qwt_plot.h>

namespace {

double localMs(const QDate &date)
{
    return double(QDateTime(date, QTime(0, 0)).toMSecsSinceEpoch());
}

} // namespace

// The frame: what opening loads and writes, what each control stores and draws.
class TestPlotFolderDialog : public ActivityDialogTest
{
    Q_OBJECT
private slots:
    void opensWithDefaults_storesOnlyWhatTheUserChanges();
    void valuesNotRead_controlsShowTheirDefaults();
    void valueQtMayNotDecode_saidOnceWithItsFile();
    void openAndCloseWithoutChange_fileStays_data();
    void openAndCloseWithoutChange_fileStays();
    void fileWrittenByHand_closeStoresOnlyTheChangedSettings();
    void randomEdits_openAndCloseKeepEveryLine();
    void editorSaveWhileOpen_closeKeepsIt_data();
    void editorSaveWhileOpen_closeKeepsIt();
    void boxTurnedBack_fileHoldsWhatItHeld();
    void slipFixedAsTheBoxSays_valueCounts_data();
    void slipFixedAsTheBoxSays_valueCounts();
    void eachSettingStoresAndDrawsOnce();
    void invalidPeriodsStoredBeforeTheirDrawing();
    void yearButtonsAndTabs();
    void weatherAndWindFiles();
    void classColours();
    void dateEditsAndZoomFollowEachOther();
    void zoneNotOfferedKeepsItsId();
    void storedZoneOutsideTheListIsShown();
};

// A new folder: the boxes show the defaults, and nothing is written until the
// user changes a box: that box's setting is stored at once, and by Close.
void TestPlotFolderDialog::opensWithDefaults_storesOnlyWhatTheUserChanges()
{
    auto d = open();
    QCOMPARE(d->ui->doubleSpinBox->value(), 51.0);
    QCOMPARE(d->ui->doubleSpinBox_2->value(), 9.0);
    QVERIFY(d->ui->checkBox->isChecked() && d->ui->checkBox_2->isChecked());
    QCOMPARE(d->ui->comboBox_2->currentIndex(), 0);
    QCOMPARE(d->ui->comboBox_3->currentText(), QStringLiteral("absolute"));
    QVERIFY(d->ui->spinBox->isHidden() && !d->ui->timeEdit->isHidden());
    QCOMPARE(d->ui->timeEdit->time(), QTime(0, 0));
    QCOMPARE(d->ui->dateEdit->date(), QDate(1915, 1, 1));
    QCOMPARE(d->ui->dateEdit_2->date(), QDate(1915, 12, 31));
    QCOMPARE(d->chosenTimeZone(), QTimeZone::systemTimeZone());
    QCOMPARE(d->ui->pushButton->toolTip(), QStringLiteral("Enter Times in which no valid data was recorded"));
    QCOMPARE(calls, (QVector<ChartCall>{{ActivityTab::Time, true, false}}));
    QVERIFY(d->ready);

    // Loading gave the boxes their values, which is no change of the user's: nothing is stored.
    const QString file = FolderSettings::filePath(path());
    QVERIFY(!QFile::exists(file));
    QTest::keyClick(d.get(), Qt::Key_Escape);
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QVERIFY(!QFile::exists(file));

    d->ui->comboBox_2->setCurrentIndex(2);
    QCOMPARE(settingsFileBytes(), QByteArray("[Time]\nTwilight=2\n"));
    QVERIFY(QFile::remove(file));
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QCOMPARE(settingsFileBytes(), QByteArray("[Time]\nTwilight=2\n"));
    QCOMPARE(calls.size(), 2);
}

// Values written by hand into the file the dialog left, that read as text
// but not as their keys': each control shows its key's default, opening says
// once which file holds them, and Close leaves each of them as written.
void TestPlotFolderDialog::valuesNotRead_controlsShowTheirDefaults()
{
    storeEverySetting();
    const QByteArray text = withLines(
        settingsFileBytes(), {"BeginDate=31.02.15", "StartRecording=7 pm", "StopRecording=06:30", "Twilight=7",
                              "PeriodType=2", "intervalDays=-3", "TimeZone=@ByteArray(Europe/Berl", "latitude=52e"});
    writeSettingsFileBytes(text);
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    auto d = open();
    QCOMPARE(d->ui->dateEdit->date(), QDate(1915, 1, 1));
    QCOMPARE(d->ui->timeEdit->time(), QTime(0, 0));
    QCOMPARE(d->ui->timeEdit_2->time(), QTime(6, 30));
    QCOMPARE(d->ui->comboBox_2->currentIndex(), 0);
    QCOMPARE(d->ui->comboBox_3->currentText(), QStringLiteral("absolute"));
    QCOMPARE(d->ui->comboBox_4->currentIndex(), 0);
    QCOMPARE(d->ui->doubleSpinBox->value(), 51.0);
    QCOMPARE(d->chosenTimeZone(), TimeZoneChoiceList::systemZone());
    QCOMPARE(dialogs.messages.size(), 1);
    // The one message names each value, as written, and the form it takes.
    const QString said = dialogs.messages.first().text;
    // An index names what each of its numbers stands for, as the box lists it.
    QVERIFY2(said.contains(QLatin1String("\nTwilight = 7: a whole number from 0 to 3: 0 for \"Civil twilight\", "
                                         "1 for \"Nautical twilight\", 2 for \"Astronomical twilight\", "
                                         "3 for \"Tavron twilight (15%)\"\n")),
             qPrintable(said));
    for (const char *value : {"BeginDate = 31.02.15:", "StartRecording = 7 pm:", "PeriodType = 2: a whole number",
                              "intervalDays = -3:", "TimeZone = @ByteArray(Europe/Berl:", "latitude = 52e:"})
        QVERIFY2(said.contains(QLatin1Char('\n') + QLatin1String(value)), qPrintable(said));
    QVERIFY2(!said.contains(QLatin1String("StopRecording")), qPrintable(said));
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QCOMPARE(settingsFileBytes(), text);
}

// A list claiming 2^31-1 entries, on which Qt's decoder throws, beside a
// latitude: the latitude is read, and opening says once which file holds a
// value that is not, however often the charts read the file.
void TestPlotFolderDialog::valueQtMayNotDecode_saidOnceWithItsFile()
{
    QFile f(FolderSettings::filePath(path()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Geocoordinates]\nlatitude=48.5\n[Time]\nclassColors=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n");
    f.close();
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    auto d = open();
    QCOMPARE(d->ui->doubleSpinBox->value(), 48.5);
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Days));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().informativeText, QDir::toNativeSeparators(FolderSettings::filePath(path())));
}

// Every setting stored, then by hand: a comment, and a value that is read or
// one that is not. Opening and closing leave the file so.
void TestPlotFolderDialog::openAndCloseWithoutChange_fileStays_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("said"); // whether opening says that a value is not read
    QTest::newRow("a comment by hand") << QByteArray("latitude=48.5") << false;
    QTest::newRow("and a float cut short") << QByteArray("latitude=@Variant(\\0\\0\\0\\x87\\x41)") << true;
    QTest::newRow("and a number with a letter after it") << QByteArray("latitude=52e") << true;
    QTest::newRow("and a date without its year") << QByteArray("EndDate=31.12.") << true;
    QTest::newRow("and a time without its minutes") << QByteArray("StartRecording=20:") << true;
    QTest::newRow("and minutes in letters") << QByteArray("StartMin=abc") << true;
    QTest::newRow("and a twilight the box does not offer") << QByteArray("Twilight=9") << true;
    QTest::newRow("and a zone cut short") << QByteArray("TimeZone=@ByteArray(Europe/Berl") << true;
    QTest::newRow("and an empty zone") << QByteArray("TimeZone=") << true;
    // Values that read, written otherwise than the box shows them.
    QTest::newRow("and a latitude from a GPS") << QByteArray("latitude=49.787654") << false;
    QTest::newRow("and a longitude of nine decimals") << QByteArray("longitude=9.123456789") << false;
    QTest::newRow("and a time with a sign") << QByteArray("StopRecording=06:+0") << false;
    QTest::newRow("and a stray quote") << QByteArray("EndDate=\"30.09.21") << false;
    QTest::newRow("and a longitude just west of Greenwich") << QByteArray("longitude=-0.000012") << false;
}

void TestPlotFolderDialog::openAndCloseWithoutChange_fileStays()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, said);
    storeEverySetting();
    const QByteArray text = withLines(settingsFileBytes(), {line + "\n; the recorder's own clock"});
    writeSettingsFileBytes(text);
    ScriptedDialogs dialogs;
    if (said)
        dialogs.expectMessages();
    open()->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QCOMPARE(settingsFileBytes(), text);
}

// A file written as the README shows, with a comment and the keys a surveyor
// knows: Close stores the boxes the user changed, one in place and one the
// file lacked on a line of its own, and leaves every other line as it was.
void TestPlotFolderDialog::fileWrittenByHand_closeStoresOnlyTheChangedSettings()
{
    const QByteArray text = "; The old mill pond, 2021\n[Geocoordinates]\nlatitude=52.1234\nlongitude=8.5\n\n"
                            "[Time]\nTimeZone=Europe/Berlin\ndaylightSaving=true\nBeginDate=01.05.21\n"
                            "EndDate=30.09.21\nStartRecording=20:00\nStopRecording=06:00\nTwilight=1\n";
    writeSettingsFileBytes(text);
    auto d = open();
    QCOMPARE(d->ui->timeEdit->time(), QTime(20, 0));
    d->ui->comboBox_2->setCurrentIndex(2);
    d->ui->comboBox_4->setCurrentIndex(1);
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QCOMPARE(settingsFileBytes(), withLines(text, {"Twilight=2\nintervalDays=1"}));
}

// Every setting stored, with a comment and keys of other groups, edited at
// random as a hand or a damaged disk edits it: a quote, a backslash, a line
// end, a letter more or less. Opening and closing keep the file byte for byte.
void TestPlotFolderDialog::randomEdits_openAndCloseKeepEveryLine()
{
    storeEverySetting();
    const QByteArray written = "; Site A\n" + settingsFileBytes() + "\n[Files]\nwindSpeedFile=/data/wind.txt\n";
    const QByteArray pieces[] = {"\"", "\\", ";", "=", " ", "\n", "\r\n", "x", "7", "@", "[", "]", ",", ".", ":"};
    QRandomGenerator random(11);
    for (int run = 0; run < 40; ++run) {
        QByteArray text = written;
        for (int edits = 1 + random.bounded(3); edits > 0; --edits) {
            const QByteArray piece = pieces[random.bounded(int(std::size(pieces)))];
            const int at = random.bounded(text.size());
            text.replace(at, random.bounded(2), random.bounded(3) == 0 ? QByteArray() : piece);
        }
        writeSettingsFileBytes(text);
        ScriptedDialogs dialogs;
        dialogs.expectMessages(FolderSettings::unreadValues(path()).isEmpty() ? 0 : 1);
        open()->ui->buttonBox->button(QDialogButtonBox::Close)->click();
        QVERIFY2(settingsFileBytes() == text, text.constData());
    }
}

// Each row: a file, a change an editor saves into it while the dialog is open
// (the box may have named a value), and a box the user changes or none. Close
// stores the user's change alone: every line the editor saved stays.
void TestPlotFolderDialog::editorSaveWhileOpen_closeKeepsIt_data()
{
    QTest::addColumn<QList<QByteArray>>("lines");  // of the file, among every setting's
    QTest::addColumn<QList<QByteArray>>("edited"); // as the editor saves them
    QTest::addColumn<int>("twilight");             // what the user chooses in the box; -1 for nothing
    QTest::addColumn<QByteArray>("twilightLine");  // the file's line of it after Close
    QTest::newRow("a value the box named, mended")
        << QList<QByteArray>{"latitude=49,78"} << QList<QByteArray>{"latitude=49.787654"} << -1
        << QByteArray("Twilight=0");
    QTest::newRow("a date and a latitude, edited")
        << QList<QByteArray>{"EndDate=30.09.24", "latitude=49.787654"}
        << QList<QByteArray>{"EndDate=31.08.24", "latitude=49.80"} << -1 << QByteArray("Twilight=0");
    QTest::newRow("beside a box the user changed")
        << QList<QByteArray>{"EndDate=30.09.24"} << QList<QByteArray>{"EndDate=31.08.24"} << 3
        << QByteArray("Twilight=3");
}

void TestPlotFolderDialog::editorSaveWhileOpen_closeKeepsIt()
{
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QList<QByteArray>, edited);
    QFETCH(int, twilight);
    storeEverySetting();
    writeSettingsFileBytes(withLines(settingsFileBytes(), lines));
    ScriptedDialogs dialogs;
    dialogs.expectMessages(FolderSettings::unreadValues(path()).isEmpty() ? 0 : 1);
    auto d = open();
    if (twilight >= 0)
        d->ui->comboBox_2->setCurrentIndex(twilight);
    const QByteArray saved = withLines(settingsFileBytes(), edited);
    writeSettingsFileBytes(saved);
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QFETCH(QByteArray, twilightLine);
    QCOMPARE(settingsFileBytes(), withLines(saved, {twilightLine}));
}

// A box turned away and back: the file holds again the value it held, with
// all its digits, and Close stores nothing of it, so an editor's later save stays.
void TestPlotFolderDialog::boxTurnedBack_fileHoldsWhatItHeld()
{
    storeEverySetting();
    const QByteArray text = withLines(settingsFileBytes(), {"latitude=49.787654"});
    writeSettingsFileBytes(text);
    auto d = open();
    QCOMPARE(d->ui->doubleSpinBox->value(), 49.7877);
    d->ui->doubleSpinBox->setValue(49.8);
    QCOMPARE(settingsFileBytes(), withLines(text, {"latitude=49.8"}));
    d->ui->doubleSpinBox->setValue(49.7877);
    QCOMPARE(settingsFileBytes(), text);
    const QByteArray saved = withLines(text, {"latitude=49.812"});
    writeSettingsFileBytes(saved);
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QCOMPARE(settingsFileBytes(), saved);
}

// Each row: a file with a slip, each line the box names it with, and the file
// as the surveyor mends it from the box while the dialog is open. Close adds
// nothing, and the mended file opens with the values written, without a box.
void TestPlotFolderDialog::slipFixedAsTheBoxSays_valueCounts_data()
{
    QTest::addColumn<QByteArray>("slip");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QByteArray>("mended");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::newRow("a key in another case")
        << QByteArray("[Geocoordinates]\nLatitude=49.5\nlongitude=9.25\n")
        << QStringList{"Latitude = 49.5: no setting of this name: it is latitude in [Geocoordinates]"}
        << QByteArray("[Geocoordinates]\nlatitude=49.5\nlongitude=9.25\n") << 49.5 << 9.25;
    QTest::newRow("a misspelt key")
        << QByteArray("[Geocoordinates]\nlatitude=49.5\nlongtitude=9.1\n")
        << QStringList{"longtitude = 9.1: no setting of this name: it may be longitude in [Geocoordinates]"}
        << QByteArray("[Geocoordinates]\nlatitude=49.5\nlongitude=9.1\n") << 49.5 << 9.1;
    QTest::newRow("a section in another case")
        << QByteArray("[geocoordinates]\nlatitude=49.5\nlongitude=9.25\n")
        << QStringList{"latitude = 49.5: no setting of this name in [geocoordinates]: it is latitude in "
                       "[Geocoordinates]",
                       "longitude = 9.25: no setting of this name in [geocoordinates]: it is longitude in "
                       "[Geocoordinates]"}
        << QByteArray("[Geocoordinates]\nlatitude=49.5\nlongitude=9.25\n") << 49.5 << 9.25;
    QTest::newRow("keys before any section")
        << QByteArray("latitude=49.5\nlongitude=9.25\n[Time]\nTwilight=1\n")
        << QStringList{"latitude = 49.5: written before any section: it is latitude in [Geocoordinates]",
                       "longitude = 9.25: written before any section: it is longitude in [Geocoordinates]"}
        << QByteArray("[Geocoordinates]\nlatitude=49.5\nlongitude=9.25\n[Time]\nTwilight=1\n") << 49.5 << 9.25;
    QTest::newRow("a key in another section of the settings")
        << QByteArray("[Geocoordinates]\nlongitude=9.25\n[Time]\nLatitude=49.5\n")
        << QStringList{"Latitude = 49.5: no setting of this name in [Time]: it is latitude in [Geocoordinates]"}
        << QByteArray("[Geocoordinates]\nlongitude=9.25\nlatitude=49.5\n[Time]\n") << 49.5 << 9.25;
    QTest::newRow("a key standing twice, CR LF")
        << QByteArray("[Geocoordinates]\r\nlatitude=49.5\r\nlongitude=9.25\r\nlatitude=51.2\r\n")
        << QStringList{"latitude = 51.2: stands 2 times in [Geocoordinates]; this one, on line 4, counts"}
        << QByteArray("[Geocoordinates]\r\nlatitude=49.5\r\nlongitude=9.25\r\n") << 49.5 << 9.25;
}

void TestPlotFolderDialog::slipFixedAsTheBoxSays_valueCounts()
{
    QFETCH(QByteArray, slip);
    QFETCH(QByteArray, mended);
    writeSettingsFileBytes(slip);
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    auto d = open();
    QFETCH(QStringList, said);
    QCOMPARE(dialogs.messages.size(), 1);
    const QString text = dialogs.messages.first().text;
    QCOMPARE(text.mid(text.indexOf(QLatin1String("\n\n")) + 2).split(QLatin1Char('\n')), said);
    writeSettingsFileBytes(mended);
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QCOMPARE(settingsFileBytes(), mended);
    d = open();
    QCOMPARE(dialogs.messages.size(), 1);
    QTEST(d->ui->doubleSpinBox->value(), "latitude");
    QTEST(d->ui->doubleSpinBox_2->value(), "longitude");
}

void TestPlotFolderDialog::eachSettingStoresAndDrawsOnce()
{
    auto d = open();
    Ui_plotFolderDialog *ui = d->ui;
    const int otherZone = ui->comboBox->currentIndex() == 0 ? 1 : 0;
    struct Case {
        const char *group;
        const char *key;
        std::function<void()> change;
        QVariant expected;
        ActivityTab drawn;
    };
    const ActivityTab shown = ActivityTab::Night;
    const Case cases[] = {
        {"Geocoordinates", "latitude", [&] { ui->doubleSpinBox->setValue(49.5); }, 49.5, shown},
        // The box's last decimal is a change.
        {"Geocoordinates", "latitude", [&] { ui->doubleSpinBox->setValue(49.5001); }, 49.5001, shown},
        {"Geocoordinates", "longitude", [&] { ui->doubleSpinBox_2->setValue(-3.25); }, -3.25, shown},
        {"Time", "daylightSaving", [&] { ui->checkBox->click(); }, false, shown},
        {"Time", "centerNight", [&] { ui->checkBox_2->click(); }, false, shown},
        {"Time", "TimeZone", [&] { ui->comboBox->setCurrentIndex(otherZone); }, d->timeZones.at(otherZone).id(), shown},
        {"Time", "Twilight", [&] { ui->comboBox_2->setCurrentIndex(2); }, 2, shown},
        {"Time", "PeriodType", [&] { ui->comboBox_3->setCurrentIndex(1); }, 1, shown},
        {"Time", "intervalDays", [&] { ui->comboBox_4->setCurrentIndex(3); }, 3, shown},
        {"Time", "BeginDate", [&] { ui->dateEdit->setDate(QDate(2015, 3, 5)); }, "05.03.15", shown},
        {"Time", "EndDate", [&] { ui->dateEdit_2->setDate(QDate(2015, 10, 31)); }, "31.10.15", shown},
        {"Time", "StartRecording", [&] { ui->timeEdit->setTime(QTime(21, 30)); }, "21:30", shown},
        {"Time", "StopRecording", [&] { ui->timeEdit_2->setTime(QTime(5, 45)); }, "05:45", shown},
        {"Time", "StartMin", [&] { ui->spinBox->setValue(30); }, 30, shown},
        {"Time", "StopMin", [&] { ui->spinBox_2->setValue(-15); }, -15, shown},
        // The scale buttons draw their own tab's chart, whichever is shown.
        {"Time", "logDays", [&] { ui->radioButton_12->click(); }, true, ActivityTab::Days},
        {"Time", "logMonth", [&] { ui->radioButton_4->click(); }, true, ActivityTab::Months},
        {"Time", "logNight", [&] { ui->radioButton->click(); }, true, ActivityTab::Night},
        {"Time", "logWind", [&] { ui->radioButton_10->click(); }, true, ActivityTab::WindSpeed},
        {"Time", "logWind", [&] { ui->radioButton_9->click(); }, false, ActivityTab::WindSpeed},
    };
    ui->tabWidget->setCurrentIndex(int(shown));
    for (const Case &c : cases) {
        calls.clear();
        const bool firstPlot = d->firstPlotFlag(c.drawn); // the chart clears it as it draws
        c.change();
        // The INI file keeps every value as text.
        QVERIFY2(stored(c.group, c.key).toString() == c.expected.toString(), c.key);
        QVERIFY2(calls == (QVector<ChartCall>{{c.drawn, firstPlot, false}}), c.key);
    }
    QVERIFY(!ui->spinBox->isHidden() && ui->timeEdit->isHidden());
    QCOMPARE(ui->label_9->text(), QStringLiteral("Delay to Sunset for Start:"));
    ui->comboBox_3->setCurrentIndex(0);
    QCOMPARE(ui->label_10->text(), QStringLiteral("Daily Stop Time:"));
    QVERIFY(ui->spinBox_2->isHidden() && !ui->timeEdit_2->isHidden());
}

void TestPlotFolderDialog::invalidPeriodsStoredBeforeTheirDrawing()
{
    const QString period = QStringLiteral("01.06.2022 22:00-02.06.2022 04:00");
    writeFolderSetting(path(), FolderSettings::invalidTimes, period);
    auto d = open();
    QCOMPARE(d->ui->pushButton->toolTip(), QStringLiteral("Invalid Periods:\n01.06.2022 22:00-02.06.2022 04:00"));

    answerDialog<invalidTimesDialog>([](invalidTimesDialog &periods) { periods.reject(); });
    d->ui->pushButton->click();
    QCOMPARE(stored("Time", "invalidTimes").toString(), period);
    QVERIFY(calls.size() == 1);

    // Accepted as it stands: written back unchanged, now headed as edited periods.
    answerDialog<invalidTimesDialog>([](invalidTimesDialog &periods) {
        periods.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    d->ui->pushButton->click();
    QCOMPARE(stored("Time", "invalidTimes").toString(), period);
    QCOMPARE(d->ui->pushButton->toolTip(), QStringLiteral("Invalid Times:\n01.06.2022 22:00-02.06.2022 04:00"));

    QStringList seenByChart;
    plotFolderDialog::setChartCallObserver(
        [&](ActivityTab, bool, bool) { seenByChart << stored("Time", "invalidTimes").toString(); });
    answerDialog<invalidTimesDialog>([](invalidTimesDialog &periods) {
        periods.findChild<QPushButton *>(QStringLiteral("pushButton_3"))->click(); // Delete All
        periods.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    d->ui->pushButton->click();
    QCOMPARE(seenByChart, QStringList{QString()});
    QCOMPARE(d->ui->pushButton->toolTip(), QStringLiteral("Enter Times in which no valid data was recorded"));
}

void TestPlotFolderDialog::yearButtonsAndTabs()
{
    auto d = open();
    Ui_plotFolderDialog *ui = d->ui;
    // "<" and ">" of each tab; no bound on the index: the charts clamp it.
    const std::tuple<QPushButton *, QPushButton *, ActivityTab> buttons[] = {
        {ui->pushButton_3, ui->pushButton_4, ActivityTab::Time},
        {ui->pushButton_20, ui->pushButton_21, ActivityTab::Days},
        {ui->pushButton_5, ui->pushButton_6, ActivityTab::Months},
        {ui->pushButton_7, ui->pushButton_8, ActivityTab::Night},
        {ui->pushButton_9, ui->pushButton_10, ActivityTab::Temperature},
        {ui->pushButton_12, ui->pushButton_13, ActivityTab::Precipitation},
        {ui->pushButton_15, ui->pushButton_16, ActivityTab::WindSpeed}};
    for (const auto &[earlier, later, tab] : buttons) {
        calls.clear();
        const bool firstPlot = d->firstPlotFlag(tab);
        earlier->click();
        earlier->click();
        QCOMPARE(d->yearIndex, -2);
        later->click();
        later->click();
        QCOMPARE(d->yearIndex, 0);
        // The first drawing clears a drawn chart's first-plot flag.
        QCOMPARE(calls, (QVector<ChartCall>{{tab, firstPlot, false}}
                         + QVector<ChartCall>(3, {tab, d->firstPlotFlag(tab), false})));
    }
    calls.clear();
    const bool monthsFirstPlot = d->firstPlotFlag(ActivityTab::Months);
    ui->tabWidget->setCurrentIndex(int(ActivityTab::Months));
    ui->tabWidget->setCurrentIndex(int(ActivityTab::Temperature));
    QCOMPARE(calls, (QVector<ChartCall>{{ActivityTab::Months, monthsFirstPlot, false},
                                        {ActivityTab::Temperature, false, false}}));
}

void TestPlotFolderDialog::weatherAndWindFiles()
{
    ScriptedDialogs dialogs;
    auto d = open();
    // Without a weather file: the notice only, no plot, the flag down.
    QVERIFY(!d->plotVsTemp && !d->plotVsPrec && !d->firstPlotVsTemp && !d->firstPlotVsPrec);
    QVERIFY(!d->ui->label_11->isHidden() && !d->ui->label_12->isHidden());
    const QWidgetList weatherControls{d->ui->radioButton_5, d->ui->radioButton_6, d->ui->pushButton_9,
                                      d->ui->pushButton_10, d->ui->radioButton_7, d->ui->radioButton_8,
                                      d->ui->pushButton_12, d->ui->pushButton_13};
    for (QWidget *w : weatherControls)
        QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
    calls.clear();
    d->ui->pushButton_11->click(); // chooser cancelled
    QCOMPARE(dialogs.fileQuestions.at(0).caption, QStringLiteral("Define Temperature and Precipitation File"));
    QCOMPARE(dialogs.fileQuestions.at(0).dir, path());
    QCOMPARE(dialogs.fileQuestions.at(0).filter, QStringLiteral("Condition Log Files (*.txt *.csv)"));
    QVERIFY(storedKeys("Files").isEmpty() && calls.isEmpty() && !d->plotVsTemp);

    const QString weather = path() + QStringLiteral("/weather.csv");
    dialogs.fileAnswers << weather << weather;
    d->ui->pushButton_11->click();
    QCOMPARE(stored("Files", "temperaturePrecipitationFile").toString(), weather);
    // One log for both weather tabs: chosen on one, both show their plots.
    QVERIFY(d->plotVsTemp && d->ui->label_11->isHidden() && !d->ui->radioButton_6->isHidden());
    QVERIFY(d->plotVsPrec && d->ui->label_12->isHidden() && !d->ui->radioButton_8->isHidden() && d->firstPlotVsPrec);
    QCOMPARE(calls, (QVector<ChartCall>{{ActivityTab::Temperature, true, false}}));
    // Chosen again: a new plot in the same cell, the old one gone with its items.
    QPointer<QwtPlot> old = d->plotVsTemp;
    d->ui->pushButton_11->click();
    QVERIFY(old.isNull() && d->plotVsTemp);
    QCOMPARE(d->ui->gridLayout_14->itemAtPosition(0, 2)->widget(), d->plotVsTemp);

    // The wind path is stored only after the format dialog's Ok.
    const QString wind = path() + QStringLiteral("/wind.txt");
    dialogs.fileAnswers << wind << wind;
    calls.clear();
    answerDialog<LoadWindDialog>([](LoadWindDialog &format) { format.reject(); });
    d->ui->pushButton_17->click();
    QVERIFY(!stored("Files", "windSpeedFile").isValid() && storedKeys("WindDataSettings").isEmpty());
    QVERIFY(calls.isEmpty());
    answerDialog<LoadWindDialog>(
        [](LoadWindDialog &format) { format.ui->buttonBox->button(QDialogButtonBox::Ok)->click(); });
    d->ui->pushButton_17->click();
    QCOMPARE(stored("Files", "windSpeedFile").toString(), wind);
    QCOMPARE(storedKeys("WindDataSettings").size(), 8);
    QCOMPARE(calls, (QVector<ChartCall>{{ActivityTab::WindSpeed, true, false}}));
}

void TestPlotFolderDialog::classColours()
{
    addRow(QStringLiteral("01/06/24"), {"Nyc"});
    addRow(QStringLiteral("01/06/24"), {});
    addRow(QStringLiteral("02/06/24"), {"Pip"});
    writeSetting(SettingKeys::classColors, QVariantList{QColor(1, 2, 3, 40)});
    auto d = open();
    // The names the colour dialog lists and the first colour it shows; accepted or not.
    const auto ask = [&](bool accept) {
        QStringList shown;
        answerDialog<ColorDialog>([&](ColorDialog &colours) {
            const QTreeWidget *rows = colours.findChild<QTreeWidget *>();
            for (int i = 0; i < rows->topLevelItemCount(); ++i)
                shown << rows->topLevelItem(i)->text(0);
            shown << colours.getColors().at(0).name(QColor::HexArgb);
            accept ? colours.accept() : colours.reject();
        });
        calls.clear();
        d->ui->pushButton_18->click();
        return shown;
    };
    // The stored colour, at the charts' opacity.
    QCOMPARE(ask(true), (QStringList{"Nyc", "Pip", "Unassigned", "All Classes", "#7f010203"}));
    const QVariantList storedColours = readSetting(SettingKeys::classColors);
    QCOMPARE(storedColours.size(), 4);
    QCOMPARE(qvariant_cast<QColor>(storedColours.at(1)), QColor(255, 0, 0, 127));
    QCOMPARE(calls.size(), 1);

    list.clear();
    addRow(QStringLiteral("01/06/24"), {"Nyc", "Nyc", "Nyc", "Nyc"});
    QCOMPARE(ask(false), (QStringList{"Nyc", "#7f010203"})); // one class: no "All Classes"
    QVERIFY(calls.isEmpty() && readSetting(SettingKeys::classColors).size() == 4);
}

void TestPlotFolderDialog::dateEditsAndZoomFollowEachOther()
{
    auto d = open();
    QwtPlot *plot = d->plotVsTime;
    plot->setAxisScale(QwtPlot::xBottom, localMs(QDate(2024, 1, 1)), localMs(QDate(2025, 1, 1)));
    plot->setAxisScale(QwtPlot::yLeft, 0, 86400000);
    plot->replot();
    d->zoomerVsTime->setZoomBase();
    QSignalSpy zooms(d->zoomerVsTime, &QwtPlotZoomer::zoomed);

    // A narrow zoom first: the next one must not be clamped to its range.
    d->zoomerVsTime->zoom(QRectF(QPointF(localMs(QDate(2024, 1, 1)), 0), QPointF(localMs(QDate(2024, 1, 10)), 8e7)));
    zooms.clear();
    d->zoomerVsTime->zoom(QRectF(QPointF(localMs(QDate(2024, 3, 3)), 0), QPointF(localMs(QDate(2024, 4, 20)), 8e7)));
    QCOMPARE(zooms.count(), 1);
    QCOMPARE(d->ui->dateEditStart->date(), QDate(2024, 3, 3));
    QCOMPARE(d->ui->dateEditStart->maximumDate(), QDate(2024, 4, 19));
    QCOMPARE(d->ui->dateEditStop->date(), QDate(2024, 4, 20));
    QCOMPARE(d->ui->dateEditStop->minimumDate(), QDate(2024, 3, 4));

    // A date typed in: back to the base, then one zoom to the new edge.
    zooms.clear();
    d->ui->dateEditStart->setDate(QDate(2024, 3, 10));
    QCOMPARE(zooms.count(), 2);
    QCOMPARE(d->zoomerVsTime->zoomRect().left(), localMs(QDate(2024, 3, 10)));
    QCOMPARE(d->zoomerVsTime->zoomRect().right(), localMs(QDate(2024, 4, 20)));
    QCOMPARE(d->ui->dateEditStop->minimumDate(), QDate(2024, 3, 11));
}

// Under TZ=UTC (the second run) the system zone itself is not offered: the
// box shows none, and Close stores nothing the user did not change. A zone no
// one knows, among every setting, is shown as the machine's, said once, and
// stays until a zone is chosen.
void TestPlotFolderDialog::zoneNotOfferedKeepsItsId()
{
    const bool utc = QTimeZone::systemTimeZoneId() == "UTC";
    ScriptedDialogs dialogs;
    QByteArray text;
    if (!utc) {
        storeEverySetting();
        text = withLines(settingsFileBytes(), {"TimeZone=Mars/Olympus"});
        writeSettingsFileBytes(text);
        dialogs.expectMessages();
    }
    auto d = open();
    if (utc)
        QCOMPARE(d->ui->comboBox->currentIndex(), -1);
    QCOMPARE(d->chosenTimeZone(), utc ? QTimeZone("UTC") : TimeZoneChoiceList::systemZone());
    d->ui->buttonBox->button(QDialogButtonBox::Close)->click();
    QCOMPARE(settingsFileBytes(), text);
    // A zone chosen afterwards is stored with its own id.
    const int other = d->ui->comboBox->currentIndex() == 0 ? 1 : 0;
    d->ui->comboBox->setCurrentIndex(other);
    QCOMPARE(stored("Time", "TimeZone").toByteArray(), d->timeZones.at(other).id());
    QCOMPARE(d->chosenTimeZone(), d->timeZones.at(other));
}

void TestPlotFolderDialog::storedZoneOutsideTheListIsShown()
{
    // Missing from this platform's list of ids, and under TZ=UTC0 the system zone is named "UTC" and not offered.
    const QByteArray id("Etc/UTC");
    writeFolderSetting(path(), FolderSettings::timeZone, id);
    writeFolderSetting(path(), FolderSettings::windDataTimeZone, id);
    auto d = open();
    QCOMPARE(TimeZoneChoiceList::idAt(d->timeZones, d->ui->comboBox->currentIndex(), QByteArray()), id);
    LoadWindDialog wind(nullptr, path(), path());
    QCOMPARE(TimeZoneChoiceList::idAt(wind.timeZones, wind.ui->comboBox_2->currentIndex(), QByteArray()), id);
}

QUILLON_TEST(TestPlotFolderDialog)
#include "tst_plotfolderdialog.moc"
