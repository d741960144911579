#include "filelist/rowcomment.h"

#include "app/treecolumns.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "recording/wavfile.h"

#include <QSignalBlocker>
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

bool writeRowDescription(const QString &path, const QString &text)
{
    const WavFile recording;
    return recording.writeBextDescription(path, text);
}
