// The header chain in the window, as the user waits for it: a folder of 4,000
// and of 16,000 generated recordings opened as a plain folder and as a review
// of the recorder's result list (every recording listed there), wall time from
// the folder's choice to the chain's end, the window shown. The review reads
// one header per recording as the plain folder does and looks its line up in
// the list: target within 1.3 x the plain folder at 16,000 recordings.
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "app/treecolumns.h"
#include "benchutil.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <cstdio>

namespace {

// Seconds from the action to the end of the chain it starts.
double timeChain(MainWindow &w, QAction *action)
{
    const double t0 = benchutil::nowSeconds();
    action->trigger();
    while (w.loadingFileInfo || w.fileInfoThread->isRunning() || w.calculating)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return benchutil::nowSeconds() - t0;
}

void run(int count)
{
    QTemporaryDir dir;
    testsupport::WavWriter recording;
    recording.fmt(250000, 16)
        .bext("Pip + Nyc|Pip, Nyc||bench")
        .data(testsupport::SignalBuilder(250000, 0.02).noise(-30).samples(), 16);
    const QByteArray bytes = recording.bytes();
    QByteArray lines = "Filename\tDate\tTime\tVerdict\tGroup1\t\tGroup2\t\tSpecies1\t\tSpecies2\t\tSpecies3\n";
    for (int i = 0; i < count; ++i) {
        const QString name = QString("rec_%1.wav").arg(i, 5, 10, QLatin1Char('0'));
        testsupport::writeFile(dir.filePath(name), bytes);
        lines += "D:\\night\\" + name.toUtf8()
                 + "\t2024-06-01\t22:14:03\tbat\tPipistrelloid\t0.9\tNyctaloid\t0.4\tPpip\t0.9\tNnoc\t0.4\t\n";
    }
    testsupport::writeFile(dir.filePath(QStringLiteral("calls_ch1_files.txt")), lines);

    double plain = 0.0;
    double review = 0.0;
    QString lastProposal;
    const int runs = 2;
    for (int run = 0; run < runs; ++run) {
        ScriptedDialogs dialogs;
        dialogs.fileAnswers << dir.path() << dir.path();
        dialogs.dialogAnswers << [](QDialog *d) { d->accept(); };
        MainWindow w;
        w.resize(1200, 800);
        w.show();
        plain += timeChain(w, w.ui->actionOpen_Folder);
        review += timeChain(w, w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis);
        QTreeWidget *list = w.ui->treeWidget_fileView;
        lastProposal = list->topLevelItem(list->topLevelItemCount() - 1)->text(FileViewColumn::Proposal);
    }
    plain /= runs;
    review /= runs;
    std::printf("%11d %12.2f %12.2f %8.2f  last proposal \"%s\"\n", count, plain, review, review / plain,
                qPrintable(lastProposal));
}

} // namespace

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome; // the folder keys written by opening must not reach the user's own store
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    registerMetaTypes();
    std::printf("Review against plain folder in the window (mean of two runs, seconds)\n");
    std::printf("%11s %12s %12s %8s\n", "recordings", "plain", "review", "ratio");
    run(4000);
    run(16000);
    std::printf("target: review within 1.3 x the plain folder at 16,000 recordings\n");
    return 0;
}
