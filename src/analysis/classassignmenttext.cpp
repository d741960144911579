#include "analysis/classassignmenttext.h"

#include "analysis/analysislogging.h"
#include "recording/wavfile.h"

#include <QCoreApplication>

const QString ClassAssignmentText::classSeparator = QStringLiteral(" + ");
const QChar ClassAssignmentText::fieldSeparator = QLatin1Char('|');

namespace {

constexpr int classSlots = 4;

// The class names of a stored text: what stands before its first bar, or all of it.
QStringList classNames(const QString &text)
{
    return text.left(text.indexOf(ClassAssignmentText::fieldSeparator)).split(ClassAssignmentText::classSeparator);
}

} // namespace

ClassAssignmentText ClassAssignmentText::parse(const QString &text)
{
    ClassAssignmentText t;
    const int bars = text.count(fieldSeparator);
    if (bars == 3) {
        const QStringList parts = text.split(fieldSeparator);
        t.AutoClass = parts.at(1);
        t.accepted = parts.at(2);
        t.comment = parts.at(3);
    } else if (bars > 0) {
        // One, two, four or more bars: a comment may hold bars of its own, so
        // everything behind the first bar is the comment.
        t.comment = text.mid(text.indexOf(fieldSeparator) + 1);
    }

    const QStringList names = classNames(text);
    // More than four names is no layout any writer makes: take none rather than guess.
    if (names.size() <= classSlots)
        t.setClasses(names);
    return t;
}

bool ClassAssignmentText::fitsDescription(const QString &text)
{
    return text.toUtf8().size() <= descriptionBytes;
}

bool ClassAssignmentText::readsWhole(const QString &text)
{
    return classNames(text).size() <= classSlots;
}

bool ClassAssignmentText::writeDescription(const QString &path, const QString &text, QString *failure)
{
    WavFile header;
    header.open(path, true);
    if (!readsWhole(header.bext.description)) {
        qCWarning(lcAnalysis).noquote() << QStringLiteral("Description not written over, its classes cannot be read: ")
                                               + path;
        if (failure)
            *failure = unreadDescriptionText();
        return false;
    }
    return WavFile().writeBextDescription(path, text, failure);
}

QString ClassAssignmentText::unreadDescriptionText()
{
    return QCoreApplication::translate("ClassAssignmentText",
                                       "The recording's description holds more than four classes, joined by \" + \", "
                                       "which cannot be read: it is left as it stands.");
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

QString ClassAssignmentText::rowText() const
{
    const bool fullForm = !AutoClass.isEmpty() || !accepted.isEmpty();
    return fullForm ? fullText(ClassList::Compact) : shortText(ClassList::Compact);
}

QString ClassAssignmentText::storeRefusal(const QString &text) const
{
    QStringList readBack = parse(text).classes();
    QStringList meant = classes();
    readBack.removeAll(QString());
    meant.removeAll(QString());
    if (readBack == meant)
        return QString();
    return QCoreApplication::translate("ClassAssignmentText",
                                       "The classes cannot be stored so that they read back as they "
                                       "are: a class name ends in \" +\".");
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
