#include "analysis/recorderresultlookup.h"

#include "analysis/analysislogging.h"
#include "analysis/boundedlinereader.h"
#include "analysis/classnames.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <tuple>

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

// Characters per block of kept lines: 128 KB, some hundreds of the recorder's lines.
constexpr int blockCharacters = 64 * 1024;

// Where the last path component of text's [begin, end) starts: behind its last separator, else at begin.
int lastComponentAt(const QString &text, int begin, int end)
{
    for (int at = end; at > begin; --at) {
        if (isPathSeparator(text.at(at - 1)))
            return at;
    }
    return begin;
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
    *this = RecorderResultIndex();
    m_fileName = QFileInfo(recorderResultFileName).fileName();
    BoundedLineReader reader(recorderResultFileName);
    if (!reader.open()) {
        const QFileInfo info(recorderResultFileName);
        m_fault = info.isFile() && info.size() > BoundedLineReader::maxFileBytes ? Fault::TooLarge : Fault::Unreadable;
        return false;
    }
    QString line;
    while (reader.readLine(line))
        keep(line);
    if (reader.firstSkippedLine() > 0) {
        const QString fileName = m_fileName;
        *this = RecorderResultIndex(); // gives back what was kept
        m_fileName = fileName;
        m_fault = Fault::LongLine;
        m_faultLine = reader.firstSkippedLine();
        return false;
    }
    // File order within each hash, so that the first field to end in a name comes first among its equals.
    std::sort(m_fields.begin(), m_fields.end(), [](const Field &a, const Field &b) {
        return std::tie(a.componentHash, a.line, a.begin) < std::tie(b.componentHash, b.line, b.begin);
    });
    m_fields.shrink_to_fit();
    m_lines.shrink_to_fit();
    if (!m_blocks.empty())
        m_blocks.back().squeeze();
    return true;
}

void RecorderResultIndex::keep(const QString &line)
{
    const int number = int(m_lines.size());
    const size_t fieldsBefore = m_fields.size();
    int fieldStart = 0;
    while (fieldStart <= line.size()) {
        int fieldEnd = line.indexOf(QLatin1Char('\t'), fieldStart);
        if (fieldEnd < 0)
            fieldEnd = line.size();
        if (line.midRef(fieldStart, fieldEnd - fieldStart).endsWith(indexedEnding, Qt::CaseInsensitive)) {
            const int component = lastComponentAt(line, fieldStart, fieldEnd);
            m_fields.push_back(
                {qHash(QStringView(line).mid(component, fieldEnd - component)), number, fieldStart, fieldEnd});
        }
        fieldStart = fieldEnd + 1;
    }
    if (m_fields.size() == fieldsBefore)
        return;
    // A line is at most BoundedLineReader::maxLineBytes characters long, well within a block.
    if (m_blocks.empty() || m_blocks.back().size() + line.size() > m_blocks.back().capacity()) {
        if (!m_blocks.empty())
            m_blocks.back().squeeze();
        m_blocks.emplace_back();
        m_blocks.back().reserve(qMax(blockCharacters, line.size()));
    }
    QString &block = m_blocks.back();
    m_lines.push_back({int(m_blocks.size()) - 1, block.size(), line.size()});
    block += line;
}

QStringView RecorderResultIndex::text(const Line &line) const
{
    return QStringView(m_blocks[size_t(line.block)]).mid(line.begin, line.size);
}

QString RecorderResultIndex::faultText() const
{
    const QString file = QLatin1Char('\'') + m_fileName + QLatin1Char('\'');
    switch (m_fault) {
    case Fault::None:
        break;
    case Fault::Unreadable:
        return QCoreApplication::translate("RecorderResultIndex", "The result file %1 cannot be read.").arg(file);
    case Fault::TooLarge:
        return QCoreApplication::translate("RecorderResultIndex",
                                           "The result file %1 cannot be used: it is larger than %2 MB.")
            .arg(file)
            .arg(BoundedLineReader::maxFileBytes >> 20);
    case Fault::LongLine:
        return QCoreApplication::translate("RecorderResultIndex",
                                           "The result file %1 cannot be used: its line %2 is longer than %3 bytes.")
            .arg(file)
            .arg(m_faultLine)
            .arg(BoundedLineReader::maxLineBytes);
    }
    return QString();
}

QString RecorderResultIndex::lineFor(const QString &name) const
{
    if (!name.endsWith(indexedEnding, Qt::CaseInsensitive))
        return QString();
    if (name.contains(QLatin1Char('\t'))) {
        // Behind its last TAB such a name is a field of its own that ends in ".wav": its line is kept.
        for (const Line &line : m_lines) {
            const QString kept = text(line).toString();
            if (RecorderResultLookup::namesWhole(kept, name))
                return kept;
        }
        return QString();
    }
    // A name without a TAB lies within one field; it stands there as a whole
    // when it ends the field and starts it or follows a path separator. Such a
    // field then ends in the name's own last path component, and in ".wav":
    // the table holds every field that can answer the name, and answers
    // exactly as the search through every line.
    const int component = lastComponentAt(name, 0, name.size());
    const uint hash = qHash(QStringView(name).mid(component));
    const auto byHash = [](const Field &field, uint h) { return field.componentHash < h; };
    for (auto field = std::lower_bound(m_fields.cbegin(), m_fields.cend(), hash, byHash);
         field != m_fields.cend() && field->componentHash == hash; ++field) {
        // Another component may share the hash: the name itself decides.
        const QStringView line = text(m_lines[size_t(field->line)]);
        const int at = field->end - name.size();
        if (at >= field->begin && (at == field->begin || isPathSeparator(line.at(at - 1)))
            && line.mid(at, name.size()) == name)
            return line.toString();
    }
    return QString();
}

QString RecorderResultIndex::proposal(const QString &wavFileName, int reviewMode) const
{
    return RecorderResultLookup::proposalFromLine(lineFor(fileNameOf(wavFileName)), reviewMode);
}

QString RecorderResultCache::proposal(const QString &wavFileName, const QString &recorderResultFileName, int reviewMode)
{
    qint64 size = -1;
    qint64 modified = 0;
    // The path in the file system's form is kept with the index: a chain asks for one file throughout.
    if (recorderResultFileName != m_path)
        m_file = std::filesystem::u8path(recorderResultFileName.toStdString());
    fileStamp(m_file, size, modified);
    if (!m_valid || m_path != recorderResultFileName || m_size != size || m_modified != modified) {
        // Taken before the reading: a change while it reads shows at the next request.
        // A refused file is not read again until it changes: it may take 500 MB to refuse.
        m_readable = m_index.read(recorderResultFileName);
        m_valid = true;
        m_path = recorderResultFileName;
        m_size = size;
        m_modified = modified;
        if (!m_readable)
            qCWarning(lcAnalysis).noquote() << m_index.faultText();
    }
    return m_readable ? m_index.proposal(wavFileName, reviewMode) : QString();
}

void RecorderResultCache::clear()
{
    m_valid = false;
    m_readable = false;
    m_index = RecorderResultIndex();
}
