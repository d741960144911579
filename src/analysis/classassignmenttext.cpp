#include "analysis/classassignmenttext.h"

const QString ClassAssignmentText::classSeparator = QStringLiteral(" + ");
const QChar ClassAssignmentText::fieldSeparator = QLatin1Char('|');

ClassAssignmentText ClassAssignmentText::parse(const QString &text)
{
    ClassAssignmentText t;
    QString classList;
    const int bars = text.count(fieldSeparator);
    if (bars == 0) {
        classList = text;
    } else if (bars == 3) {
        const QStringList parts = text.split(fieldSeparator);
        classList = parts.at(0);
        t.AutoClass = parts.at(1);
        t.accepted = parts.at(2);
        t.comment = parts.at(3);
    } else {
        // One, two, four or more bars: a comment may hold bars of its own, so
        // everything behind the first bar is the comment.
        const int first = text.indexOf(fieldSeparator);
        classList = text.left(first);
        t.comment = text.mid(first + 1);
    }

    const QStringList names = classList.split(classSeparator);
    // More than four names is no layout any writer makes: take none rather than guess.
    if (names.size() <= 4)
        t.setClasses(names);
    return t;
}

bool ClassAssignmentText::fitsDescription(const QString &text)
{
    return text.toUtf8().size() <= descriptionBytes;
}

bool ClassAssignmentText::isStorableComment(const QString &comment)
{
    return !comment.contains(fieldSeparator);
}

QString ClassAssignmentText::fullFormComment(const QString &comment)
{
    QString stored = comment;
    return stored.replace(fieldSeparator, QLatin1Char('/'));
}

QStringList ClassAssignmentText::classes() const
{
    return {batClass1, batClass2, batClass3, batClass4};
}

void ClassAssignmentText::setClasses(const QStringList &names)
{
    batClass1 = names.value(0);
    batClass2 = names.value(1);
    batClass3 = names.value(2);
    batClass4 = names.value(3);
}

QString ClassAssignmentText::fullText(ClassList style) const
{
    return withClassList(style, fieldSeparator + AutoClass + fieldSeparator + accepted + fieldSeparator
                                    + fullFormComment(comment));
}

QString ClassAssignmentText::shortText(ClassList style) const
{
    return withClassList(style, fieldSeparator + comment);
}

QString ClassAssignmentText::withClassList(ClassList style, const QString &fields) const
{
    QStringList names = classes();
    if (style == ClassList::Compact)
        names.removeAll(QString());
    const QString asked = names.join(classSeparator);
    // A name of other software that ends in " +" runs into the separator behind it: "Pip +" and " + "
    // read back as "Pip" and "+ ".
    if (fitsDescription(asked + fields) && asked.split(classSeparator) == names)
        return asked + fields;
    // The empty slots behind the last class read back alike whether written or not.
    while (!names.isEmpty() && names.last().isEmpty())
        names.removeLast();
    const QString list = names.join(classSeparator);
    // With nothing but classes to store the bars add nothing either: a bare class list that fills the
    // description whole (other software's) is written back as it was read.
    if (AutoClass.isEmpty() && accepted.isEmpty() && comment.isEmpty() && !fitsDescription(list + fields))
        return list;
    return list + fields;
}

bool ClassAssignmentText::operator==(const ClassAssignmentText &o) const
{
    return batClass1 == o.batClass1 && batClass2 == o.batClass2 && batClass3 == o.batClass3 && batClass4 == o.batClass4
           && AutoClass == o.AutoClass && accepted == o.accepted && comment == o.comment;
}
