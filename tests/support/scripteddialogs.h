#pragma once

#include "common/userdialogs.h"

#include <QAction>
#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QMenu>
#include <QPoint>
#include <QStringList>
#include <QTest>

#include <functional>

// Stands in for the user in GUI tests: installed while it lives, it records
// every question the program asks and answers from queues the test fills.
// An empty queue answers like a user who presses Enter or cancels: a dialog
// of the program's own is rejected, a menu closed without a choice. When it
// goes, the instance installed before it is back (in a GUI test, the one that
// fails the test for a question nobody answers: guitest.h).
//
// A message box is a finding of its own: one the test neither queued an
// answer for (messageAnswers) nor said it expects (expectMessages) fails the
// running test where it is shown, even in a nested event loop, and is
// answered as an empty queue answers it. So is one missing: a box declared
// or answered that has not come when this goes fails the test then.
class ScriptedDialogs : public UserDialogs
{
public:
    struct FileQuestion {
        QString kind; // "open", "save", "directory"
        QString caption;
        QString dir;
        QString filter;
        QFileDialog::Options options; // of a directory or save question
    };

    struct DialogRun {
        QString className; // the dialog's class, "OpenModelDialog"
        QString title;     // its window title when it was run
    };
    struct MenuRun {
        QStringList entries; // texts of every action, submenus' included, in order; separators left out
        QPoint globalPos;
        QList<QImage> icons; // each entry's icon at 16 x 16 (ARGB32); null where it has none
    };

    ScriptedDialogs()
        : previous(&UserDialogs::current())
    {
        alive() << this;
        UserDialogs::install(this);
    }
    ~ScriptedDialogs() override
    {
        // A box the test declared that never came is a finding too: the test
        // would otherwise pass whether the program says it or not.
        if (QTest::currentTestFunction() && !QTest::currentTestFailed()
            && (expectedMessages > 0 || !messageAnswers.isEmpty())) {
            const QString left = QStringLiteral("%1 message box(es) declared with expectMessages and %2 answer(s) "
                                                "queued in messageAnswers did not come")
                                     .arg(expectedMessages)
                                     .arg(messageAnswers.size());
            QTest::qVerify(false, "declared message boxes", qPrintable(left), __FILE__, __LINE__);
        }
        // One installed after this one and still there falls back to what this one fell back to.
        alive().removeOne(this);
        for (ScriptedDialogs *later : qAsConst(alive())) {
            if (later->previous == this)
                later->previous = previous;
        }
        if (&UserDialogs::current() == this)
            UserDialogs::install(previous);
    }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    QList<MessageBoxRequest> messages;
    QList<QMessageBox::StandardButton> messageAnswers;
    QList<FileQuestion> fileQuestions;
    QStringList fileAnswers;
    // The filter a save question leaves chosen; with none queued, the first of its filters.
    QStringList selectedFilterAnswers;
    QList<DialogRun> dialogRuns;
    // Each answer acts on the dialog as a user would: fills its fields and
    // presses OK (accept()) or Cancel (reject()), maybe more than once. A
    // dialog the answer leaves open is closed as by its window's close button.
    QList<std::function<void(QDialog *)>> dialogAnswers;
    QList<MenuRun> menuRuns;
    // The text of the entry to choose, or "submenu/entry" for one in a submenu; an empty text closes the menu.
    QStringList menuAnswers;

    /**
     * Declares count more message boxes to come without a queued answer, for
     * a test that reads them from `messages` itself; each is answered as an
     * empty queue answers it, and each must have come when this goes.
     */
    void expectMessages(int count = 1) { expectedMessages += count; }

    QMessageBox::StandardButton message(const MessageBoxRequest &request) override
    {
        messages << request;
        if (!messageAnswers.isEmpty())
            return messageAnswers.takeFirst();
        if (expectedMessages > 0) {
            --expectedMessages;
        } else {
            // Recorded in the test's result at once: a box shown from an
            // event loop the test function waits in fails it all the same.
            // As a failed check, so that QEXPECT_FAIL can expect it.
            QString box = QStringLiteral("\"") + request.text;
            if (!request.informativeText.isEmpty())
                box += QStringLiteral("\" / \"") + request.informativeText;
            box += QStringLiteral("\": no answer queued, not expected");
            QTest::qVerify(false, "message box", qPrintable(box), __FILE__, __LINE__);
        }
        return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
    }

    QString openFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter) override
    {
        return answerFile(QStringLiteral("open"), caption, dir, filter);
    }

    QString saveFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter,
                         QString *selectedFilter, QFileDialog::Options options) override
    {
        const QString answer = answerFile(QStringLiteral("save"), caption, dir, filter, options);
        if (selectedFilter) {
            *selectedFilter = selectedFilterAnswers.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0)
                                                              : selectedFilterAnswers.takeFirst();
        }
        return answer;
    }

    QString existingDirectory(QWidget *, const QString &caption, const QString &dir,
                              QFileDialog::Options options) override
    {
        return answerFile(QStringLiteral("directory"), caption, dir, QString(), options);
    }

    int runDialog(QDialog *dialog) override
    {
        dialogRuns << DialogRun{QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle()};
        dialog->setResult(QDialog::Rejected);
        bool closed = false;
        const QMetaObject::Connection watch =
            QObject::connect(dialog, &QDialog::finished, [&closed](int) { closed = true; });
        if (!dialogAnswers.isEmpty()) {
            // An answer may show the dialog modally and wait: it is answered, not left standing.
            ++answeringDepth();
            dialogAnswers.takeFirst()(dialog);
            --answeringDepth();
        }
        if (!closed)
            dialog->reject();
        QObject::disconnect(watch);
        return dialog->result();
    }

    /** Whether an answer of a test's is acting on a dialog right now. */
    static bool answering() { return answeringDepth() > 0; }

    QAction *runMenu(QMenu *menu, const QPoint &globalPos) override
    {
        QList<QAction *> actions;
        collectActions(menu, &actions);
        QStringList entries;
        QList<QImage> icons;
        for (QAction *action : qAsConst(actions)) {
            entries << action->text();
            icons << (action->icon().isNull()
                          ? QImage()
                          : action->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32));
        }
        menuRuns << MenuRun{entries, globalPos, icons};
        const QString choice = menuAnswers.isEmpty() ? QString() : menuAnswers.takeFirst();
        for (QAction *action : qAsConst(actions)) {
            const auto *holder = qobject_cast<QMenu *>(action->parent());
            const QString path =
                holder && holder != menu ? holder->title() + QLatin1Char('/') + action->text() : action->text();
            // As QMenu::exec does, the chosen action is triggered before it is handed back.
            if (!choice.isEmpty() && (path == choice || action->text() == choice)) {
                action->trigger();
                return action;
            }
        }
        return nullptr;
    }

private:
    static QList<ScriptedDialogs *> &alive()
    {
        static QList<ScriptedDialogs *> instances;
        return instances;
    }

    static int &answeringDepth()
    {
        static int depth = 0;
        return depth;
    }

    static void collectActions(QMenu *menu, QList<QAction *> *actions)
    {
        for (QAction *action : menu->actions()) {
            if (action->menu())
                collectActions(action->menu(), actions);
            else if (!action->isSeparator())
                *actions << action;
        }
    }

    QString answerFile(const QString &kind, const QString &caption, const QString &dir, const QString &filter,
                       QFileDialog::Options options = {})
    {
        fileQuestions << FileQuestion{kind, caption, dir, filter, options};
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }

    UserDialogs *previous;
    int expectedMessages = 0;
};
