#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QAction;
class QDialog;
class QMenu;
class QPoint;
class QWidget;

/** Everything a message box needs: what the user reads and which buttons answer it. */
struct MessageBoxRequest {
    QWidget *parent = nullptr;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    Qt::TextFormat textFormat = Qt::AutoText;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString informativeText = QString(); // shown under the text: which file, and why
};

/**
 * The one door through which the program asks the user something modal:
 * message boxes, questions with own button texts, file and folder choosers.
 * The program uses the installed instance (Qt's own dialogs unless a test
 * installed a scripted one), so no test ever waits for a person.
 */
class UserDialogs
{
public:
    virtual ~UserDialogs();

    /** Shows a message box; returns the button that closed it (Escape: the escape button Qt picks). */
    virtual QMessageBox::StandardButton message(const MessageBoxRequest &request) = 0;

    /** The chosen path, or empty when cancelled. */
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter) = 0;
    /**
     * The chosen path, or empty when cancelled; the filter the user left
     * chosen goes to `selectedFilter`, which names the one shown first when
     * it holds one. `options` as QFileDialog takes them.
     */
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                                 QString *selectedFilter = nullptr, QFileDialog::Options options = {}) = 0;
    virtual QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir,
                                      QFileDialog::Options options = QFileDialog::ShowDirsOnly) = 0;

    /**
     * Runs one of the program's own modal dialogs, built and filled by the
     * caller, as `QDialog::exec` does, and returns its result code
     * (`QDialog::Accepted` 1, `QDialog::Rejected` 0). Afterwards the caller
     * reads the dialog's getters, whoever answered it. The dialog is closed
     * through its own `done()`, so checks a dialog makes there (a refused
     * name that keeps it open) take part in every answer.
     */
    virtual int runDialog(QDialog *dialog) = 0;

    /**
     * Shows a context menu, built by the caller, at `globalPos` and waits
     * as `QMenu::exec` does; returns the chosen action (one of the menu's or
     * of its submenus'), or null when the menu was closed without a choice.
     * Callers recognise the choice by its text.
     */
    virtual QAction *runMenu(QMenu *menu, const QPoint &globalPos) = 0;

    /**
     * A save question whose answer names a file of the filters offered: a
     * name typed without one of their suffixes takes the first of the chosen
     * filter's (withFilterSuffix), so that the file is written as the next question
     * with that filter shows it. When the completed name exists, the user is
     * asked whether to replace it, as the save dialog asks of a name typed
     * whole; No asks for a name again. Empty when cancelled.
     */
    QString saveFileNameWithSuffix(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);

    // The common boxes, all through message().
    QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text);
    QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text);
    QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text);
    QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    /**
     * The program's "Do you really want to ..." question before a step that
     * changes or discards something: a warning with OK and Cancel, Cancel the
     * default. True only for OK.
     */
    bool confirm(QWidget *parent, const QString &title, const QString &text,
                 const QString &informativeText = QString());

    /** The instance the program uses now. */
    static UserDialogs &current();
    /** Makes `dialogs` (not owned) the current instance; null restores Qt's dialogs. */
    static void install(UserDialogs *dialogs);
};

/**
 * A file name as it is written when typed with the filter chosen for it:
 * a name that does not end in a suffix ("*.suffix", any case) of one of the
 * filters offered takes the first of the chosen filter's: "plot" and
 * "bats.v2" with "SVG documents (*.svg)" are "plot.svg" and "bats.v2.svg",
 * "plot.SVG" stays, and so does "plot.pdf" where PDF documents are offered
 * beside it (the document's format follows its suffix). `offered` holds
 * every filter of the question, ";;"-separated; empty, only `chosen` counts.
 * A chosen filter without a suffix leaves every name as it is.
 */
QString withFilterSuffix(const QString &fileName, const QString &chosen, const QString &offered = QString());

/** Shorthand for UserDialogs::current(). */
inline UserDialogs &userDialogs()
{
    return UserDialogs::current();
}
