#include "assignment/classtextrules.h"

#include "analysis/classassignmenttext.h"
#include "analysis/classnames.h"
#include "recording/recordingkind.h"

#include <QSet>

namespace ClassTextRules {

namespace {

const QString notAvailable = QStringLiteral("N/A");
const QString proposalSeparator = QStringLiteral(", ");

bool isWav(const FileRowTexts &row)
{
    return recordingKind(row.text(FileViewColumn::Name)) == RecordingKind::Wav;
}

bool isUnread(const FileRowTexts &row)
{
    return row.text(FileViewColumn::Date).isEmpty();
}

bool hasProposal(const FileRowTexts &row)
{
    return !row.text(FileViewColumn::Proposal).isEmpty() || !row.text(FileViewColumn::Accepted).isEmpty();
}

// The four class slots as they stand, an empty one included.
QStringList classSlots(const FileRowTexts &row)
{
    QStringList names;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        names << row.text(column);
    return names;
}

// The filled slots in order: a slot emptied in place leaves no gap behind.
QStringList filledSlots(const FileRowTexts &row)
{
    QStringList names = classSlots(row);
    names.removeAll(QString());
    return names;
}

bool isFilledSlot(const FileRowTexts &row, int slot)
{
    return slot >= 1 && slot <= 4 && !row.text(FileViewColumn::Class1 + slot - 1).isEmpty();
}

Outcome answered(bool success)
{
    Outcome o;
    o.success = success;
    return o;
}

// Writes classes with the row's proposal, comment and flag in the form the row calls for.
Outcome written(const FileRowTexts &row, const QStringList &classes, const QString &flag)
{
    ClassAssignmentText t;
    t.setClasses(classes);
    t.comment = row.text(FileViewColumn::Comment);
    Outcome o;
    o.rowChanges = true;
    o.classes = classes;
    // A row with a proposal or a flag passes one of them on: rowText writes the full form.
    o.fullForm = hasProposal(row);
    if (o.fullForm) {
        t.AutoClass = row.text(FileViewColumn::Proposal);
        t.accepted = flag;
        o.flag = flag;
    }
    o.text = t.rowText();
    // A RAW recording has no description: its row changes all the same.
    o.write = isWav(row);
    // The file would read back other classes than the row shows: nothing is
    // written and the row stays as it is.
    const QString refusal = t.storeRefusal(o.text);
    if (o.write && !refusal.isEmpty()) {
        Outcome refused = answered(false);
        refused.refusal = refusal;
        return refused;
    }
    return o;
}

// Rename and delete touch only rows that are read and hold the class.
bool leavesUntouched(const FileRowTexts &row, const QString &name)
{
    return isUnread(row) || !filledSlots(row).contains(name);
}

} // namespace

Outcome assign(const FileRowTexts &row, const QString &className)
{
    if (!isWav(row) && row.text(FileViewColumn::Date) == notAvailable)
        return answered(false);
    if (isUnread(row) || row.hasClass(className))
        return answered(true);

    const QStringList old = filledSlots(row);
    QStringList classes;
    QString flag;
    if (row.acceptColumnShown && (className == ClassNames::noCall || old.value(0) == ClassNames::noCall)) {
        classes = QStringList{className};
    } else {
        classes = old.mid(0, 3);
        classes << className;
    }
    flag = className == ClassNames::noCall && row.acceptColumnShown
               ? QStringLiteral("0")
               : acceptedFlag(classes, row.text(FileViewColumn::Proposal));
    Outcome o = written(row, classes, flag);
    // A RAW recording with a date is tried: its missing RIFF header makes the write fail.
    o.write = o.refusal.isEmpty();
    return o;
}

Outcome rename(const FileRowTexts &row, const QString &oldName, const QString &newName)
{
    if (leavesUntouched(row, oldName))
        return answered(true);
    QStringList classes = filledSlots(row);
    classes[classes.indexOf(oldName)] = newName;
    return written(row, classes, row.text(FileViewColumn::Accepted));
}

Outcome remove(const FileRowTexts &row, const QString &name)
{
    if (leavesUntouched(row, name))
        return answered(true);
    QStringList classes = filledSlots(row);
    classes.removeAt(classes.indexOf(name));
    // A flag "1" without any class would show the recording accepted with nothing assigned.
    return written(row, classes, classes.isEmpty() ? QStringLiteral("0") : row.text(FileViewColumn::Accepted));
}

Outcome reassign(const FileRowTexts &row, int slot, const QString &className)
{
    if (!isFilledSlot(row, slot))
        return answered(true);
    QStringList classes = classSlots(row);
    classes[slot - 1] = className;
    classes.removeAll(QString());
    return written(row, classes, acceptedFlag(classes, row.text(FileViewColumn::Proposal)));
}

Outcome unassignSlot(const FileRowTexts &row, int slot)
{
    if (!isFilledSlot(row, slot))
        return answered(true);
    QStringList classes = classSlots(row);
    classes.removeAt(slot - 1);
    classes.removeAll(QString());
    return written(row, classes,
                   classes.isEmpty() ? QStringLiteral("0") : acceptedFlag(classes, row.text(FileViewColumn::Proposal)));
}

Outcome unassign(const FileRowTexts &row)
{
    if (isUnread(row))
        return answered(true);
    Outcome o = written(row, QStringList(), QStringLiteral("0"));
    // Nothing left to say: the empty text rather than a lone bar.
    if (!o.fullForm && row.text(FileViewColumn::Comment).isEmpty())
        o.text.clear();
    return o;
}

Outcome reset(const FileRowTexts &row, const QString &storedComment)
{
    if (!isWav(row) || row.text(FileViewColumn::Date) == notAvailable)
        return answered(true);
    Outcome o;
    o.write = true;
    o.text = QString(ClassAssignmentText::fieldSeparator)
             + (isUnread(row) ? storedComment : row.text(FileViewColumn::Comment));
    return o;
}

QStringList proposalClasses(const QString &proposal)
{
    QStringList classes = proposal.split(proposalSeparator).mid(0, 4);
    classes.removeAll(QString());
    return classes;
}

QString acceptedFlag(const QStringList &classes, const QString &proposal)
{
    const QStringList proposed = proposalClasses(proposal);
    const bool same =
        QSet<QString>(classes.cbegin(), classes.cend()) == QSet<QString>(proposed.cbegin(), proposed.cend());
    return same ? QStringLiteral("1") : QStringLiteral("0");
}

QString acceptText(const QString &proposal, const QString &comment)
{
    ClassAssignmentText t;
    t.setClasses(proposalClasses(proposal));
    t.AutoClass = proposal;
    t.accepted = QStringLiteral("1");
    t.comment = comment;
    return t.fullText(ClassAssignmentText::ClassList::Compact);
}

QString withdrawText(const QString &proposal, const QString &comment)
{
    ClassAssignmentText t;
    t.AutoClass = proposal;
    t.accepted = QStringLiteral("0");
    t.comment = comment;
    return t.fullText(ClassAssignmentText::ClassList::Compact);
}

} // namespace ClassTextRules
