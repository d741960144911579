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
                         QString *selectedFilter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter, selectedFilter);
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
    QString chosenFilter;
    const QString fileName = saveFileName(parent, caption, dir, filter, &chosenFilter);
    return fileName.isEmpty() ? fileName : withFilterSuffix(fileName, chosenFilter);
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

QString withFilterSuffix(const QString &fileName, const QString &filter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\*\\.(\\w+)"));
    const QRegularExpressionMatch match = firstPattern.match(filter);
    if (!QFileInfo(fileName).suffix().isEmpty() || !match.hasMatch())
        return fileName;
    const QString dot = fileName.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
    return fileName + dot + match.captured(1);
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
