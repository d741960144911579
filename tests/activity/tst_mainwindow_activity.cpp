#include "testregistry.h"

#include "activity/plotfolderdialog.h"
#include "app/mainwindow.h"
#include "guitest.h"
#include "ui_mainwindow.h"

#include <QTemporaryDir>
#include <QtTest>

// The main window's "Activity Plots" action: which list the dialog reads in each mode.
class TestMainWindowActivity : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void actionPerMode_data();
    void actionPerMode();
};

void TestMainWindowActivity::actionPerMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("title");
    QTest::newRow("one file: nothing") << int(EvaluationMode::SingleFile) << QString() << QString();
    QTest::newRow("folder") << int(EvaluationMode::Folder) << "treeWidget_2"
                            << "Activity Plots";
    QTest::newRow("manual") << int(EvaluationMode::Manual) << "treeWidget_fileView"
                            << "Activity Plot";
    QTest::newRow("tavron") << int(EvaluationMode::Tavron) << "treeWidget_fileView"
                            << "Activity Plot";
    QTest::newRow("recorder review") << int(EvaluationMode::RecorderReview) << "treeWidget_fileView"
                                     << "Activity Plot";
}

void TestMainWindowActivity::actionPerMode()
{
    QFETCH(int, mode);
    QFETCH(QString, list);
    QFETCH(QString, title);
    QTemporaryDir folder;
    MainWindow w;
    w.evaluationMode = mode;
    w.wavDirectory = folder.path();
    QString seenList, seenTitle, seenFolder;
    bool seenParent = false;
    QTimer::singleShot(0, &w, [&] {
        if (auto *d = qobject_cast<plotFolderDialog *>(QApplication::activeModalWidget())) {
            seenList = d->fileList->objectName();
            seenTitle = d->windowTitle();
            seenFolder = d->wavDirectory;
            seenParent = d->parentWidget() == &w;
            d->reject();
        }
    });
    // A dialog runs the timer inside its own modal loop; without one the timer dies with the window.
    w.ui->actionActivity_Plot->trigger();
    QCOMPARE(seenList, list);
    QCOMPARE(seenTitle, title);
    QCOMPARE(seenFolder, list.isEmpty() ? QString() : folder.path());
    QCOMPARE(seenParent, !list.isEmpty());
    QCOMPARE(w.findChildren<plotFolderDialog *>().size(), 0); // one modal run, then gone
}

QUILLON_TEST(TestMainWindowActivity)
#include "tst_mainwindow_activity.moc"
