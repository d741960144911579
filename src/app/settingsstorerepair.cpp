#include "app/settingsstorerepair.h"

#include "common/filewritefailure.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVector>
#include <QWidget>

#include <exception>

namespace {

Q_LOGGING_CATEGORY(lcSettingsStore, "quillon.app", QtWarningMsg)

// What QSplitter::saveState writes first, and the newest version restoreState takes.
constexpr qint32 splitterMarker = 0xff;
constexpr qint32 newestSplitterVersion = 1;
// Qt's styles draw a handle a few pixels wide; one wider than this would crowd the plots out.
constexpr qint32 widestHandle = 100;
// The probes of one scratch file: Qt holds what it parsed of a file until it is done with it.
constexpr int linesPerProbeFile = 10000;

// A layout the window gives a splitter at the first recording it shows, and
// the splitter's orientation in the form.
struct StoredSplitter {
    const Setting<QByteArray> *setting;
    Qt::Orientation orientation;
};

const StoredSplitter storedSplitters[] = {
    {&SettingKeys::splitterMainSizes, Qt::Vertical},
    {&SettingKeys::splitterTimePlotSizes, Qt::Vertical},
    {&SettingKeys::splitterFrequencyPlotSizes, Qt::Horizontal},
};

const StoredSplitter *storedSplitterNamed(const QByteArray &key)
{
    for (const StoredSplitter &splitter : storedSplitters) {
        if (key == splitter.setting->key)
            return &splitter;
    }
    return nullptr;
}

// Whether the value of `key` decodes and, where it is a stored layout, could
// be applied. Qt throws out of its decoding (std::bad_alloc for a list that
// claims more entries than memory holds) and leaves the group undecoded, so
// the next access tries again and throws again.
bool valueReads(QSettings &settings, const QString &key, const StoredSplitter *splitter)
{
    try {
        const QVariant value = settings.value(key);
        return !splitter || splitterStateApplies(value.toByteArray(), splitter->orientation);
    } catch (const std::exception &) {
        return false;
    }
}

// Whether every value of the INI file at `path` decodes and every stored layout in it could be applied.
bool readsWhole(const QString &path)
{
    try {
        QSettings settings(path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        for (const QString &key : keys)
            settings.value(key);
        for (const StoredSplitter &splitter : storedSplitters) {
            const QString key = QLatin1String(splitter.setting->key);
            if (settings.contains(key) && !valueReads(settings, key, &splitter))
                return false;
        }
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

bool writeProbe(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

// Whether Qt's reading of `line` ends where the line does. A quote left open,
// or a backslash at the end, carries it on into the next line; a ';' outside
// quotes starts a comment to the line's end.
bool endsOnItsLine(QByteArray line)
{
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.contains('\r'))
        return false; // Qt ends a line there too: what follows is a line of its own
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '\\') {
            if (++i == line.size())
                return false;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && !quoted) {
            return true;
        }
    }
    return !quoted;
}

bool isGeneralSection(const QByteArray &trimmedLine)
{
    const int end = trimmedLine.indexOf(']');
    const QByteArray name = trimmedLine.mid(1, end < 0 ? -1 : end - 1);
    return name.compare("general", Qt::CaseInsensitive) == 0;
}

// A line tried in a scratch file of many, in a section of its own.
struct Probe {
    int line;
    QString key; // the key whose reading decodes the line's section
    const StoredSplitter *splitter;
};

// Tries `probes` (with `text` their scratch file) at once: Qt parses one
// section per first access, so each line is decoded once, alone.
void tryProbes(const QByteArray &text, const QVector<Probe> &probes, const QString &path, QVector<bool> *dropped)
{
    if (probes.isEmpty() || !writeProbe(path, text))
        return;
    QSettings settings(path, QSettings::IniFormat);
    for (const Probe &probe : probes)
        (*dropped)[probe.line] = !valueReads(settings, probe.key, probe.splitter);
}

// The text without the lines whose value does not decode, or that hold a
// layout that could not be applied. Each line is tried alone: in a section of
// its own of a scratch file, or, where Qt would read on into the next line,
// under its section in a file of its own. Qt writes one key per line; a line
// of a hand-written value continued over several lines decodes alone and stays.
QByteArray withoutUnreadableValues(const QByteArray &text, const QTemporaryDir &scratch)
{
    const QList<QByteArray> lines = text.split('\n');
    QVector<bool> dropped(lines.size(), false);
    QByteArray section;
    bool general = true; // the lines before the first section are the general ones
    QByteArray probeText;
    QVector<Probe> probes;
    int files = 0;
    const auto nextFile = [&scratch, &files]() {
        return scratch.filePath(QString::number(++files) + QStringLiteral(".ini"));
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            section = line;
            general = isGeneralSection(trimmed);
            continue;
        }
        if (trimmed.isEmpty() || trimmed.startsWith(';'))
            continue;
        const int equals = trimmed.indexOf('=');
        const StoredSplitter *splitter =
            general && equals > 0 ? storedSplitterNamed(trimmed.left(equals).trimmed()) : nullptr;
        if (endsOnItsLine(line)) {
            const QByteArray group = 'p' + QByteArray::number(i);
            probeText += '[' + group + "]\n" + line + '\n';
            const QByteArray key = splitter ? QByteArray(splitter->setting->key) : QByteArrayLiteral("x");
            probes.append({i, QString::fromLatin1(group + '/' + key), splitter});
            if (probes.size() == linesPerProbeFile) {
                tryProbes(probeText, probes, nextFile(), &dropped);
                probeText.clear();
                probes.clear();
            }
        } else {
            // Qt would read on into the next line: alone in a file, under its section as written.
            const QString path = nextFile();
            if (writeProbe(path, section + '\n' + line + '\n'))
                dropped[i] = !readsWhole(path);
        }
    }
    tryProbes(probeText, probes, nextFile(), &dropped);

    QByteArray kept;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (dropped.at(i)) {
            qCWarning(lcSettingsStore) << "settings value dropped:" << line.left(line.indexOf('=')).trimmed();
            continue;
        }
        kept += line;
        if (i + 1 < lines.size())
            kept += '\n';
    }
    return kept;
}

// Beside the store, a name no earlier copy bears: "Quillon.unreadable.conf", then "Quillon.unreadable-2.conf".
QString copyPathFor(const QFileInfo &store)
{
    const QString stem = store.dir().filePath(store.completeBaseName() + QStringLiteral(".unreadable"));
    const QString suffix = store.suffix().isEmpty() ? QString() : QLatin1Char('.') + store.suffix();
    QString path = stem + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return path;
}

} // namespace

bool splitterStateApplies(const QByteArray &state, Qt::Orientation orientation)
{
    QDataStream in(state);
    in.setVersion(QDataStream::Qt_5_0);
    qint32 marker = 0;
    qint32 version = 0;
    qint32 count = 0;
    in >> marker >> version >> count;
    // Four bytes a size: a count the rest cannot hold is one Qt would reserve memory for before reading on.
    const qint64 rest = state.size() - in.device()->pos();
    if (in.status() != QDataStream::Ok || marker != splitterMarker || version < 0 || version > newestSplitterVersion
        || count < 0 || count > rest / 4)
        return false;
    for (qint32 i = 0; i < count; ++i) {
        qint32 size = -2;
        in >> size;
        // -1: a pane not laid out yet, which takes the size it asks for.
        if (size < -1 || size > QWIDGETSIZE_MAX)
            return false;
    }
    bool collapsible = false;
    qint32 handleWidth = 0;
    bool opaqueResize = false;
    qint32 storedOrientation = 0;
    in >> collapsible >> handleWidth >> opaqueResize >> storedOrientation;
    if (version >= 1) {
        bool opaqueResizeChosen = false;
        in >> opaqueResizeChosen;
    }
    // -1: the style's own handle width.
    const bool handleGrabbable = handleWidth == -1 || (handleWidth > 0 && handleWidth <= widestHandle);
    return in.status() == QDataStream::Ok && handleGrabbable && storedOrientation == orientation;
}

QString setAsideUnreadableSettings(bool *copyWritten)
{
    if (copyWritten)
        *copyWritten = false;
    const QFileInfo store(QSettings().fileName());
    // Where the platform keeps settings in no file (a registry), Qt decodes nothing from text.
    if (!store.isFile() || readsWhole(store.filePath()))
        return QString();

    QFile original(store.filePath());
    if (!original.open(QIODevice::ReadOnly)) {
        qCWarning(lcSettingsStore) << "settings store cannot be read:" << store.filePath();
        return QString();
    }
    const QByteArray text = original.readAll();
    original.close();

    const QString copyPath = copyPathFor(store);
    QFile copy(copyPath);
    const bool copied = copy.open(QIODevice::WriteOnly) && copy.write(text) == text.size() && copy.flush();
    copy.close();
    if (copyWritten)
        *copyWritten = copied;
    if (copied)
        qCWarning(lcSettingsStore) << "unreadable settings store kept as" << copyPath;
    else
        qCWarning(lcSettingsStore) << "unreadable settings store could not be kept as" << copyPath;

    QTemporaryDir scratch;
    QSaveFile repaired(store.filePath());
    if (!scratch.isValid() || !repaired.open(QIODevice::WriteOnly)) {
        qCWarning(lcSettingsStore) << "settings store cannot be repaired:" << store.filePath();
        return copyPath;
    }
    repaired.write(withoutUnreadableValues(text, scratch));
    if (!repaired.commit())
        qCWarning(lcSettingsStore) << "settings store cannot be repaired:" << store.filePath();
    return copyPath;
}

void repairSettingsStoreAtStart(QWidget *parent)
{
    bool copyWritten = false;
    const QString copy = setAsideUnreadableSettings(&copyWritten);
    if (copy.isEmpty())
        return;
    if (!copyWritten) {
        reportFileWriteFailure();
        return;
    }
    MessageBoxRequest box;
    box.parent = parent;
    box.icon = QMessageBox::Warning;
    box.title = QCoreApplication::applicationName();
    box.text =
        QCoreApplication::translate("MainWindow", "Some settings could not be read and are back at their defaults.\n"
                                                  "The settings as they were are kept in the file below.");
    box.informativeText = QDir::toNativeSeparators(copy);
    userDialogs().message(box);
}
