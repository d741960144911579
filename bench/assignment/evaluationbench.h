#pragma once

// What the assignment benchmarks share: folders of small recordings, a
// manual evaluation of one, and waiting until the window has nothing running.
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "common/settingskeys.h"
#include "evaluationfolder.h"
#include "scripteddialogs.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace evaluationbench {

/** The application of a benchmark: offscreen, with the program's names and types and a settings store of its own. */
struct BenchApplication {
    QTemporaryDir settingsHome; // the folder keys written by opening must not reach the user's own store
    bool prepared = prepare(settingsHome);
    QApplication app;

    BenchApplication(int &argc, char **argv)
        : app(argc, argv)
    {
        setApplicationIdentity();
        registerMetaTypes();
    }

    static bool prepare(const QTemporaryDir &home)
    {
        std::setvbuf(stdout, nullptr, _IOLBF, 0);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
        return true;
    }
};

using evaluationfolder::settled;

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
