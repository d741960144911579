#include "testregistry.h"

#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "guitest.h"
#include "platform/taskbarbutton.h"
#include "platform/taskbarprogress.h"

#include <QAbstractButton>
#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QMetaMethod>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

QStringList capturedWarnings;
QtMessageHandler previousHandler = nullptr;

void captureWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg)
        capturedWarnings << message;
    if (previousHandler)
        previousHandler(type, context, message);
}

// Texts of a menu's entries in order; a separator is "-", a submenu its title.
QStringList entries(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            texts << QStringLiteral("-");
        else
            texts << action->text();
    }
    return texts;
}

QStringList headerTexts(const QTreeWidget *tree)
{
    QStringList texts;
    for (int column = 0; column < tree->columnCount(); ++column)
        texts << tree->headerItem()->text(column);
    return texts;
}

} // namespace

class TestMainWindow : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void construction_setsApplicationIdentity();
    void construction_bindsEveryFormSlot();
    void form_everyActionHasItsHandler();
    void form_actionStates_data();
    void form_actionStates();
    void menus_data();
    void menus();
    void menuBar_order();
    void trees_data();
    void trees();
    void form_texts_data();
    void form_texts();
    void layout_classTreeKeepsItsWidth();
    void start_hiddenAndDisabled();
    void start_geometryCentredOnScreen();
    void start_levelRangeIsDefined();
    void start_ownsSettingsDialog();
    void progress_reachesBarAndTaskbar();
    void storedSettings_data();
    void storedSettings();
    void metaTypes_coverCrossThreadSignals();
};

void TestMainWindow::construction_setsApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Somebody"));
    QCoreApplication::setApplicationName(QStringLiteral("Something"));
    MainWindow window;
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Harmonvale"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quillon"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Quillon"));
    QVERIFY(window.acceptDrops());
}

void TestMainWindow::construction_bindsEveryFormSlot()
{
    capturedWarnings.clear();
    previousHandler = qInstallMessageHandler(captureWarnings);
    auto window = std::make_unique<MainWindow>();
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;

    for (const QString &warning : qAsConst(capturedWarnings))
        QVERIFY2(!warning.contains(QLatin1String("connectSlotsByName")), qPrintable(warning));

    // The warning names only slots without a sender; check each slot against its object and signal too.
    const QMetaObject *meta = window->metaObject();
    int formSlots = 0;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod slot = meta->method(i);
        const QByteArray name = slot.name();
        if (slot.methodType() != QMetaMethod::Slot || !name.startsWith("on_"))
            continue;
        ++formSlots;
        const int split = name.lastIndexOf('_');
        const QString objectName = QString::fromLatin1(name.mid(3, split - 3));
        const QByteArray signalName = name.mid(split + 1);
        const QObject *sender = window->findChild<QObject *>(objectName);
        QVERIFY2(sender, qPrintable(QStringLiteral("no object for ") + QString::fromLatin1(slot.methodSignature())));
        bool matched = false;
        const QMetaObject *senderMeta = sender->metaObject();
        for (int j = 0; j < senderMeta->methodCount() && !matched; ++j) {
            const QMetaMethod signal = senderMeta->method(j);
            matched = signal.methodType() == QMetaMethod::Signal && signal.name() == signalName
                      && QMetaObject::checkConnectArgs(signal, slot);
        }
        QVERIFY2(matched, qPrintable(QStringLiteral("no signal for ") + QString::fromLatin1(slot.methodSignature())));
    }
    // 26 actions, 4 navigation buttons, 2 tool buttons, 2 splitters, 7 tree slots.
    QCOMPARE(formSlots, 41);
}

void TestMainWindow::form_everyActionHasItsHandler()
{
    MainWindow window;
    const QList<QAction *> actions = window.findChildren<QAction *>(QRegularExpression(QStringLiteral("^action")));
    QCOMPARE(actions.size(), 26);
    for (const QAction *action : actions) {
        const QByteArray plain = "on_" + action->objectName().toLatin1() + "_triggered()";
        const QByteArray checked = "on_" + action->objectName().toLatin1() + "_triggered(bool)";
        const QMetaObject *meta = window.metaObject();
        const bool found = meta->indexOfSlot(plain) >= 0 || meta->indexOfSlot(checked) >= 0;
        QVERIFY2(found, qPrintable(action->objectName()));
        // A checkable action reports its new state; the others have nothing to report.
        if (meta->indexOfSlot(checked) >= 0)
            QVERIFY2(action->isCheckable(), qPrintable(action->objectName()));
        // Every key of the program goes through the event filter, none through an action.
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->objectName()));
    }
}

void TestMainWindow::form_actionStates_data()
{
    // Grid, categorization and the markers are checked by the form but then
    // follow the store (see storedSettings); the theme actions follow "theme".
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("hasIcon");
    QTest::newRow("open file") << "actionOpen_File" << false << false << true;
    QTest::newRow("open folder") << "actionOpen_Folder" << false << false << true;
    QTest::newRow("time axis plot") << "actionAmplitude_Plot" << true << true << false;
    QTest::newRow("frequency axis plot") << "actionFrequency_Axis_Plot" << true << true << false;
    QTest::newRow("marker 1") << "actionFrequency_Marker_1" << true << false << false;
    QTest::newRow("marker 2") << "actionFrequency_Marker_2" << true << false << false;
    QTest::newRow("marker 3") << "actionFrequency_Marker_3" << true << false << false;
    QTest::newRow("grid") << "actionGrid" << true << false << false;
    QTest::newRow("categorization") << "actionCategorization" << true << false << false;
    QTest::newRow("windows theme") << "actionWindows_Theme" << true << true << false;
    QTest::newRow("light theme") << "actionLight_Theme" << true << false << false;
    QTest::newRow("dark theme") << "actionDark_Theme" << true << false << false;
    QTest::newRow("spectrogram settings icon") << "actionSpectrogram_Settings" << false << false << true;
    QTest::newRow("axis plots settings icon") << "actionAxis_Plots_Settings" << false << false << true;
    QTest::newRow("audio settings icon") << "actionAudio_Settings" << false << false << true;
    QTest::newRow("export csv") << "actionExport_CSV_File" << false << false << false;
    QTest::newRow("about") << "actionAbout" << false << false << false;
}

void TestMainWindow::form_actionStates()
{
    // With an empty store.
    QFETCH(QString, name);
    QFETCH(bool, checkable);
    QFETCH(bool, checked);
    QFETCH(bool, hasIcon);
    MainWindow window;
    const QAction *action = window.findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->isCheckable(), checkable);
    QCOMPARE(action->isChecked(), checked);
    // An icon whose resource is missing has no size at all.
    QCOMPARE(!action->icon().availableSizes().isEmpty(), hasIcon);
}

void TestMainWindow::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("file") << "menuFile"
                          << "File" << QStringList{"Open File", "Open Folder"};
    QTest::newRow("evaluation") << "menuEvaluation"
                                << "Evaluation"
                                << QStringList{"Manual Folder Evaluation",
                                               "Manual Review of ZEVEDADI VOD Offline Analysis",
                                               "Tavron Folder Evaluation", "-", "Activity Plots"};
    QTest::newRow("export") << "menuExport"
                            << "Export"
                            << QStringList{"Export Time Axis Plot",
                                           "Export Frequency Axis Plot",
                                           "Export Spectrogram",
                                           "-",
                                           "Export CSV File",
                                           "Export Tavron File",
                                           "-",
                                           "Copy Files to other Folder"};
    QTest::newRow("settings") << "menuSettings"
                              << "Settings"
                              << QStringList{"Spectrogram Settings", "Axis Plots Settings", "Audio Settings"};
    QTest::newRow("view") << "menuView"
                          << "View"
                          << QStringList{"Time Axis Plot",
                                         "Frequency Axis Plot",
                                         "Frequency Marker 1",
                                         "Frequency Marker 2",
                                         "Frequency Marker 3",
                                         "Grid",
                                         "Categorization",
                                         "-",
                                         "Theme"};
    QTest::newRow("theme submenu") << "menuTheme"
                                   << "Theme" << QStringList{"Windows Theme (Default)", "Light Theme", "Dark Theme"};
    QTest::newRow("help") << "menu"
                          << "?" << QStringList{"About"};
}

void TestMainWindow::menus()
{
    QFETCH(QString, menu);
    QFETCH(QString, title);
    QFETCH(QStringList, entries);
    MainWindow window;
    const QMenu *found = window.findChild<QMenu *>(menu);
    QVERIFY(found);
    QCOMPARE(found->title(), title);
    QCOMPARE(::entries(found), entries);
}

void TestMainWindow::menuBar_order()
{
    MainWindow window;
    QStringList titles;
    for (const QAction *action : window.menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, (QStringList{"File", "Evaluation", "Export", "Settings", "View", "?"}));
    QCOMPARE(window.menuBar()->objectName(), QStringLiteral("menuBar"));
}

void TestMainWindow::trees_data()
{
    const QStringList fileHeaders{"Name",    "Date",    "Time",    "Length in s", "Proposal", "",
                                  "Class 1", "Class 2", "Class 3", "Class 4",     "Comment"};
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("hiddenColumns");
    QTest::addColumn<QList<int>>("widths"); // column, width pairs
    QTest::newRow("class tree") << "treeWidget" << QStringList{"Class", "Count", "Shortcut", ""} << QList<int>{}
                                << QList<int>{0, 150, 1, 40, 2, 50, 3, 30};
    QTest::newRow("file list") << "treeWidget_fileView" << fileHeaders << QList<int>{4, 5} << QList<int>{5, 15};
    QTest::newRow("second file list") << "treeWidget_2" << fileHeaders << QList<int>{4, 5} << QList<int>{};
}

void TestMainWindow::trees()
{
    QFETCH(QString, tree);
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, hiddenColumns);
    QFETCH(QList<int>, widths);
    MainWindow window;
    QTreeWidget *widget = window.findChild<QTreeWidget *>(tree);
    QVERIFY(widget);
    QCOMPARE(headerTexts(widget), headers);
    QCOMPARE(widget->contextMenuPolicy(), Qt::CustomContextMenu);
    for (int column = 0; column < widget->columnCount(); ++column)
        QCOMPARE(widget->isColumnHidden(column), hiddenColumns.contains(column));
    for (int i = 0; i + 1 < widths.size(); i += 2) {
        // A hidden column shows its width again when it is shown; a header
        // that needs more in the desktop's font widens its column.
        widget->showColumn(widths[i]);
        QCOMPARE(widget->columnWidth(widths[i]), qMax(widths[i + 1], widget->header()->sectionSizeHint(widths[i])));
    }
    if (tree == QLatin1String("treeWidget_fileView"))
        QCOMPARE(widget->header()->sectionResizeMode(5), QHeaderView::Fixed);
}

void TestMainWindow::form_texts_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("drop hint") << "centralWidget" << QByteArray("toolTip") << QVariant("Drag'n'drop file/s or folder");
    QTest::newRow("spectrogram progress")
        << "progressBar" << QByteArray("format") << QVariant("Calculating spectrogram (%p%)");
    QTest::newRow("second list progress") << "progressBar_2" << QByteArray("format") << QVariant("Loading...");
    QTest::newRow("previous file") << "pushButton_7" << QByteArray("toolTip") << QVariant("Load previous file");
    QTest::newRow("next file") << "pushButton_8" << QByteArray("toolTip") << QVariant("Load next file");
    QTest::newRow("next file, second list") << "pushButton_4" << QByteArray("toolTip") << QVariant("Load next file");
    QTest::newRow("navigation buttons show icons only") << "pushButton_8" << QByteArray("text") << QVariant("");
    QTest::newRow("plots splitter keeps its panes")
        << "splitter" << QByteArray("childrenCollapsible") << QVariant(false);
}

void TestMainWindow::form_texts()
{
    QFETCH(QString, object);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);
    MainWindow window;
    const QObject *found = window.findChild<QObject *>(object);
    QVERIFY(found);
    const QVariant actual = found->property(property.constData());
    QVERIFY(actual.isValid());
    QCOMPARE(actual.toString(), expected.toString());
}

void TestMainWindow::layout_classTreeKeepsItsWidth()
{
    MainWindow window;
    window.findChild<QWidget *>(QStringLiteral("groupBox_6"))->show();
    const QWidget *classTree = window.findChild<QWidget *>(QStringLiteral("treeWidget"));
    const QWidget *fileList = window.findChild<QWidget *>(QStringLiteral("treeWidget_fileView"));
    // 290 px, or more where the desktop's font widens its columns; the same at every window width.
    int treeWidth = -1;
    for (int width : {800, 1400}) {
        window.resize(width, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(window.width(), width);
        if (treeWidth < 0)
            treeWidth = classTree->width();
        QCOMPARE(classTree->width(), treeWidth);
        QVERIFY(treeWidth >= 290);
        // The file list takes what the class tree, progress bar and buttons leave.
        QVERIFY2(fileList->width() > width - treeWidth - 200, qPrintable(QString::number(fileList->width())));
    }
    // Each tool and navigation button shows the light icon the window gave it.
    for (const char *name :
         {"toolButton", "toolButton_2", "pushButton_3", "pushButton_4", "pushButton_7", "pushButton_8"}) {
        const auto *button = window.findChild<QAbstractButton *>(QLatin1String(name));
        QVERIFY2(!button->icon().availableSizes().isEmpty(), name);
    }
}

void TestMainWindow::start_hiddenAndDisabled()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char *name : {"frame_4", "groupBox_4", "groupBox_6", "groupBox_8", "progressBar", "statusBar"}) {
        const QWidget *widget = window.findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(widget, name);
        QVERIFY2(!widget->isVisible(), name);
    }
    QVERIFY(window.menuBar()->isVisible());
    QVERIFY(!window.taskbarProgress->isVisible());
    QCOMPARE(window.taskbarButton->progress(), window.taskbarProgress);

    const QStringList disabled{"actionExport_Amplitude_Plot", "actionExport_Frequency_Plot",
                               "actionExport_Spectrogram",    "actionExport_CSV_File",
                               "actionExport_Tavron_File",    "actionCopy_Files_to_other_Folder",
                               "actionActivity_Plot"};
    for (const QAction *action : window.findChildren<QAction *>(QRegularExpression(QStringLiteral("^action"))))
        QCOMPARE(action->isEnabled(), !disabled.contains(action->objectName()));
}

void TestMainWindow::start_geometryCentredOnScreen()
{
    MainWindow window;
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(window.geometry().size(), QSize(500, 300));
    // Centred: equal room left and right, above and below (to the pixel Qt rounds to).
    const int left = window.geometry().left() - available.left();
    const int right = available.right() - window.geometry().right();
    const int top = window.geometry().top() - available.top();
    const int bottom = available.bottom() - window.geometry().bottom();
    QVERIFY2(qAbs(left - right) <= 1, qPrintable(QStringLiteral("%1 vs %2").arg(left).arg(right)));
    QVERIFY2(qAbs(top - bottom) <= 1, qPrintable(QStringLiteral("%1 vs %2").arg(top).arg(bottom)));
}

void TestMainWindow::start_levelRangeIsDefined()
{
    // The automatic level range stores these as the settings dialog's limits,
    // even before any spectrogram: they must be the dialog's own defaults.
    MainWindow window;
    QCOMPARE(window.spectroMinDb, -100.0);
    QCOMPARE(window.spectroMaxDb, -33.0);
    QCOMPARE(window.amplitudeAxisLimit, 1.0f);
    QVERIFY(window.firstPlot);
    QVERIFY(!window.calculating);
    QVERIFY(window.audioPending);
    QVERIFY(window.wavFile);
    QVERIFY(window.rawFile);
    QVERIFY(window.progressDialog == nullptr);
}

void TestMainWindow::start_ownsSettingsDialog()
{
    MainWindow window;
    QVERIFY(window.spectroSettingsDialog);
    QCOMPARE(window.spectroSettingsDialog->parent(), &window);
    QVERIFY(!window.spectroSettingsDialog->isVisible());
    QCOMPARE(window.findChildren<SpectrogramSettingsDialog *>().size(), 1);
}

void TestMainWindow::progress_reachesBarAndTaskbar()
{
    MainWindow window;
    emit window.signalProgress(42);
    QCOMPARE(window.findChild<QProgressBar *>(QStringLiteral("progressBar"))->value(), 42);
    QCOMPARE(window.taskbarProgress->value(), 42);
}

void TestMainWindow::storedSettings_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<QStringList>("checkedViewActions");
    QTest::addColumn<QString>("checkedThemeAction"); // empty: none
    QTest::addColumn<QVariant>("themeAfterStart");

    QTest::newRow("empty store") << QVariantMap{} << QStringList{} << "actionWindows_Theme" << QVariant(0);
    QTest::newRow("grid and categorization")
        << QVariantMap{{"grid", true}, {"categorization", true}} << QStringList{"actionGrid", "actionCategorization"}
        << "actionWindows_Theme" << QVariant(0);
    QTest::newRow("marker 2 only") << QVariantMap{{"marker2", true}} << QStringList{"actionFrequency_Marker_2"}
                                   << "actionWindows_Theme" << QVariant(0);
    QTest::newRow("all markers, theme light")
        << QVariantMap{{"marker1", true}, {"marker2", true}, {"marker3", true}, {"theme", 1}}
        << QStringList{"actionFrequency_Marker_1", "actionFrequency_Marker_2", "actionFrequency_Marker_3"}
        << "actionLight_Theme" << QVariant(1);
    QTest::newRow("stored false stays off")
        << QVariantMap{{"grid", false}, {"marker1", false}} << QStringList{} << "actionWindows_Theme" << QVariant(0);
    QTest::newRow("theme dark") << QVariantMap{{"theme", 2}} << QStringList{} << "actionDark_Theme" << QVariant(2);
    QTest::newRow("theme out of range") << QVariantMap{{"theme", 7}} << QStringList{} << "" << QVariant(7);
}

void TestMainWindow::storedSettings()
{
    QFETCH(QVariantMap, stored);
    QFETCH(QStringList, checkedViewActions);
    QFETCH(QString, checkedThemeAction);
    QFETCH(QVariant, themeAfterStart);
    {
        QSettings settings;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }
    MainWindow window;
    // The form checks all of these; the store decides.
    for (const char *name : {"actionGrid", "actionCategorization", "actionFrequency_Marker_1",
                             "actionFrequency_Marker_2", "actionFrequency_Marker_3"}) {
        const QAction *action = window.findChild<QAction *>(QLatin1String(name));
        QCOMPARE(action->isChecked(), checkedViewActions.contains(QLatin1String(name)));
    }
    for (const char *name : {"actionWindows_Theme", "actionLight_Theme", "actionDark_Theme"}) {
        const QAction *action = window.findChild<QAction *>(QLatin1String(name));
        QCOMPARE(action->isChecked(), checkedThemeAction == QLatin1String(name));
        QVERIFY(action->actionGroup());
        QVERIFY(action->actionGroup()->isExclusive());
    }
    QCOMPARE(QSettings().value(QStringLiteral("theme")).toInt(), themeAfterStart.toInt());

    // One group: checking another theme unchecks the one the store chose.
    window.findChild<QAction *>(QStringLiteral("actionDark_Theme"))->setChecked(true);
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("actionWindows_Theme"))->isChecked());
    QVERIFY(!window.findChild<QAction *>(QStringLiteral("actionLight_Theme"))->isChecked());
}

void TestMainWindow::metaTypes_coverCrossThreadSignals()
{
    // Every request the window sends to a worker crosses threads, so each
    // argument type must be known to the meta-type system before it is queued.
    registerMetaTypes();
    const QMetaObject &meta = MainWindow::staticMetaObject;
    int checked = 0;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod signal = meta.method(i);
        if (signal.methodType() != QMetaMethod::Signal)
            continue;
        for (const QByteArray &type : signal.parameterTypes()) {
            QVERIFY2(QMetaType::type(type.constData()) != QMetaType::UnknownType,
                     qPrintable(QString::fromLatin1(signal.methodSignature() + ": " + type)));
            ++checked;
        }
    }
    QVERIFY(checked > 0);
}

QUILLON_TEST(TestMainWindow)
#include "tst_mainwindow.moc"
