#pragma once

#include "app/userdialogs.h"

#include <QList>
#include <QStringList>

// Stands in for the user in GUI tests: installed while it lives, it records
// every question the program asks and answers from queues the test fills.
// An empty queue answers like a user who presses Enter or cancels.
class ScriptedDialogs : public UserDialogs
{
public:
    struct Choice {
        QString title;
        QString text;
        QStringList buttonTexts;
    };
    struct FileQuestion {
        QString kind;   // "open", "openMany", "save", "directory"
        QString caption;
        QString dir;
        QString filter;
        QFileDialog::Options options;   // of a directory question
    };

    ScriptedDialogs() { UserDialogs::install(this); }
    ~ScriptedDialogs() override { UserDialogs::install(nullptr); }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    QList<MessageBoxRequest> messages;
    QList<QMessageBox::StandardButton> messageAnswers;
    QList<Choice> choices;
    QList<int> choiceAnswers;
    QList<FileQuestion> fileQuestions;
    QStringList fileAnswers;

    QMessageBox::StandardButton message(const MessageBoxRequest &request) override
    {
        messages << request;
        if (!messageAnswers.isEmpty())
            return messageAnswers.takeFirst();
        return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
    }

    int choose(QWidget *, QMessageBox::Icon, const QString &title, const QString &text,
               const QStringList &buttonTexts) override
    {
        choices << Choice{title, text, buttonTexts};
        return choiceAnswers.isEmpty() ? -1 : choiceAnswers.takeFirst();
    }

    QString openFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter) override
    {
        return answerFile(QStringLiteral("open"), caption, dir, filter);
    }

    QStringList openFileNames(QWidget *, const QString &caption, const QString &dir, const QString &filter) override
    {
        const QString answer = answerFile(QStringLiteral("openMany"), caption, dir, filter);
        return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
    }

    QString saveFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter) override
    {
        return answerFile(QStringLiteral("save"), caption, dir, filter);
    }

    QString existingDirectory(QWidget *, const QString &caption, const QString &dir,
                              QFileDialog::Options options) override
    {
        return answerFile(QStringLiteral("directory"), caption, dir, QString(), options);
    }

private:
    QString answerFile(const QString &kind, const QString &caption, const QString &dir, const QString &filter,
                       QFileDialog::Options options = {})
    {
        fileQuestions << FileQuestion{kind, caption, dir, filter, options};
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};
