#include "common/userdialogs.h"

#include <QDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

namespace {

// Qt's own modal dialogs; every box lives on the stack and is gone when it returns.
class QtUserDialogs : public UserDialogs
{
public:
    QMessageBox::StandardButton message(const MessageBoxRequest &request) override
    {
        QMessageBox box(request.icon, request.title, request.text, request.buttons, request.parent);
        box.setTextFormat(request.textFormat);
        box.setInformativeText(request.informativeText);
        if (request.defaultButton != QMessageBox::NoButton)
            box.setDefaultButton(request.defaultButton);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }

    QString openFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }

    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                         QString *selectedFilter, QFileDialog::Options options) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter, options);
    }

    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir,
                              QFileDialog::Options options) override
    {
        return QFileDialog::getExistingDirectory(parent, caption, dir, options);
    }

    int runDialog(QDialog *dialog) override { return dialog->exec(); }

    QAction *runMenu(QMenu *menu, const QPoint &globalPos) override { return menu->exec(globalPos); }
};

UserDialogs *&installed()
{
    static UserDialogs *dialogs = nullptr;
    return dialogs;
}

} // namespace

UserDialogs::~UserDialogs() = default;

QString UserDialogs::saveFileNameWithSuffix(QWidget *parent, const QString &caption, const QString &dir,
                                            const QString &filter)
{
    QString proposed = dir;
    QString chosenFilter;
    for (;;) {
        // The save dialog's own overwrite question would see the name as
        // typed, not the one written: "mymodel" would replace "mymodel.txt"
        // unasked. The question is asked here, of the completed name.
        const QString typed =
            saveFileName(parent, caption, proposed, filter, &chosenFilter, QFileDialog::DontConfirmOverwrite);
        if (typed.isEmpty())
            return typed;
        const QString fileName = withFilterSuffix(typed, chosenFilter, filter);
        // A folder of that name is no file to replace: writing there fails and says so.
        const QFileInfo existing(fileName);
        if (!existing.exists() || existing.isDir())
            return fileName;
        // Qt's own words and buttons, No the default, as the save dialog asks.
        const QString text = QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(existing.fileName());
        if (message({parent, QMessageBox::Warning, caption, text, Qt::AutoText, QMessageBox::Yes | QMessageBox::No,
                     QMessageBox::No})
            == QMessageBox::Yes)
            return fileName;
        // Asked again where the user was, the completed name proposed.
        proposed = fileName;
    }
}

QMessageBox::StandardButton UserDialogs::information(QWidget *parent, const QString &title, const QString &text)
{
    return message({parent, QMessageBox::Information, title, text});
}

QMessageBox::StandardButton UserDialogs::warning(QWidget *parent, const QString &title, const QString &text)
{
    return message({parent, QMessageBox::Warning, title, text});
}

QMessageBox::StandardButton UserDialogs::critical(QWidget *parent, const QString &title, const QString &text)
{
    return message({parent, QMessageBox::Critical, title, text});
}

QMessageBox::StandardButton UserDialogs::question(QWidget *parent, const QString &title, const QString &text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    return message({parent, QMessageBox::Question, title, text, Qt::AutoText, buttons, defaultButton});
}

bool UserDialogs::confirm(QWidget *parent, const QString &title, const QString &text, const QString &informativeText)
{
    return message({parent, QMessageBox::Warning, title, text, Qt::AutoText, QMessageBox::Ok | QMessageBox::Cancel,
                    QMessageBox::Cancel, informativeText})
           == QMessageBox::Ok;
}

namespace {

QStringList filterSuffixes(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    QStringList suffixes;
    for (QRegularExpressionMatchIterator it = pattern.globalMatch(filter); it.hasNext();)
        suffixes << it.next().captured(1);
    return suffixes;
}

} // namespace

QString withFilterSuffix(const QString &fileName, const QString &chosen, const QString &offered)
{
    const QStringList suffixes = filterSuffixes(chosen);
    if (suffixes.isEmpty())
        return fileName;
    // Any other dot ("bats.v2") is part of the name: Load lists only the filter's suffixes.
    const QStringList known = offered.isEmpty() ? suffixes : filterSuffixes(offered);
    for (const QString &suffix : known) {
        if (fileName.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
            return fileName;
    }
    const QString dot = fileName.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
    return fileName + dot + suffixes.first();
}

UserDialogs &UserDialogs::current()
{
    static QtUserDialogs qtDialogs;
    UserDialogs *dialogs = installed();
    return dialogs ? *dialogs : qtDialogs;
}

void UserDialogs::install(UserDialogs *dialogs)
{
    installed() = dialogs;
}
