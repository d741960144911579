#include "filelist/rowcomment.h"

#include "common/treecolumns.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "recording/wavfile.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

ClassAssignmentText rowAssignment(const QTreeWidgetItem *row)
{
    ClassAssignmentText t;
    t.setClasses({row->text(FileViewColumn::Class1), row->text(FileViewColumn::Class2),
                  row->text(FileViewColumn::Class3), row->text(FileViewColumn::Class4)});
    t.AutoClass = row->text(FileViewColumn::Proposal);
    t.accepted = fileViewTreeWidgetItem::acceptedFlag(row);
    t.comment = row->text(FileViewColumn::Comment);
    return t;
}

QString commentWriteText(const QTreeWidgetItem *row)
{
    const ClassAssignmentText t = rowAssignment(row);
    const QString text = t.fullText(ClassAssignmentText::ClassList::FourSlots);
    if (!ClassAssignmentText::isStorableComment(t.comment) || !ClassAssignmentText::fitsDescription(text))
        return QString();
    return text;
}

QString commentRefusal(const QTreeWidgetItem *row)
{
    const ClassAssignmentText t = rowAssignment(row);
    if (!ClassAssignmentText::isStorableComment(t.comment))
        return QCoreApplication::translate("MainWindow", "A comment cannot hold \"|\": it separates the fields of "
                                                         "the recording's description.");
    const int commentBytes = ClassAssignmentText::fullFormComment(t.comment).toUtf8().size();
    // The rest as the text with this comment lays it out: the composer may
    // shorten the class list to make room.
    const int textBytes = t.fullText(ClassAssignmentText::ClassList::FourSlots).toUtf8().size();
    if (textBytes <= ClassAssignmentText::descriptionBytes)
        return QString();
    const int free = ClassAssignmentText::descriptionBytes - (textBytes - commentBytes);
    return QCoreApplication::translate("MainWindow", "The comment takes %1 bytes; beside the classes and the proposal, "
                                                     "the recording's description of %2 bytes leaves %3 for it.")
        .arg(commentBytes)
        .arg(ClassAssignmentText::descriptionBytes)
        .arg(qMax(free, 0));
}

QString storedComment(const QString &path)
{
    WavFile recording;
    recording.open(path, true);
    return ClassAssignmentText::parse(recording.bext.description).comment;
}

void showStoredComment(QTreeWidgetItem *row, const QString &path)
{
    const QSignalBlocker noWrite(row->treeWidget());
    row->setText(FileViewColumn::Comment, storedComment(path));
}

void editCommentAgain(QTreeWidgetItem *row, const QString &typed)
{
    QTreeWidget *list = row->treeWidget();
    if (!list)
        return;
    // The refused text came as the commit of an editor that closes only
    // after it: opened now, the new editor would be that one, closed at once.
    // The cell is followed by its index: the row may be gone by then.
    const QPersistentModelIndex cell(list->model()->index(list->indexOfTopLevelItem(row), FileViewColumn::Comment));
    QTimer::singleShot(0, list, [list, cell, typed] {
        if (!cell.isValid())
            return;
        QTreeWidgetItem *again = list->topLevelItem(cell.row());
        list->editItem(again, FileViewColumn::Comment);
        if (auto *editor = qobject_cast<QLineEdit *>(list->itemWidget(again, FileViewColumn::Comment)))
            editor->setText(typed);
    });
}

bool writeRowDescription(const QString &path, const QString &text, QString *failure)
{
    return ClassAssignmentText::writeDescription(path, text, failure);
}
