#pragma once

#include "app/evaluationmode.h"
#include "app/mainwindow.h"
#include "app/treecolumns.h"
#include "filelist/filerowindex.h"
#include "guitest.h"
#include "recording/wavfile.h"
#include "scripteddialogs.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

// A folder of small recordings evaluated in the window with the real
// workers, for the tests of classifying.
namespace evaluationfolder {

// A recording of 4096 samples at rate, long enough for a spectrogram, whose
// description holds text (no bext chunk when text is null).
inline bool writeRecording(const QString &path, const QString &text, quint32 rate = 250000)
{
    testsupport::WavWriter w;
    w.fmt(rate, 16).data(QVector<int>(4096, 5), 16);
    if (!text.isNull())
        w.bext(text.toUtf8());
    return w.write(path);
}

inline QString description(const QString &path)
{
    WavFile recording;
    recording.open(path, true);
    return recording.bext.description;
}

inline bool settled(const MainWindow &w)
{
    return !w.calculating && !w.loadingFileInfo && !w.fileInfoThread->isRunning()
           && w.jobGuard.running() == JobGuard::Job::None;
}

/**
 * Opens folder in mode (Manual with the simple default tree Bat <A>, No Call
 * <D>; Tavron with its own tree) in a shown, active window, and waits until
 * every header is read.
 */
inline std::unique_ptr<MainWindow> open(ScriptedDialogs &dialogs, const QString &folder, int mode)
{
    auto w = testsupport::exposedWindow();
    if (!w)
        return nullptr;
    dialogs.fileAnswers << folder;
    if (mode == EvaluationMode::Manual) {
        dialogs.dialogAnswers << [](QDialog *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("pushButton_5"))->click();
            dialog->accept();
        };
        w->ui->actionEvaluate_Folder->trigger();
    } else {
        dialogs.messageAnswers << QMessageBox::Ok;
        w->ui->actionTavron_Folder_Evaluation->trigger();
    }
    QApplication::setActiveWindow(w.get());
    if (!QTest::qWaitForWindowActive(w.get()) || !QTest::qWaitFor([&w]() { return settled(*w); }, 60000))
        return nullptr;
    return w;
}

inline QTreeWidgetItem *row(MainWindow &w, const QString &name)
{
    return w.fileViewRows->row(name);
}

inline void select(MainWindow &w, const QStringList &names)
{
    w.ui->treeWidget_fileView->clearSelection();
    for (const QString &name : names)
        row(w, name)->setSelected(true);
}

inline QStringList classes(MainWindow &w, const QString &name)
{
    QStringList texts;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        texts << row(w, name)->text(column);
    return texts;
}

// The class tree's non-zero counts, "Nyc 2, Unassigned 1", in tree order.
inline QString counts(MainWindow &w)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(w.ui->treeWidget); *it; ++it) {
        if ((*it)->text(ClassTreeColumn::Count) != QLatin1String("0"))
            texts << (*it)->text(ClassTreeColumn::Class) + QLatin1Char(' ') + (*it)->text(ClassTreeColumn::Count);
    }
    return texts.join(QStringLiteral(", "));
}

inline QPushButton *assignButton(MainWindow &w, const QString &className)
{
    const QList<QTreeWidgetItem *> found =
        w.ui->treeWidget->findItems(className, Qt::MatchExactly | Qt::MatchRecursive, ClassTreeColumn::Class);
    return found.isEmpty() ? nullptr
                           : qobject_cast<QPushButton *>(w.ui->treeWidget->itemWidget(found.first(),
                                                                                      ClassTreeColumn::Assign));
}

// Counts the key presses that get past the window's own filter to a widget.
struct KeySpy : QObject {
    int presses = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        presses += e->type() == QEvent::KeyPress;
        return false;
    }
};

inline void press(QWidget *target, int key, const QString &text = QString())
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &e);
}

} // namespace evaluationfolder
