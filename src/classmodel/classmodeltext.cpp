#include "classmodel/classmodeltext.h"

#include "classmodel/classnamerules.h"

namespace {

const QChar tab = QLatin1Char('\t');
const QChar lineFeed = QLatin1Char('\n');

ClassModelEntry entry(const char *name, const char *shortcut, const QVector<ClassModelEntry> &subclasses = {})
{
    return {QString::fromUtf8(name), QString::fromUtf8(shortcut), subclasses};
}

// Name and shortcut of a line without its leading TAB: fields 0 and 1, further ones ignored.
ClassModelEntry fields(const QString &line)
{
    const QStringList parts = line.split(tab);
    return {parts.at(0), parts.value(1), {}};
}

} // namespace

namespace ClassModelText {

QString write(const ClassModel &model)
{
    QString text;
    for (const ClassModelEntry &cls : model) {
        text += cls.name + tab + cls.shortcut + lineFeed;
        for (const ClassModelEntry &sub : cls.subclasses)
            text += tab + sub.name + tab + sub.shortcut + lineFeed;
    }
    return text;
}

Reading read(const QString &text, Names names)
{
    Reading reading;
    // A subclass line belongs to the last class line read: before any class
    // line it belongs to none and is dropped; behind a refused class it goes
    // with that class and is named with it.
    enum { NoClassYet, Taken, Refused } lastClass = NoClassYet;
    for (QString line : text.split(lineFeed)) {
        // A model saved with CR LF ends (by an editor on another system) reads
        // as one with LF ends: a CR kept would end every shortcut, and no key
        // would match it.
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const bool subclass = line.at(0) == tab;
        ClassModelEntry read = fields(subclass ? line.mid(1) : line);
        if (names == Names::Trimmed)
            read.name = read.name.trimmed();
        if (subclass) {
            if (lastClass == NoClassYet)
                continue;
            if (lastClass == Refused || !ClassNames::isUsable(read.name)) {
                reading.refusedNames << read.name;
                continue;
            }
            reading.model.last().subclasses << read;
            continue;
        }
        if (ClassNames::isUsableClass(read.name)) {
            lastClass = Taken;
            reading.model << read;
        } else {
            lastClass = Refused;
            reading.refusedNames << read.name;
        }
    }
    return reading;
}

QString decodeFile(const QByteArray &bytes)
{
    const int end = bytes.indexOf('\0');
    return QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
}

QStringList allShortcuts()
{
    QStringList shortcuts;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        shortcuts << QStringLiteral("<%1>").arg(QLatin1Char(letter));
    return shortcuts;
}

QStringList freeShortcuts(const QStringList &used)
{
    QStringList free = allShortcuts();
    for (const QString &shortcut : used)
        free.removeOne(shortcut);
    return free;
}

QStringList shortcutsOf(const ClassModel &model)
{
    QStringList shortcuts;
    for (const ClassModelEntry &cls : model) {
        shortcuts << cls.shortcut;
        for (const ClassModelEntry &sub : cls.subclasses)
            shortcuts << sub.shortcut;
    }
    return shortcuts;
}

QString tavronTree()
{
    // Pip takes "<L>", the first letter the other entries leave free.
    return QStringLiteral("Nyc\t<A>\n"
                          "\tNycLow\t<B>\n"
                          "\tNycNoc\t<C>\n"
                          "\tNycMid\t<D>\n"
                          "\tEnil\t<E>\n"
                          "Pip\t<L>\n"
                          "\tPipNat\t<F>\n"
                          "\tPipPn\t<G>\n"
                          "\tPipPip\t<H>\n"
                          "\tPipPp\t<I>\n"
                          "\tPipPyg\t<J>\n"
                          "No Call\t<K>");
}

QString simpleReviewTree()
{
    return QStringLiteral("Pip\t<G>\n"
                          "\tPnat\t<H>\n"
                          "Nyc\t<F>\n"
                          "No Call\t<J>");
}

QString advancedReviewTree()
{
    return QStringLiteral("Pip\t<A>\n"
                          "\tPnat\t<Q>\n"
                          "\tPpPn\t<W>\n"
                          "\tPpip\t<E>\n"
                          "\tPpPp\t<R>\n"
                          "\tPpyg\t<T>\n"
                          "Nyc\t<S>\n"
                          "\tNlow\t<Y>\n"
                          "\tNnoc\t<X>\n"
                          "\tNycmi\t<C>\n"
                          "\tEnil\t<V>\n"
                          "No Call\t<D>");
}

ClassModel simpleDefaultTree()
{
    return {entry("Bat", "<A>"), entry("No Call", "<D>")};
}

ClassModel advancedDefaultTree()
{
    return {
        entry("Pip", "<A>",
              {entry("Pnat", "<Q>"), entry("PpPn", "<W>"), entry("Ppip", "<E>"), entry("PpPp", "<R>"),
               entry("Ppyg", "<T>")}),
        entry("Nyc", "<S>", {entry("Nlow", "<Y>"), entry("Nnoc", "<X>"), entry("Nycmi", "<C>"), entry("Enil", "<V>")}),
        entry("Test", "<D>"), entry("Noise", "<F>")};
}

} // namespace ClassModelText
