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

} // namespace

QString RecorderResultLookup::proposal(const QString &wavFileName, const QString &recorderResultFileName,
                                       int reviewMode)
{
    QFile file(recorderResultFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();

    const QString name = wavFileName.mid(wavFileName.lastIndexOf(QLatin1Char('/')) + 1);
    QTextStream in(&file);
    QString line;
    bool found = false;
    // The first line naming the recording wins, also as part of a longer name.
    while (!in.atEnd()) {
        line = in.readLine();
        if (line.contains(name, Qt::CaseSensitive)) {
            found = true;
            break;
        }
    }
    file.close();
    if (!found)
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
