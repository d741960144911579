#include "testregistry.h"

#include "app/mainwindow.h"
#include "common/evaluationmode.h"
#include "evaluationfolder.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_series_data.h>

#include <memory>

namespace {

// 250 kHz, 1 s: quick to calculate.
QString recording()
{
    return QDir(testsupport::testDataDir()).filePath(QStringLiteral("Barbastelle.wav"));
}

QSplitter *splitter(const MainWindow &w, const char *name)
{
    return w.findChild<QSplitter *>(QLatin1String(name));
}

// A layout as a splitter of two panes with these sizes stores it.
QByteArray layoutOf(Qt::Orientation orientation, const QList<int> &sizes)
{
    QSplitter splitter(orientation);
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    splitter.setSizes(sizes);
    return splitter.saveState();
}

// Lets pending resizes and layout requests run, so that the splitters have
// their final lengths before and after they are shared out anew.
void settleLayouts()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Sets the first panes of a splitter and gives the last one the rest of its present length.
QList<int> reshare(QSplitter *splitter, QList<int> firsts)
{
    int rest = 0;
    for (int size : splitter->sizes())
        rest += size;
    for (int size : firsts)
        rest -= size;
    splitter->setSizes(firsts << rest);
    return splitter->sizes();
}

// Data that counts its own deletion: an item deletes what it holds when it goes itself.
struct CountedCurveData : QwtPointSeriesData {
    explicit CountedCurveData(int *deleted)
        : deleted(deleted)
    {
    }
    ~CountedCurveData() override { ++*deleted; }
    int *deleted;
};

struct CountedRaster : QwtMatrixRasterData {
    explicit CountedRaster(int *deleted)
        : deleted(deleted)
    {
    }
    ~CountedRaster() override { ++*deleted; }
    int *deleted;
};

} // namespace

class TestTeardown : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void noRecordingShown_leavesStoredLayout();
    void layout_roundTripThroughTheStore_data();
    void layout_roundTripThroughTheStore();
    void layout_storedOffEveryScreen_opensInSight();
    void layout_storedLargerThanTheScreen_fitsIt();
    void closingWhileCalculating_endsTheWorkersCleanly();
    void itemsOffThePlots_goWithTheWindow();
    void shownEvaluationList_goesWithTheWindow();
};

void TestTeardown::noRecordingShown_leavesStoredLayout()
{
    const QVariantMap stored{{"geometry", QRect(10, 20, 800, 600)},
                             {"maximized", true},
                             {"splitterTimePlotSizes", layoutOf(Qt::Vertical, {120, 380})},
                             {"splitterFrequencyPlotSizes", layoutOf(Qt::Horizontal, {150, 600})},
                             {"splitterMainSizes", layoutOf(Qt::Vertical, {500, 200})}};
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QSettings().setValue(it.key(), it.value());
    {
        auto window = testsupport::exposedWindow();
        QVERIFY(window);
        window->resize(640, 480);
    }
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QCOMPARE(QSettings().value(it.key()), it.value());
}

void TestTeardown::layout_roundTripThroughTheStore_data()
{
    QTest::addColumn<bool>("maximized");
    QTest::newRow("normal window") << false;
    QTest::newRow("maximized: the normal geometry is kept") << true;
}

void TestTeardown::layout_roundTripThroughTheStore()
{
    QFETCH(bool, maximized);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QRect geometry;
    // A folder, so that its list shares the window with the plots: the split between them is kept too.
    QTemporaryDir folder;
    QStringList recordings;
    for (const char *name : {"Barbastelle.wav", "Natterers.wav"}) {
        recordings << folder.filePath(QLatin1String(name));
        QVERIFY(QFile::copy(QDir(testsupport::testDataDir()).filePath(QLatin1String(name)), recordings.last()));
    }
    const auto openFolder = [&](MainWindow &window) {
        // The test screen is 800 x 600 px: the least window with the list as
        // tall as its pane asks would fill it, and leave no split to choose.
        window.widgets.folderPane->setMinimumHeight(60);
        testsupport::dropFiles(window, recordings);
        return testsupport::waitUntil([&] { return !window.calculating && !window.loadingFileInfo; });
    };
    QList<int> timeSizes, frequencySizes, mainSizes;
    {
        auto window = testsupport::exposedWindow();
        QVERIFY(window);
        QVERIFY(openFolder(*window));
        QVERIFY(!window->firstPlot);
        // Inside the screen with room for a frame, whatever its size, and no
        // smaller than the window goes: a larger one would be fitted to the screen.
        const int height = qBound(window->minimumHeight(), available.height() - 40, available.height());
        geometry = QRect(available.left() + 12, available.top() + (available.height() - height) / 2,
                         available.width() - 30, height);
        window->setGeometry(geometry);
        QTRY_COMPARE(window->geometry(), geometry);
        settleLayouts();
        // The plots a little taller than they need, the folder list below them
        // (the evaluation list hidden); the panes a little above what they need
        // for their axis titles.
        QSplitter *main = splitter(*window, "splitter");
        QVERIFY(main->widget(2)->isVisible());
        const int plotsPane = main->widget(0)->minimumSizeHint().height() + 23;
        reshare(main, {plotsPane, 0});
        settleLayouts();
        const int timePane = splitter(*window, "splitter_2")->widget(0)->minimumHeight() + 10;
        const int frequencyPane = splitter(*window, "splitter_3")->widget(0)->minimumWidth() + 41;
        reshare(splitter(*window, "splitter_2"), {timePane});
        reshare(splitter(*window, "splitter_3"), {frequencyPane});
        settleLayouts();
        QCOMPARE(splitter(*window, "splitter_2")->sizes().value(0), timePane);
        QCOMPARE(splitter(*window, "splitter_3")->sizes().value(0), frequencyPane);
        QVERIFY(qAbs(main->sizes().value(0) - plotsPane) <= 1);
        if (maximized) {
            window->showMaximized();
            QTRY_VERIFY(window->geometry() != geometry);
        }
        settleLayouts();
        timeSizes = splitter(*window, "splitter_2")->sizes();
        frequencySizes = splitter(*window, "splitter_3")->sizes();
        mainSizes = main->sizes();
    }
    QCOMPARE(QSettings().value(QStringLiteral("geometry")).toRect(), geometry);
    QCOMPARE(QSettings().value(QStringLiteral("maximized")).toBool(), maximized);

    // The next start puts it all back at its first recording, not before.
    auto window = testsupport::exposedWindow();
    QVERIFY(window);
    QVERIFY(window->geometry() != geometry);
    QVERIFY(openFolder(*window));
    QVERIFY(!window->firstPlot);
    QTRY_COMPARE(window->isMaximized(), maximized);
    QCOMPARE(window->normalGeometry(), geometry);
    settleLayouts();
    QCOMPARE(splitter(*window, "splitter")->sizes(), mainSizes);
    QCOMPARE(splitter(*window, "splitter_2")->sizes(), timeSizes);
    QCOMPARE(splitter(*window, "splitter_3")->sizes(), frequencySizes);
}

// A window closed on a screen since taken away comes back where it can be seen.
void TestTeardown::layout_storedOffEveryScreen_opensInSight()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Where the first start opens, on a screen of any size.
    QRect firstStart;
    {
        auto window = testsupport::exposedWindow();
        QVERIFY(window);
        window->plot_Data(recording());
        QVERIFY(testsupport::waitForSpectrogram(*window));
        firstStart = window->frameGeometry();
    }
    QVERIFY(screen.contains(firstStart));
    const QRect inSight = screen.adjusted(10, 10, -10, -10);
    for (const QRect &stored : {QRect(screen.right() + 2000, screen.bottom() + 1000, 760, 540), inSight}) {
        QSettings().setValue(QStringLiteral("geometry"), stored);
        auto window = testsupport::exposedWindow();
        QVERIFY(window);
        window->plot_Data(recording());
        QVERIFY(testsupport::waitForSpectrogram(*window));
        if (stored == inSight)
            QCOMPARE(window->geometry(), inSight); // a place on the screen is kept as it was
        else
            QCOMPARE(window->frameGeometry(), firstStart);
    }
}

// A size no screen has (a hand-edited store) opens as large as the screen, not past it.
void TestTeardown::layout_storedLargerThanTheScreen_fitsIt()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QSettings().setValue(QStringLiteral("geometry"),
                         QRect(screen.topLeft(), QSize(screen.width() * 4, screen.height() * 4)));
    auto window = testsupport::exposedWindow();
    QVERIFY(window);
    window->plot_Data(recording());
    QVERIFY(testsupport::waitForSpectrogram(*window));
    QVERIFY2(screen.contains(window->geometry()), qPrintable(QStringLiteral("%1 x %2 on %3 x %4")
                                                                 .arg(window->width())
                                                                 .arg(window->height())
                                                                 .arg(screen.width())
                                                                 .arg(screen.height())));
}

void TestTeardown::closingWhileCalculating_endsTheWorkersCleanly()
{
    // Each window is closed while its worker still reads the window's samples:
    // the threads must be ended and waited for before those go.
    for (int i = 0; i < 3; ++i) {
        QPointer<QThread> spectrogramThread;
        QPointer<QThread> headerThread;
        QPointer<QThread> copyThread;
        {
            MainWindow window;
            spectrogramThread = window.spectrogramThread;
            headerThread = window.fileInfoThread;
            copyThread = window.copyThread;
            QVERIFY(copyThread && copyThread->isRunning());
            QVERIFY(spectrogramThread && spectrogramThread->isRunning());
            window.plot_Data(recording());
            QVERIFY(window.calculating);
        }
        // Deleting a running QThread would have aborted the program.
        QVERIFY(!spectrogramThread);
        QVERIFY(!headerThread);
        QVERIFY(!copyThread);
    }
}

void TestTeardown::itemsOffThePlots_goWithTheWindow()
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.wav"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a recording") > 0);
    file.close();

    ScriptedDialogs dialogs; // answers the load failure
    dialogs.expectMessages();
    int deleted = 0;
    {
        MainWindow window;
        // A load that fails leaves the raster and the axis-plot curves off their plots.
        window.plot_Data(broken);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(!window.spectrogramItem->plot());
        QVERIFY(!window.timePlotCurve1->plot());
        QVERIFY(!window.frequencyPlotCurve->plot());
        window.timePlotCurve1->setData(new CountedCurveData(&deleted));
        window.frequencyPlotCurve->setData(new CountedCurveData(&deleted));
        auto *raster = new CountedRaster(&deleted);
        window.spectrogramItem->setData(raster);
        window.spectrogramData = raster;
    }
    QCOMPARE(deleted, 3);
}

// Destroyed while shown, the window hides its panes from its own destructor:
// the list, asked to place its widgets then, must make no accept box, here
// for the row that has just moved up into view.
void TestTeardown::shownEvaluationList_goesWithTheWindow()
{
    QTemporaryDir root;
    QList<QPair<QString, QString>> recordings;
    for (int i = 0; i < 60; ++i)
        recordings << qMakePair(QStringLiteral("rec%1.wav").arg(i, 2, 10, QLatin1Char('0')),
                                QStringLiteral("Nyc|Nyc|1|"));
    ScriptedDialogs dialogs;
    auto window = evaluationfolder::open(dialogs, evaluationfolder::makeFolder(root.path(), "night", recordings),
                                         EvaluationMode::Tavron);
    QVERIFY(window);
    QTreeWidget *list = window->ui->treeWidget_fileView;
    QTRY_VERIFY(list->itemWidget(list->topLevelItem(0), FileViewColumn::Accepted));
    QVERIFY(!list->itemWidget(list->topLevelItem(59), FileViewColumn::Accepted));
    delete list->topLevelItem(0);
    window.reset();
}

QUILLON_TEST(TestTeardown)
#include "tst_mainwindow_teardown.moc"
