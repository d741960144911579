#include "analysis/recorderresultlookup.h"

#include "analysis/classnames.h"

#include <QFile>
#include <QTextStream>

namespace {

const QString indexedEnding = QStringLiteral(".wav");

QString groupName(const QStringRef &recorderName)
{
    if (recorderName == QLatin1String("Pipistrelloid"))
        return QStringLiteral("Pip");
    if (recorderName == QLatin1String("Nyctaloid"))
        return QStringLiteral("Nyc");
    return recorderName.toString();
}

QString fileNameOf(const QString &wavFileName)
{
    return wavFileName.mid(wavFileName.lastIndexOf(QLatin1Char('/')) + 1);
}

// Size and modification time of the file at path as the file system counts
// them, without a conversion into local time; -1 and 0 when there is none.
void fileStamp(const std::filesystem::path &file, qint64 &size, qint64 &modified)
{
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(file, error);
    size = error ? -1 : qint64(bytes);
    const std::filesystem::file_time_type time = std::filesystem::last_write_time(file, error);
    modified = error ? 0 : qint64(time.time_since_epoch().count());
}

bool isPathSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// A name without a TAB lies within one field; it stands there as a whole when
// it ends the field and starts it or follows a path separator. The names the
// hash holds are all of these that end in ".wav": for them the hash answers
// exactly as the search through every line.
bool indexable(const QString &name)
{
    return name.endsWith(indexedEnding, Qt::CaseInsensitive) && !name.contains(QLatin1Char('\t'));
}

} // namespace

bool RecorderResultLookup::namesWhole(const QString &line, const QString &name)
{
    for (int at = line.indexOf(name); at >= 0; at = line.indexOf(name, at + 1)) {
        const QChar before = at > 0 ? line.at(at - 1) : QLatin1Char('\t');
        const int end = at + name.size();
        const QChar after = end < line.size() ? line.at(end) : QLatin1Char('\t');
        if ((before == QLatin1Char('\t') || isPathSeparator(before)) && after == QLatin1Char('\t'))
            return true;
    }
    return false;
}

QString RecorderResultLookup::proposal(const QString &wavFileName, const QString &recorderResultFileName,
                                       int reviewMode)
{
    QFile file(recorderResultFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();

    const QString name = fileNameOf(wavFileName);
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
    return proposalFromLine(line, reviewMode);
}

QString RecorderResultLookup::proposalFromLine(const QString &line, int reviewMode)
{
    if (line.isNull())
        return QString();
    // Looked at in place: a line has thirteen fields, and a review asks for one line per recording.
    const QVector<QStringRef> fields = line.splitRef(QLatin1Char('\t'), Qt::KeepEmptyParts);
    if (fields.size() < 7)
        return QString();

    const QStringRef verdict = fields.at(3);
    if (verdict == QLatin1String("noise") || verdict == QLatin1String("test"))
        return ClassNames::noCall;
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
            add(fields.value(i).toString());
    }
    return names.join(QStringLiteral(", "));
}

bool RecorderResultIndex::read(const QString &recorderResultFileName)
{
    m_lines.clear();
    m_firstLine.clear();
    QFile file(recorderResultFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const int number = m_lines.size();
        m_lines << line;
        int fieldStart = 0;
        while (fieldStart <= line.size()) {
            int fieldEnd = line.indexOf(QLatin1Char('\t'), fieldStart);
            if (fieldEnd < 0)
                fieldEnd = line.size();
            const QStringRef field = line.midRef(fieldStart, fieldEnd - fieldStart);
            if (field.endsWith(indexedEnding, Qt::CaseInsensitive)) {
                // The field itself and every tail behind a separator; the first line keeps a name.
                for (int at = 0; at < field.size(); ++at) {
                    if (at > 0 && !isPathSeparator(field.at(at - 1)))
                        continue;
                    const QString name = field.mid(at).toString();
                    if (!m_firstLine.contains(name))
                        m_firstLine.insert(name, number);
                }
            }
            fieldStart = fieldEnd + 1;
        }
    }
    return true;
}

QString RecorderResultIndex::lineFor(const QString &name) const
{
    if (indexable(name)) {
        const auto found = m_firstLine.constFind(name);
        return found == m_firstLine.constEnd() ? QString() : m_lines.at(found.value());
    }
    for (const QString &line : m_lines) {
        if (RecorderResultLookup::namesWhole(line, name))
            return line;
    }
    return QString();
}

QString RecorderResultIndex::proposal(const QString &wavFileName, int reviewMode) const
{
    return RecorderResultLookup::proposalFromLine(lineFor(fileNameOf(wavFileName)), reviewMode);
}

QString RecorderResultCache::proposal(const QString &wavFileName, const QString &recorderResultFileName,
                                      int reviewMode)
{
    qint64 size = -1;
    qint64 modified = 0;
    // The path in the file system's form is kept with the index: a chain asks for one file throughout.
    if (recorderResultFileName != m_path)
        m_file = std::filesystem::u8path(recorderResultFileName.toStdString());
    fileStamp(m_file, size, modified);
    if (!m_valid || m_path != recorderResultFileName || m_size != size || m_modified != modified) {
        // Taken before the reading: a change while it reads shows at the next request.
        m_valid = m_index.read(recorderResultFileName);
        m_path = recorderResultFileName;
        m_size = size;
        m_modified = modified;
        if (!m_valid)
            return QString();
    }
    return m_index.proposal(wavFileName, reviewMode);
}

void RecorderResultCache::clear()
{
    m_valid = false;
    m_index = RecorderResultIndex();
}
