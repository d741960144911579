#include "common/filewritefailure.h"

#include "common/userdialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QPushButton>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

} // namespace

void reportFileWriteFailure()
{
    userDialogs().message({nullptr, QMessageBox::Critical, QString(), QStringLiteral("Could not write to file.")});
}

WriteFailureChoice askAfterWriteFailure(QWidget *parent, const QString &path, const QString &reason,
                                        bool offerSkipForAll)
{
    QMessageBox box(QMessageBox::Critical, QString(), tr("Error Writing File ") + path, QMessageBox::NoButton, parent);
    box.setInformativeText(reason);
    // Escape and the close button need a button of the reject role to press;
    // buttons of other roles alone leave the box deaf to both.
    // "Skip" passes over this recording, "Skip for all" says yes to passing
    // over every later one: the desktop places them as its No and Yes.
    QAbstractButton *skip = box.addButton(tr("Skip"), QMessageBox::NoRole);
    QAbstractButton *skipForAll = offerSkipForAll ? box.addButton(tr("Skip for all"), QMessageBox::YesRole) : nullptr;
    QAbstractButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
    box.setDefaultButton(qobject_cast<QPushButton *>(skip));
    userDialogs().runDialog(&box);
    const QAbstractButton *clicked = box.clickedButton();
    if (clicked == skip)
        return WriteFailureChoice::Skip;
    if (clicked && clicked == skipForAll)
        return WriteFailureChoice::SkipForAll;
    // A box closed without any button stops the job, as Cancel does.
    return WriteFailureChoice::Cancel;
}
