#pragma once

// What the assignment benchmarks share: folders of small recordings, a
// manual evaluation of one, and waiting until the window has nothing running.
#include "app/mainwindow.h"
#include "scripteddialogs.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QThread>

namespace evaluationbench {

inline bool settled(const MainWindow &w)
{
    return !w.calculating && !w.loadingFileInfo && !w.fileInfoThread->isRunning()
           && w.jobGuard.running() == JobGuard::Job::None;
}

inline void waitFor(const MainWindow &w)
{
    while (!settled(w))
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

/** count recordings of 10 ms at 250 kHz named rec00000.wav on, each holding description. */
inline void writeRecordings(const QString &dir, int count, const QByteArray &description)
{
    testsupport::WavWriter recording;
    recording.fmt(250000, 16).data(QVector<int>(2500, 3), 16).bext(description);
    const QByteArray bytes = recording.bytes();
    for (int i = 0; i < count; ++i)
        testsupport::writeFile(dir + QStringLiteral("/rec%1.wav").arg(i, 5, 10, QLatin1Char('0')), bytes);
}

/** Evaluates dir by hand in w with the simple default tree (Bat <A>, No Call <D>), every header read. */
inline void evaluate(MainWindow &w, ScriptedDialogs &dialogs, const QString &dir)
{
    dialogs.fileAnswers << dir;
    dialogs.dialogAnswers << [](QDialog *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("pushButton_5"))->click();
        dialog->accept();
    };
    w.resize(1200, 800);
    w.show();
    w.ui->actionEvaluate_Folder->trigger();
    waitFor(w);
}

} // namespace evaluationbench
