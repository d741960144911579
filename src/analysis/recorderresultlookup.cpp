#include "analysis/recorderresultlookup.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

namespace {

QString groupName(const QString &recorderName)
{
    if (recorderName == QLatin1String("Pipistrelloid"))
        return QStringLiteral("Pip");
    if (recorderName == QLatin1String("Nyctaloid"))
        return QStringLiteral("Nyc");
    return recorderName;
}

// Whether name stands in line as a whole file name: as a field of its own,
// or at the end of a path in one.
bool namesWhole(const QString &line, const QString &name)
{
    for (int at = line.indexOf(name); at >= 0; at = line.indexOf(name, at + 1)) {
        const QChar before = at > 0 ? line.at(at - 1) : QLatin1Char('\t');
        const int end = at + name.size();
        const QChar after = end < line.size() ? line.at(end) : QLatin1Char('\t');
        if ((before == QLatin1Char('\t') || before == QLatin1Char('/') || before == QLatin1Char('\\'))
            && after == QLatin1Char('\t'))
            return true;
    }
    return false;
}

} // namespace

QString RecorderResultLookup::proposal(const QString &wavFileName, const QString &recorderResultFileName,
                                       int reviewMode)
{
    QFile file(recorderResultFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();

    const QString name = wavFileName.mid(wavFileName.lastIndexOf(QLatin1Char('/')) + 1);
    QTextStream in(&file);
    // Only the recording's own line counts: "1.wav" stands in the line of
    // "11.wav" too, and that line's verdict is not this recording's; a
    // "noise" there would empty 1.wav's stored classes.
    QString line;
    while (!in.atEnd()) {
        const QString read = in.readLine();
        if (namesWhole(read, name)) {
            line = read;
            break;
        }
    }
    file.close();
    if (line.isNull())
        return QString();

    const QStringList fields = line.split(QLatin1Char('\t'), Qt::KeepEmptyParts);
    if (fields.size() < 7)
        return QString();

    const QString verdict = fields.at(3);
    if (verdict == QLatin1String("noise") || verdict == QLatin1String("test"))
        return QStringLiteral("No Call");
    if (verdict != QLatin1String("bat"))
        return QString();

    // Names are joined only between non-empty fields, so a missing first name
    // does not leave a leading ", " in the proposal. A name comes once: two
    // species of one group give that group twice, and accepted as it stands
    // the recording would hold one class twice and be counted in it twice.
    QStringList names;
    const auto add = [&names](const QString &name) {
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    };
    if (reviewMode == 0) {
        for (int i : {4, 6})
            add(groupName(fields.value(i)));
    } else if (reviewMode == 1) {
        for (int i : {8, 10, 12})
            add(fields.value(i));
    }
    return names.join(QStringLiteral(", "));
}
