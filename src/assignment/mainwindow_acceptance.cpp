// Accepting a row's proposal, by its accept box or by the Space key: the
// proposal's classes become the recording's, written at once on this thread;
// withdrawing takes them back and keeps the proposal.
//
// The evaluation list makes a row's QCheckBox only while the row is in view
// (a box in each row of a large folder would cost more memory than the rows
// and freeze the window while they are made); the row keeps the box's state
// meanwhile. So the acceptance finds the row of a clicked box through the
// list, and sets the row's box state rather than a QCheckBox.
#include "app/mainwindow.h"

#include "assignment/classtextrules.h"
#include "classmodel/classnamerules.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/classtreerows.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "filelist/rowcomment.h"
#include "recording/recordingkind.h"
#include "ui_mainwindow.h"

namespace {

// The proposal's classes that the class tree has no class row for. The
// evaluations with proposals read the recordings keeping only the classes of
// their tree: a class outside it (a species code of the recorder's analysis)
// would be stored now and dropped without a word at the next load.
QStringList classesOutsideTree(QTreeWidget *tree, const QString &proposal)
{
    QStringList outside;
    for (const QString &name : ClassTextRules::proposalClasses(proposal)) {
        if (name == ClassNames::unassigned || name == ClassNames::detectedNoCall
            || !ClassTreeRows::firstNamed(tree, name))
            outside << name;
    }
    return outside;
}

} // namespace

void MainWindow::acceptProposal(int state)
{
    // The list makes the boxes of the rows in view, and knows each one's row.
    auto *row = dynamic_cast<fileViewTreeWidgetItem *>(widgets.evaluationList->rowOfAcceptBox(sender()));
    if (!row)
        return;
    const bool accept = state == Qt::Checked;
    if (!jobAllows(JobGuard::Action::WriteRecording)) {
        row->setAcceptBox(!accept);
        userDialogs().information(nullptr, QString(), JobGuard::refusalText());
        return;
    }
    // A proposal without any entry has nothing to accept: writing it would
    // count the recording as classified with no class.
    if ((accept && ClassTextRules::proposalClasses(row->text(FileViewColumn::Proposal)).isEmpty())
        || !writeAcceptance(row, accept)) {
        row->setAcceptBox(!accept);
        return;
    }
    showAcceptance(row, accept);
}

bool MainWindow::writeAcceptance(QTreeWidgetItem *row, bool accept)
{
    const QString path = wavDirectory + QLatin1Char('/') + row->text(FileViewColumn::Name);
    const QStringList outside =
        accept ? classesOutsideTree(widgets.classTree, row->text(FileViewColumn::Proposal)) : QStringList();
    if (!outside.isEmpty()) {
        userDialogs().information(
            nullptr, QString(),
            tr("The proposal cannot be accepted: the class tree has no class \"%1\".\nA class outside the "
               "class tree would be removed from the recording when the folder is read again.")
                .arg(outside.join(QStringLiteral("\", \""))));
        return false;
    }
    // A RAW recording has no description: its row changes all the same.
    if (recordingKind(path) != RecordingKind::Wav)
        return true;
    const QString proposal = row->text(FileViewColumn::Proposal);
    const QString comment = row->text(FileViewColumn::Comment);
    return writeRecordingNow(
        path, accept ? ClassTextRules::acceptText(proposal, comment) : ClassTextRules::withdrawText(proposal, comment),
        tr("\nClass assignment is not saved to wav file."));
}

void MainWindow::showAcceptance(QTreeWidgetItem *row, bool accepted)
{
    QStringList old;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        old << row->text(column);
    const QStringList classes =
        accepted ? ClassTextRules::proposalClasses(row->text(FileViewColumn::Proposal)) : QStringList();
    ClassTreeRows::moveCounts(widgets.classTree, old, classes);
    for (int slot = 0; slot < 4; ++slot)
        row->setText(FileViewColumn::Class1 + slot, classes.value(slot));
    if (auto *fileRow = dynamic_cast<fileViewTreeWidgetItem *>(row))
        fileRow->applyRowColour(accepted ? fileViewTreeWidgetItem::RowColour::Accepted
                                         : fileViewTreeWidgetItem::RowColour::Default);
}
