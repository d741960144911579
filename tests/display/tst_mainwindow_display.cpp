#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/progressthrottle.h"
#include "display/myqwtzoomer.h"
#include "display/rangemarker.h"
#include "guitest.h"
#include "platform/taskbarprogress.h"
#include "recording/audiosamplereader.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_spectrogram.h>

#include <sys/stat.h>

#include <cmath>
#include <memory>

namespace {

// The settings file's inode and status-change time: every write of the store
// puts a new file in its place (whose inode may be the one freed a write
// before, but never with the same change time), so when both are unchanged
// nothing was written.
QString fileIdentity(const QString &path)
{
    struct stat info {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QString();
    return QStringLiteral("%1 %2.%3").arg(info.st_ino).arg(info.st_ctim.tv_sec).arg(info.st_ctim.tv_nsec);
}

// 40 kHz at -6 dBFS for 0.5 s at 250 kHz: 125000 samples.
QVector<int> toneSamples(double rate = 250000.0, double seconds = 0.5, double hz = 40000.0)
{
    return testsupport::SignalBuilder(rate, seconds).tone(hz, -6.0).samples();
}

} // namespace

class TestSpectrogramView : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void toneRecording();
    void progressReports_lastOneShownOnceBeforeTheReply();
    void silentRecording();
    void fixedLevelRange();
    void sameLevelRange_storeNotWrittenAgain();
    void failurePaths_data();
    void failurePaths();
    void failureAfterARecording_leavesNothingOfIt();
    void failureSaysWhereTheWalkStopped();
    void sizeWarningNamesTheFile();
    void unsupportedSuffix();
    void shorterThanOneWindow();
    void matrixTooLarge();
    void requestDuringCalculation();
    void exactNyquist();
    void lowRateRecording_keepsTheStoredLimits();
    void fixedAspectBeforeLayout();
    void overlapReduction_data();
    void overlapReduction();

private:
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestSpectrogramView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale::c());
}

void TestSpectrogramView::toneRecording()
{
    testsupport::WavWriter wav;
    wav.fmt(250000, 16).data(toneSamples(), 16).bext("Nyc + Pip|Nyc|0|by the pond");
    QVERIFY(wav.write(path("tone.wav")));

    ScriptedDialogs dialogs;
    MainWindow w;
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    w.plot_Data(path("tone.wav"));
    QCOMPARE(requests.count(), 1);
    QVERIFY(w.calculating);
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(requests.count(), 1);
    QVERIFY(dialogs.messages.isEmpty());

    // Default calculation settings: 1024-point window.
    QCOMPARE(requests.first().at(2).toInt(), 1024);
    QCOMPARE(requests.first().at(0).toInt(), 125000);

    const QwtMatrixRasterData *raster = w.spectrogramData;
    QCOMPARE(raster->interval(Qt::XAxis).minValue(), 0.0);
    QCOMPARE(raster->interval(Qt::XAxis).maxValue(), 0.5);
    QCOMPARE(raster->interval(Qt::YAxis).minValue(), 0.0);
    QCOMPARE(raster->interval(Qt::YAxis).maxValue(), 125.0);
    QCOMPARE(w.spectrogramItem->plot(), w.spectrogramPlot);

    // The tone's row is the brightest: row j holds bin j + 1 of 1024 points.
    const QVector<double> values = raster->valueMatrix();
    const int columns = raster->numColumns();
    const int rows = raster->numRows();
    QCOMPARE(rows, 512);
    QVERIFY(columns > 0);
    QCOMPARE(w.secondsPerColumn, float(0.5f / columns));
    int brightest = -1;
    double best = -1e300;
    double highest = -1e300;
    for (int r = 0; r < rows; ++r) {
        double sum = 0.0;
        for (int c = 0; c < columns; ++c) {
            sum += values[r * columns + c];
            highest = qMax(highest, values[r * columns + c]);
        }
        if (sum > best) {
            best = sum;
            brightest = r;
        }
    }
    const double binHz = 250000.0 / 1024.0;
    QVERIFY2(std::abs((brightest + 1) * binHz - 40000.0) <= binHz,
             qPrintable(QString::number((brightest + 1) * binHz)));

    QCOMPARE(w.windowTitle(), path("tone.wav") + QStringLiteral(" - Quillon"));
    // No TIME, wamd or GUANO chunk: date and time stay empty.
    QCOMPARE(w.ui->label_fileInfo->text(), QStringLiteral("16bit; 250000Hz; 0.500s; ; ; Nyc; Pip; by the pond"));

    // Level range: the worker reports levels up to 0 dB; the range is rounded outward.
    QCOMPARE(w.spectroMaxDb, std::ceil(qMin(highest, 0.0)));
    QVERIFY(w.spectroMinDb <= w.spectroMaxDb - 1.0);
    QCOMPARE(QSettings().value("lowerScaleLimit").toDouble(), w.spectroMinDb);
    QCOMPARE(QSettings().value("upperScaleLimit").toDouble(), w.spectroMaxDb);
    QCOMPARE(raster->interval(Qt::ZAxis).minValue(), w.spectroMinDb);
    QCOMPARE(raster->interval(Qt::ZAxis).maxValue(), w.spectroMaxDb);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yRight).minValue(), w.spectroMinDb);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yRight).maxValue(), w.spectroMaxDb);
    QVERIFY(w.ui->actionOpen_Folder->isEnabled());
    QVERIFY(w.ui->actionExport_Spectrogram->isEnabled());
}

void TestSpectrogramView::progressReports_lastOneShownOnceBeforeTheReply()
{
    // 1 s at 250 kHz: a few hundred blocks at the default settings, so the
    // worker reports progress about a hundred times.
    QVERIFY(testsupport::writeFile(path("second.wav"), testsupport::simplePcmWav(toneSamples(250000.0, 1.0), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    QList<int> bar;
    QList<int> taskbar;
    connect(w.ui->progressBar, &QProgressBar::valueChanged, [&bar](int value) { bar << value; });
    connect(w.taskbarProgress, &TaskbarProgress::valueChanged, [&taskbar](int value) { taskbar << value; });
    w.plot_Data(path("second.wav"));

    // Every report and the reply wait in the queue before the window takes the first of them.
    auto *gate = new QObject;
    gate->moveToThread(w.spectrogramThread);
    QMetaObject::invokeMethod(
        gate, []() {}, Qt::BlockingQueuedConnection);
    gate->deleteLater();
    QVERIFY(testsupport::waitForSpectrogram(w));

    // The worker's last report (99 % for a hundred blocks or more), then the reset.
    QCOMPARE(bar, QList<int>({99, 0}));
    QCOMPARE(taskbar, bar);
    // Nothing held back arrives after the reset.
    QVERIFY(!w.spectrogramProgress->hasPending());
    QVERIFY(!w.spectrogramProgress->isTimerActive());
    QVERIFY(dialogs.messages.isEmpty());
}

void TestSpectrogramView::silentRecording()
{
    QVERIFY(testsupport::writeFile(path("silence.wav"), testsupport::simplePcmWav(QVector<int>(50000, 0), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("silence.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QVERIFY(std::isfinite(w.spectroMinDb));
    QVERIFY(std::isfinite(w.spectroMaxDb));
    QVERIFY(w.spectroMaxDb >= w.spectroMinDb + 1.0);
    const double lower = QSettings().value("lowerScaleLimit").toDouble();
    const double upper = QSettings().value("upperScaleLimit").toDouble();
    QVERIFY(std::isfinite(lower) && std::isfinite(upper));
    QVERIFY(upper >= lower + 1.0);
}

void TestSpectrogramView::fixedLevelRange()
{
    QVERIFY(testsupport::writeFile(path("fixed.wav"), testsupport::simplePcmWav(toneSamples(), 250000)));
    QSettings().setValue("fixedZScale", true);
    QSettings().setValue("lowerScaleLimit", -50.0);
    QSettings().setValue("upperScaleLimit", -60.0); // below the lower limit
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("fixed.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(w.spectrogramData->interval(Qt::ZAxis).minValue(), -50.0);
    QCOMPARE(w.spectrogramData->interval(Qt::ZAxis).maxValue(), -49.0);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yRight).maxValue(), -49.0);
}

void TestSpectrogramView::sameLevelRange_storeNotWrittenAgain()
{
    QVERIFY(testsupport::writeFile(path("tone.wav"), testsupport::simplePcmWav(toneSamples(), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("tone.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    const QString store = QSettings().fileName();
    const QString first = fileIdentity(store);
    QVERIFY(!first.isEmpty());
    w.plot_Data(path("tone.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(QSettings().value("lowerScaleLimit").toDouble(), w.spectroMinDb);
    QCOMPARE(fileIdentity(store), first);
}

void TestSpectrogramView::failurePaths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");   // empty: the RAW reader's own error text
    QTest::addColumn<QString>("reason"); // under the text, after the file's path
    QTest::addColumn<double>("leftAxisTop");

    const QString notLoaded = QStringLiteral("The wav file could not be loaded");
    const auto wav = [&](const char *row, const char *name, const testsupport::WavWriter &w, const char *reason) {
        QTest::newRow(row) << name << w.bytes() << "Error" << notLoaded << reason << 150.0;
    };
    wav("wav without samples", "empty.wav", testsupport::WavWriter().fmt(250000, 16).data({}, 16),
        "The file holds no samples.");
    wav("wav that claims 0 Hz", "zero.WAV", testsupport::WavWriter().fmt(0, 16).data(toneSamples(), 16),
        "The format chunk gives a sample rate of 0 Hz.");
    wav("18-byte fmt chunk", "fmt18.wav", testsupport::WavWriter().fmt(250000, 16, 1, 1, 18).data(toneSamples(), 16),
        "FMT format not supported.");
    wav("floating-point data", "float.wav", testsupport::WavWriter().fmt(250000, 32, 1, 3).data(toneSamples(), 32),
        "Compression format not supported.");
    wav("two channels", "stereo.wav", testsupport::WavWriter().fmt(250000, 16, 2).data(toneSamples(), 16),
        "Not more than 1 channel supported.");
    QTest::newRow("not a RIFF file") << "text.wav" << QByteArray("just text, no chunks") << "Error" << notLoaded
                                     << "File is not a RIFF-WAV." << 150.0;
    QTest::newRow("empty raw file") << "empty.raw" << QByteArray() << "Error" << QString() << QString() << 100000.0;
}

void TestSpectrogramView::failurePaths()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    QFETCH(double, leftAxisTop);
    QVERIFY(testsupport::writeFile(path(name), bytes));
    if (text.isEmpty()) {
        AudioSampleReader reader;
        reader.load(path(name), false);
        text = reader.errorText;
        QVERIFY(!text.isEmpty());
    }

    ScriptedDialogs dialogs;
    MainWindow w;
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    dialogs.expectMessages();
    w.plot_Data(path(name));
    QCOMPARE(requests.count(), 0);
    QVERIFY(!w.calculating);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().title, title);
    QCOMPARE(dialogs.messages.first().text, text);
    QCOMPARE(dialogs.messages.first().informativeText,
             reason.isEmpty() ? path(name) : path(name) + QLatin1Char('\n') + reason);
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Critical);
    QCOMPARE(w.ui->label_fileInfo->text(), QStringLiteral("N/A"));
    // Nothing is being calculated, and the progress bar says nothing else.
    QVERIFY(!w.ui->progressBar->isTextVisible());
    QCOMPARE(w.ui->progressBar->value(), 0);
    QVERIFY(w.ui->actionOpen_File->isEnabled());
    QVERIFY(w.ui->actionOpen_Folder->isEnabled());
    QVERIFY(!w.firstPlot);
    QVERIFY(!w.spectrogramItem->plot());
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::xBottom).maxValue(), 1.0);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yLeft).maxValue(), leftAxisTop);
}

// Records what the window shows at the moment a message box opens.
class WindowAtMessage : public ScriptedDialogs
{
public:
    explicit WindowAtMessage(const MainWindow &w)
        : window(w)
    {
    }
    QMessageBox::StandardButton message(const MessageBoxRequest &request) override
    {
        titles << window.windowTitle();
        infoLines << window.ui->label_fileInfo->text();
        progressTexts << window.ui->progressBar->isTextVisible();
        return ScriptedDialogs::message(request);
    }
    const MainWindow &window;
    QStringList titles;
    QStringList infoLines;
    QList<bool> progressTexts;
};

void TestSpectrogramView::failureAfterARecording_leavesNothingOfIt()
{
    QDir().mkpath(path("other"));
    QVERIFY(testsupport::writeFile(path("good.wav"), testsupport::simplePcmWav(toneSamples(), 250000)));
    QVERIFY(testsupport::writeFile(path("other/bad.wav"), QByteArray("no chunks")));
    MainWindow w;
    WindowAtMessage dialogs(w);
    dialogs.expectMessages(2);
    w.plot_Data(path("good.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(w.windowTitle(), path("good.wav") + QStringLiteral(" - Quillon"));
    // As at the program's start, the bar says it calculates while it does.
    w.ui->progressBar->setTextVisible(true);

    w.plot_Data(path("other/bad.wav"));
    QCOMPARE(dialogs.titles, QStringList{QStringLiteral("Quillon")});
    QCOMPARE(dialogs.infoLines, QStringList{QString()});
    QCOMPARE(dialogs.progressTexts, QList<bool>{false});
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon"));

    // Nor does a file of no recording's kind leave the bits, rate and length of the one before.
    w.plot_Data(path("good.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QVERIFY(!w.ui->label_fileInfo->text().isEmpty());
    w.plot_Data(path("good.flac"));
    QCOMPARE(dialogs.titles.last(), QStringLiteral("Quillon"));
    QCOMPARE(w.ui->label_fileInfo->text(), QString());
}

// An odd chunk without its pad byte throws the walk off before the data (the
// pad byte read is the "d" of "data"): the reader has no error text, yet the
// box says where it stopped and which chunk threw it off.
void TestSpectrogramView::failureSaysWhereTheWalkStopped()
{
    testsupport::WavWriter wav;
    wav.fmt(250000, 16).chunk("LIST", "odd", false).data(toneSamples(), 16);
    QVERIFY(wav.write(path("unpadded.wav")));
    ScriptedDialogs dialogs;
    MainWindow w;
    dialogs.expectMessages();
    w.plot_Data(path("unpadded.wav"));
    QCOMPARE(dialogs.messages.size(), 1);
    const QString details = dialogs.messages.first().informativeText;
    QVERIFY2(details.startsWith(path("unpadded.wav") + QStringLiteral("\nThe chunk walk stopped at byte ")),
             qPrintable(details));
    QVERIFY2(details.contains(QStringLiteral("\"LIST\" at byte 36 has an odd size")), qPrintable(details));
}

// A recording that loads with a warning: the box names it, as the next recording may warn too.
void TestSpectrogramView::sizeWarningNamesTheFile()
{
    testsupport::WavWriter wav;
    wav.fmt(250000, 16).data(toneSamples(), 16).riffSize(1000);
    QVERIFY(wav.write(path("lying.wav")));
    ScriptedDialogs dialogs;
    MainWindow w;
    dialogs.expectMessages();
    w.plot_Data(path("lying.wav"));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().title, QStringLiteral("Warning"));
    QCOMPARE(dialogs.messages.first().text,
             path("lying.wav") + QStringLiteral("\nFile size in header not identical to real file size."));
    QVERIFY(testsupport::waitForSpectrogram(w));
}

void TestSpectrogramView::unsupportedSuffix()
{
    QVERIFY(testsupport::writeFile(path("tone.flac"), testsupport::simplePcmWav(toneSamples(), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    dialogs.expectMessages();
    w.plot_Data(path("tone.flac"));
    QCOMPARE(requests.count(), 0);
    QVERIFY(!w.calculating);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("File format not supported"));
    QCOMPARE(dialogs.messages.first().title, QString());
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::NoIcon);
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon"));
    QVERIFY(w.ui->actionOpen_File->isEnabled());
    QVERIFY(w.ui->actionEvaluate_Folder->isEnabled());
    QVERIFY(!w.spectrogramItem->plot());
}

void TestSpectrogramView::shorterThanOneWindow()
{
    // 300 samples, fewer than one 1024-point window.
    QVERIFY(
        testsupport::writeFile(path("short.wav"), testsupport::simplePcmWav(toneSamples(250000.0, 0.0012), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    dialogs.expectMessages();
    w.plot_Data(path("short.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QVERIFY(!w.spectrogramItem->plot());
    QCOMPARE(w.ui->label_fileInfo->text(), QStringLiteral("N/A"));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("The recording is too short for a spectrogram."));
    QCOMPARE(dialogs.messages.first().informativeText, path("short.wav"));
    QVERIFY(w.ui->actionOpen_File->isEnabled());
}

void TestSpectrogramView::matrixTooLarge()
{
    // 64-point frames one sample apart: 32 cells per sample, so 8.4e6 samples
    // give 2.7e8 cells, more than one reply can carry. Without the overlap
    // reduction the worker refuses, and the user must learn why.
    QSettings().setValue("windowSize", 5);
    QSettings().setValue("overlap", 0);
    QSettings().setValue("autoReduceOverlap", false);
    QVERIFY(testsupport::writeFile(path("huge.wav"), testsupport::simplePcmWav(QVector<int>(8400000, 0), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    dialogs.expectMessages();
    w.plot_Data(path("huge.wav"));
    QVERIFY(w.calculating);
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages.first().text,
             QStringLiteral("The spectrogram of this recording would be too large. Choose a smaller overlap."));
    QCOMPARE(dialogs.messages.first().informativeText, path("huge.wav"));
    QVERIFY(!w.spectrogramItem->plot());
    QCOMPARE(w.windowTitle(), QStringLiteral("Quillon"));
}

void TestSpectrogramView::requestDuringCalculation()
{
    QVERIFY(testsupport::writeFile(path("first.wav"), testsupport::simplePcmWav(toneSamples(), 250000)));
    QVERIFY(testsupport::writeFile(path("second.wav"),
                                   testsupport::simplePcmWav(toneSamples(250000.0, 0.25, 20000.0), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    w.plot_Data(path("first.wav"));
    w.plot_Data(path("second.wav"));
    // The running result keeps its own name.
    QCOMPARE(w.currentFileName, path("first.wav"));
    QCOMPARE(requests.count(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(requests.count() == 2 && !w.calculating, 20000);
    QCOMPARE(w.currentFileName, path("second.wav"));
    QCOMPARE(w.windowTitle(), path("second.wav") + QStringLiteral(" - Quillon"));
    QCOMPARE(w.spectrogramData->interval(Qt::XAxis).maxValue(), 0.25);
}

void TestSpectrogramView::exactNyquist()
{
    QVERIFY(
        testsupport::writeFile(path("cd.wav"), testsupport::simplePcmWav(toneSamples(44100.0, 0.5, 5000.0), 44100)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("cd.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(w.spectrogramData->interval(Qt::YAxis).maxValue(), 22.05);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yLeft).maxValue(), 22.05);
}

void TestSpectrogramView::lowRateRecording_keepsTheStoredLimits()
{
    const QVariantMap chosen{{"valueMarker1", 20.0},
                             {"valueMarker2", 45.0},
                             {"valueMarker3", 110.0},
                             {"lowerFrequencyLimit", 15},
                             {"upperFrequencyLimit", 120}};
    for (auto it = chosen.cbegin(); it != chosen.cend(); ++it)
        QSettings().setValue(it.key(), it.value());
    QSettings().setValue("fixedYScale", true);
    QVERIFY(
        testsupport::writeFile(path("low.wav"), testsupport::simplePcmWav(toneSamples(16000.0, 0.5, 3000.0), 16000)));
    QVERIFY(testsupport::writeFile(path("high.wav"), testsupport::simplePcmWav(toneSamples(), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;

    // The 8 kHz recording shows what it can of the fixed axis ...
    w.plot_Data(path("low.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yLeft).minValue(), 7.0);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yLeft).maxValue(), 8.0);
    // ... and the user's choices outlive it.
    for (auto it = chosen.cbegin(); it != chosen.cend(); ++it)
        QCOMPARE(qMakePair(it.key(), QSettings().value(it.key()).toDouble()), qMakePair(it.key(), it->toDouble()));

    w.plot_Data(path("high.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yLeft).minValue(), 15.0);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::yLeft).maxValue(), 120.0);
}

void TestSpectrogramView::fixedAspectBeforeLayout()
{
    // A canvas without height (a collapsed or not yet laid-out pane) gives no
    // aspect span: the whole recording is shown until a resize gives it a size.
    QSettings().setValue("fixedXScale", 2);
    QVERIFY(testsupport::writeFile(path("aspect.wav"), testsupport::simplePcmWav(toneSamples(), 250000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.spectrogramPlot->canvas()->resize(400, 0);
    w.plot_Data(path("aspect.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::xBottom).minValue(), 0.0);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::xBottom).maxValue(), 0.5);
    QVERIFY(!w.spectroScrollBar->isVisibleTo(&w));
}

void TestSpectrogramView::overlapReduction_data()
{
    QTest::addColumn<bool>("autoReduce");
    QTest::addColumn<double>("sentOverlap");
    QTest::addColumn<int>("storedIndex");
    // 2.7e6 samples, 2048-point window at 98.4375 %: 2016 samples overlap, a hop of
    // 33, floor(2697952 / 33) = 81756 frames x 1023 bins = 83.6e6 cells, over the
    // limit. At 96.875 % (hop 65): 41506 x 1023 = 42.5e6 cells.
    QTest::newRow("one step down, index raised by one") << true << 96.875 << 1;
    QTest::newRow("reduction switched off") << false << 98.4375 << 0;
}

void TestSpectrogramView::overlapReduction()
{
    QFETCH(bool, autoReduce);
    QFETCH(double, sentOverlap);
    QFETCH(int, storedIndex);
    const QString name = path(QStringLiteral("long.wav"));
    if (!QFileInfo::exists(name))
        QVERIFY(testsupport::writeFile(name, testsupport::simplePcmWav(QVector<int>(2700000, 0), 500000)));
    QSettings().setValue("windowSize", 0);
    QSettings().setValue("overlap", 0);
    QSettings().setValue("autoReduceOverlap", autoReduce);

    ScriptedDialogs dialogs;
    MainWindow w;
    // Only the request is looked at: the matrix itself would need hundreds of megabytes.
    QObject::disconnect(&w, &MainWindow::signalCalcSpektrogramm, nullptr, nullptr);
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    dialogs.expectMessages(autoReduce ? 1 : 0);
    w.plot_Data(name);
    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.first().at(2).toInt(), 2048);
    QCOMPARE(requests.first().at(5).toDouble(), sentOverlap);
    QCOMPARE(QSettings().value("overlap").toInt(), storedIndex);
    if (autoReduce) {
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().icon, QMessageBox::Information);
        QCOMPARE(dialogs.messages.first().text,
                 QStringLiteral("Current spectrogram matrix size is over the limit.\n Overlap for this "
                                "spectrogram calculation is reduced to 96.875%"));
    } else {
        QVERIFY(dialogs.messages.isEmpty());
    }
}

QUILLON_TEST(TestSpectrogramView)

// Scrolling and zooming the shown spectrogram: which stretch the axes show and
// which parts of the axis plots are shaded as lying outside it.
class TestViewSlots : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void scrollingMovesTheVisibleStretch();
    void zoomShadesWhatLiesOutside();

private:
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QTemporaryDir m_dir;
};

void TestViewSlots::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale::c());
}

void TestViewSlots::scrollingMovesTheVisibleStretch()
{
    // A fixed 1 s span over a 3 s recording; 1 ms columns put value 100 at 0.1 s.
    QSettings().setValue(QStringLiteral("fixedXScale"), 1);
    QSettings().setValue(QStringLiteral("fixedDuration"), 1.0);
    QVERIFY(testsupport::writeFile(
        path("long.wav"),
        testsupport::simplePcmWav(testsupport::SignalBuilder(50000, 3.0).tone(10000, -6).samples(), 50000)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("long.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    w.secondsPerColumn = 0.001f;

    w.spectroScrollBar_valueChanged(100);
    const double start = 100 * double(0.001f);
    for (QwtPlot *plot : std::initializer_list<QwtPlot *>{w.spectrogramPlot, w.timePlot}) {
        QCOMPARE(plot->axisInterval(QwtPlot::xBottom).minValue(), start);
        QCOMPARE(plot->axisInterval(QwtPlot::xBottom).maxValue(), start + 1.0);
    }
    QCOMPARE(w.timePlot->axisInterval(QwtPlot::xTop).minValue(), start);
    // The zoomer's way back leads to the scrolled stretch, not to the start.
    QCOMPARE(w.spectroZoomer->zoomBase().left(), start);
}

void TestViewSlots::zoomShadesWhatLiesOutside()
{
    // 3 s of RAW samples (always taken at 500 kHz): Nyquist 250 kHz.
    const QVector<int> samples = testsupport::SignalBuilder(500000, 3.0).tone(40000, -6).samples();
    QVERIFY(testsupport::writeFile(path("three.raw"), testsupport::WavWriter::pack(samples, 16)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.plot_Data(path("three.raw"));
    QVERIFY(testsupport::waitForSpectrogram(w));

    w.spectroZoomer->zoom(QRectF(QPointF(0.2, 20.0), QPointF(0.4, 60.0)));
    QVERIFY(w.spectroZoomer->zoomRectIndex() != 0);
    QVERIFY(!w.spectroScrollBar->isEnabled());
    const auto interval = [](const RangeMarker *m) {
        return qMakePair(m->intervalValue().minValue(), m->intervalValue().maxValue());
    };
    QCOMPARE(interval(w.timeRangeMarker1), qMakePair(0.0, 0.2));
    QCOMPARE(interval(w.timeRangeMarker2), qMakePair(0.4, 3.0));
    QCOMPARE(interval(w.frequencyRangeMarker1), qMakePair(0.0, 20.0));
    QCOMPARE(interval(w.frequencyRangeMarker2), qMakePair(60.0, 250.0));
    for (const RangeMarker *shade :
         {w.timeRangeMarker1, w.timeRangeMarker2, w.frequencyRangeMarker1, w.frequencyRangeMarker2})
        QVERIFY(shade->isVisible());

    w.spectroZoomer->zoom(0);
    QVERIFY(w.spectroScrollBar->isEnabled());
    for (const RangeMarker *shade :
         {w.timeRangeMarker1, w.timeRangeMarker2, w.frequencyRangeMarker1, w.frequencyRangeMarker2})
        QVERIFY(!shade->isVisible());
}

QUILLON_TEST(TestViewSlots)
#include "tst_mainwindow_display.moc"
