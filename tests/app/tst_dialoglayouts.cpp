#include "activity/colordialog.h"
#include "activity/invalidtimesdialog.h"
#include "activity/loadwinddialog.h"
#include "activity/plotfolderdialog.h"
#include "app/abouttext.h"
#include "app/mainwindow.h"
#include "app/screenfit.h"
#include "app/spectrogramsettingsdialog.h"
#include "assignment/assignsecondclassdialog.h"
#include "classmodel/changeshortcutdialog.h"
#include "classmodel/insertitemdialog.h"
#include "classmodel/openmodeldialog.h"
#include "classmodel/renamedialog.h"
#include "common/evaluationmode.h"
#include "dialogfit.h"
#include "export/changeyearsdialog.h"
#include "export/copyfilesdialog.h"
#include "export/exportcsvdialog.h"
#include "export/exporttavrondialog.h"
#include "export/exporttavrondialog2.h"
#include "filelist/reviewfolderdialog.h"
#include "guitest.h"
#include "testregistry.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

// Classes with a subclass, a long name and the two pseudo-classes, as an export lists them.
const QString classCounts =
    QStringLiteral("Nyctaloid\t1204\n\tNycLow\t310\nPipistrelloid\t77\nDetected No Call\t12\nUnassigned\t4051\n");

using DialogFactory = std::function<std::unique_ptr<QDialog>(const QString &folder, QTreeWidget *fileList)>;

template <class Dialog, class... Args>
DialogFactory made(Args... args)
{
    return [=](const QString &, QTreeWidget *) { return std::make_unique<Dialog>(nullptr, args...); };
}

// The dialog make builds, shown and laid out; null when it is not exposed.
std::unique_ptr<QDialog> shown(const DialogFactory &make, const QString &folder, QTreeWidget *fileList)
{
    std::unique_ptr<QDialog> dialog = make(folder, fileList);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get()))
        return nullptr;
    QCoreApplication::processEvents();
    return dialog;
}

} // namespace

Q_DECLARE_METATYPE(DialogFactory)

// Every dialog of the program and the main window's fixed texts in the
// desktop's font (DejaVu Sans here, wider than the font the forms were laid
// out for): no text may be cut, no column hidden under a neighbour, and every
// dialog fits a laptop's screen.
class TestDialogLayouts : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Guards the premise: a narrow fallback font would let the test pass on its own.
        QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("DejaVu Sans"));
    }

    void everyText_fitsItsWidget_data()
    {
        QTest::addColumn<DialogFactory>("make");
        QTest::newRow("CSV export") << made<exportcsvDialog>(classCounts, QString(), QString());
        QTest::newRow("copy by class") << made<CopyFilesDialog>(
            classCounts,
            QStringLiteral("All files which are assigned to at least one checked class\n are copied to "
                           "the selected folder."),
            QStringLiteral("Copy"));
        QTest::newRow("Tavron export") << made<ExportTavronDialog>(classCounts);
        QTest::newRow("Tavron classes") << made<ExportTavronDialog2>();
        QTest::newRow("years") << made<ChangeYearsDialog>(QList<int>{2019, 2020, 2021});
        QTest::newRow("invalid periods") << made<invalidTimesDialog>(
            QStringLiteral("28.09.2021 22:00-29.09.2021 04:00;30.12.2021 21:30-31.12.2021 05:15"));
        QTest::newRow("invalid periods, some unreadable") << made<invalidTimesDialog>(
            QStringLiteral("28.09.2021 22:00-29.09.2021 04:00;30.12.2021 21:30;31.12.2021 05:15-31.13.2021 06:00"));
        QTest::newRow("class colours") << made<ColorDialog>(
            QStringList{QStringLiteral("Nyctaloid"), QStringLiteral("Pipistrelloid"), QString()},
            QList<QColor>{QColor(255, 200, 100), QColor(120, 128, 255), QColor(128, 128, 128)});
        QTest::newRow("wind file") << DialogFactory([](const QString &folder, QTreeWidget *) {
            return std::make_unique<LoadWindDialog>(nullptr, folder, QString());
        });
        QTest::newRow("activity") << DialogFactory([](const QString &folder, QTreeWidget *list) {
            return std::make_unique<plotFolderDialog>(nullptr, folder, list);
        });
        QTest::newRow("second class") << made<AssignSecondClassDialog>(
            QStringList{QStringLiteral("Nyctaloid"), QStringLiteral("Pipistrelloid")});
        QTest::newRow("shortcut") << made<ChangeShortcutDialog>(QStringList{QStringLiteral("A")});
        QTest::newRow("new class") << made<InsertItemDialog>(QStringList{QStringLiteral("A")});
        QTest::newRow("class model") << made<OpenModelDialog>();
        QTest::newRow("rename") << made<RenameDialog>(QStringLiteral("Pipistrelloid"));
        QTest::newRow("review tree") << made<ReviewFolderDialog>();
    }

    void everyText_fitsItsWidget()
    {
        QFETCH(DialogFactory, make);
        QTemporaryDir folder;
        QTreeWidget fileList;
        const std::unique_ptr<QDialog> dialog = shown(make, folder.path(), &fileList);
        QVERIFY(dialog);
        const QStringList cut = dialogfit::cutTexts(dialog.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    void everyDialog_fitsALaptopScreen_data()
    {
        everyText_fitsItsWidget_data();
        QTest::newRow("spectrogram settings") << DialogFactory([](const QString &, QTreeWidget *) {
            return std::make_unique<SpectrogramSettingsDialog>(nullptr, 500000);
        });
        QTest::newRow("About") << DialogFactory([](const QString &, QTreeWidget *) {
            auto box = std::make_unique<QMessageBox>(
                QMessageBox::Information, QStringLiteral("About"),
                aboutBoxText(QStringLiteral("Quillon"), QStringLiteral("1.0.0"), QDate(2024, 6, 1)), QMessageBox::Ok);
            box->setTextFormat(Qt::RichText);
            return std::unique_ptr<QDialog>(std::move(box));
        });
    }

    void everyDialog_fitsALaptopScreen()
    {
        // 1366 x 768 less a task bar of 40 px; a title bar and borders as a desktop draws them.
        const QRect available(0, 0, 1366, 728);
        const QMargins frame(1, 30, 1, 1);
        QFETCH(DialogFactory, make);
        QTemporaryDir folder;
        QTreeWidget fileList;
        const std::unique_ptr<QDialog> dialog = shown(make, folder.path(), &fileList);
        QVERIFY(dialog);
        fitIntoScreen(dialog.get(), available, frame);
        QCoreApplication::processEvents();
        // Where it lies Qt decides as it shows a dialog over its parent, within the screen; its size is the dialog's.
        const QSize outer = (dialog->geometry() + frame).size();
        QVERIFY2(available.width() >= outer.width() && available.height() >= outer.height(),
                 qPrintable(QStringLiteral("%1 x %2").arg(outer.width()).arg(outer.height())));
        // At that size every button can be reached and every text, column and tab is whole.
        QStringList cut = dialogfit::cutTexts(dialog.get());
        cut << dialogfit::hiddenTabs(dialog.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    // A shown window on a real recording, with the panes of `mode`; null when it showed none.
    static std::unique_ptr<MainWindow> windowShowingARecording(int mode)
    {
        auto window = testsupport::exposedWindow();
        if (!window)
            return nullptr;
        window->evaluationMode = mode;
        window->plot_Data(QDir(testsupport::testDataDir()).filePath(QStringLiteral("Barbastelle.wav")));
        if (!testsupport::waitForSpectrogram(*window))
            return nullptr;
        return window;
    }

    void mainWindow_firstStartFits_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("one recording") << int(EvaluationMode::SingleFile);
        QTest::newRow("a folder") << int(EvaluationMode::Folder);
        QTest::newRow("an evaluation") << int(EvaluationMode::Manual);
    }

    void mainWindow_firstStartFits()
    {
        // No geometry stored: the first recording opens the window at its
        // default size, with the panes of the mode it was opened in.
        QFETCH(int, mode);
        const auto window = windowShowingARecording(mode);
        QVERIFY(window);
        QCoreApplication::processEvents();
        const Ui_MainWindow *ui = window->ui;
        const QStringList cut = dialogfit::cutTexts(
            window.get(), {}, {ui->treeWidget_fileView, ui->treeWidget_2, ui->label_21, ui->label_22});
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    void mainWindow_leastWindowFits_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("afterOne"); // the mode's panes came after one recording was shown without them
        QTest::newRow("one recording") << int(EvaluationMode::SingleFile) << false;
        QTest::newRow("a folder") << int(EvaluationMode::Folder) << false;
        QTest::newRow("an evaluation") << int(EvaluationMode::Manual) << false;
        QTest::newRow("a folder opened after one recording") << int(EvaluationMode::Folder) << true;
    }

    void mainWindow_leastWindowFits()
    {
        // Made as small as it goes, with the panes of each mode: every plot
        // keeps its axis numbers and titles, none cut by its pane or lying
        // over another, for the lists below them too.
        QFETCH(int, mode);
        QFETCH(bool, afterOne);
        const auto window = windowShowingARecording(afterOne ? int(EvaluationMode::SingleFile) : mode);
        QVERIFY(window);
        if (afterOne) {
            window->evaluationMode = mode;
            window->plot_Data(QDir(testsupport::testDataDir()).filePath(QStringLiteral("Natterers.wav")));
            QVERIFY(testsupport::waitForSpectrogram(*window));
        }
        window->resize(750, 500);
        QTRY_COMPARE(window->size(), window->minimumSize());
        QVERIFY(window->centralWidget()->height() >= 500);
        QCoreApplication::processEvents();
        const Ui_MainWindow *ui = window->ui;
        QStringList cut = dialogfit::cutTexts(window.get(), {},
                                              {ui->treeWidget_fileView, ui->treeWidget_2, ui->label_21, ui->label_22});
        cut << dialogfit::cutPlots(window.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }

    void mainWindow_fixedTextsFit()
    {
        const auto window = windowShowingARecording(EvaluationMode::SingleFile);
        QVERIFY(window);
        // The class tree's pane, as an evaluation shows it, in a window of a
        // common size (the first recording gave it the start-up size).
        window->ui->groupBox_6->show();
        window->resize(1000, 700);
        QTRY_COMPARE(window->size(), QSize(1000, 700));
        QCoreApplication::processEvents();
        // The file lists and their counts are left out: loading sizes their
        // columns to what they hold and writes the counts.
        const Ui_MainWindow *ui = window->ui;
        const QStringList cut = dialogfit::cutTexts(
            window.get(), {}, {ui->treeWidget_fileView, ui->treeWidget_2, ui->label_21, ui->label_22});
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("; "))));
    }
};

QUILLON_TEST(TestDialogLayouts)
#include "tst_dialoglayouts.moc"
