#include "app/settingsstorerepair.h"

#include "common/inivalues.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>
#include <QVector>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <utility>

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
// the splitter's orientation and panes in the form.
struct StoredSplitter {
    const Setting<QByteArray> *setting;
    Qt::Orientation orientation;
    int panes;
};

const StoredSplitter storedSplitters[] = {
    {&SettingKeys::splitterMainSizes, Qt::Vertical, 3}, // the plots, the evaluation and the folder below
    {&SettingKeys::splitterTimePlotSizes, Qt::Vertical, 2},
    {&SettingKeys::splitterFrequencyPlotSizes, Qt::Horizontal, 2},
};

// Whether every stored layout among the values `settings` holds under the
// key prefix `group` (empty for the general ones) could be applied. Throws
// where Qt's decoding of the group does.
bool layoutsApply(QSettings &settings, const QString &group)
{
    for (const StoredSplitter &splitter : storedSplitters) {
        const QString key = group + QLatin1String(splitter.setting->key);
        if (settings.contains(key)
            && !splitterStateApplies(settings.value(key).toByteArray(), splitter.orientation, splitter.panes))
            return false;
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

// Whether a start would read every value of `text`, a store's bytes, whole:
// each may be decoded and decodes, and every stored layout in it could be
// applied. Qt keeps a file it has read and reads it again only when its size
// or time changed; the same bytes read so may decode otherwise than at a start
// (without the UTF-8 a byte order mark asks for). So Qt reads them from a
// scratch file it never saw, or else from `pathHoldingText`, if any.
bool readsWhole(const QByteArray &text, const QTemporaryDir &scratch, const QString &pathHoldingText)
{
    const QVector<IniValue> values = iniValuesOf(text);
    if (!std::all_of(values.cbegin(), values.cend(), [](const IniValue &v) { return v.admitted; }))
        return false;
    static int checks = 0;
    QString path = scratch.filePath(QStringLiteral("whole-%1.ini").arg(++checks));
    if (!scratch.isValid() || !writeFile(path, text))
        path = pathHoldingText;
    if (path.isEmpty())
        return false;
    try {
        QSettings settings(path, QSettings::IniFormat);
        settings.allKeys(); // decodes every section
        return layoutsApply(settings, QString());
    } catch (const std::exception &) {
        return false;
    }
}

// A value tried in a scratch file of many, in a section of its own.
struct Probe {
    int value;     // its index among the store's values
    QString group; // "p<n>/": the section it has in the scratch file
    bool general;  // whether it is one of the store's general values, where the window's layouts are
};

// Tries `probes` (with `text` their scratch file) at once: Qt decodes one
// section at the first access to a key in it, so each value is decoded once, alone.
void tryProbes(const QByteArray &text, const QVector<Probe> &probes, const QString &path, QVector<bool> *dropped)
{
    if (probes.isEmpty() || !writeFile(path, text))
        return;
    QSettings settings(path, QSettings::IniFormat);
    for (const Probe &probe : probes) {
        try {
            settings.contains(probe.group + QLatin1Char('x')); // decodes the section
            (*dropped)[probe.value] = probe.general && !layoutsApply(settings, probe.group);
        } catch (const std::exception &) {
            (*dropped)[probe.value] = true;
        }
    }
}

// The text without the values that may not or do not decode, or that are
// layouts that could not be applied; every other byte stays, so every other
// value reads as it did. The text is read in lines as Qt reads it, and each
// value that may be decoded is tried in a scratch file, in a section of its
// own, as Qt would read it there.
QByteArray withoutUnreadableValues(const QByteArray &text, const QTemporaryDir &scratch)
{
    // The byte order mark that makes Qt read the text as UTF-8 goes before each scratch file too.
    const QByteArray mark = text.startsWith(iniUtf8Mark()) ? iniUtf8Mark() : QByteArray();
    const QVector<IniValue> values = iniValuesOf(text);
    QVector<bool> dropped(values.size(), false);
    QByteArray probeText = mark;
    QVector<Probe> probes;
    int files = 0;
    const auto flush = [&]() {
        tryProbes(probeText, probes, scratch.filePath(QString::number(++files) + QStringLiteral(".ini")), &dropped);
        probeText = mark;
        probes.clear();
    };
    for (int v = 0; v < values.size(); ++v) {
        const IniValue &value = values.at(v);
        if (!value.admitted) {
            dropped[v] = true; // never before Qt's decoder
            continue;
        }
        const int from = value.onMarksLine ? 0 : value.line.start;
        const QByteArray section = 'p' + QByteArray::number(v);
        probeText += '[' + section + "]\n";
        probeText.append(text.constData() + from, value.line.end - from);
        // A line that ends the text may end inside quotes or in a backslash:
        // nothing may follow it. One that ends in "\<CR>", a line end Qt
        // carries the value over, ends on a CR of its own: after an LF the two
        // would make one CR LF carried over, and the next probe's header
        // would join this value.
        if (value.line.end < text.size())
            probeText += text.at(value.line.end - 1) == '\r' ? '\r' : '\n';
        probes.append({v, QString::fromLatin1(section + '/'), value.general});
        if (probes.size() == linesPerProbeFile)
            flush();
    }
    flush();

    for (int v = 0; v < values.size(); ++v) {
        const IniLine &value = values.at(v).line;
        if (dropped.at(v))
            qCWarning(lcSettingsStore) << "settings value dropped:"
                                       << text.mid(value.start, value.equals - value.start).trimmed();
    }
    return iniTextWithout(text, values, dropped);
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

bool readWholeFile(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

// Whether the file at `path` holds `bytes`, read back from the disk: on a full
// disk a writer may say a file went whole that was cut short. If not, `reason`
// says how much of it is there.
bool holdsWhole(const QString &path, const QByteArray &bytes, QString *reason)
{
    QByteArray held;
    if (readWholeFile(path, &held) && held == bytes)
        return true;
    *reason = QStringLiteral("%1 of %2 bytes reached the disk").arg(held.size()).arg(bytes.size());
    return false;
}

// The store's file name as QSettings() gives it (also where QSettings::setPath
// moved it), found without reading the store: a QSettings of a name no store
// bears gives the folder and the suffix Qt gives the store. A QSettings that
// read the store would be the first to, and Qt would keep the store as that
// object decoded it.
QString storeFileName()
{
    const QString application = QCoreApplication::applicationName();
    if (application.isEmpty())
        return QSettings().fileName(); // Qt names the store after the organisation alone
    const QSettings elsewhere(QSettings::defaultFormat(), QSettings::UserScope, QCoreApplication::organizationName(),
                              application + QStringLiteral(".storename"));
    const QFileInfo name(elsewhere.fileName());
    const QString suffix = name.suffix().isEmpty() ? QString() : QLatin1Char('.') + name.suffix();
    return name.dir().filePath(application + suffix);
}

// This run reads and writes a store of its own, in a folder removed at exit,
// holding `readable`: the store stays as it is, whatever this run changes.
// Without such a folder it is placed under the store as if that were a
// folder: nothing can be made there while the store is a file, so the run
// reads the defaults and its writes go nowhere.
void keepThisRunOffTheStore(const QByteArray &readable, const QString &storePath)
{
    static QTemporaryDir runFolder;
    const QString home = runFolder.isValid() ? runFolder.path() : storePath + QStringLiteral("/unwritten");
    QSettings::setPath(QSettings::defaultFormat(), QSettings::UserScope, home);
    const QString runStore = storeFileName();
    qCWarning(lcSettingsStore) << "settings of this run kept in" << runStore;
    QFile::remove(runStore); // what an earlier repair of this run left there
    if (runFolder.isValid() && !readable.isEmpty()
        && !(QDir().mkpath(QFileInfo(runStore).path()) && writeFile(runStore, readable)))
        QFile::remove(runStore);
}

} // namespace

bool splitterStateApplies(const QByteArray &state, Qt::Orientation orientation, int panes)
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
        || count < 0 || count > rest / 4 || count > panes)
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

SettingsStoreRepair setAsideUnreadableSettings(const WholeFileWriter &writeCopy)
{
    SettingsStoreRepair repair;
    const QFileInfo store(storeFileName());
    repair.storePath = store.filePath();
    // Where the platform keeps settings in no file (a registry), Qt decodes nothing from text.
    if (!store.isFile())
        return repair;
    QByteArray text;
    if (!readWholeFile(store.filePath(), &text)) {
        qCWarning(lcSettingsStore) << "settings store cannot be read:" << store.filePath();
        return repair;
    }
    QTemporaryDir scratch;
    if (readsWhole(text, scratch, store.filePath()))
        return repair;

    // Without a scratch folder no value can be tried: nothing of the store is kept.
    QByteArray kept = scratch.isValid() ? withoutUnreadableValues(text, scratch) : QByteArray();
    // What the rewrite left unreadable would be set aside again at every
    // start: the store starts anew on the defaults, the copy keeps it as it was.
    const bool whole = kept.isEmpty() || !readsWhole(kept, scratch, QString());
    if (whole)
        kept.clear();

    repair.copyPath = copyPathFor(store);
    // Nothing of the store may go before the copy is known to hold all of it.
    if (!writeCopy(repair.copyPath, text, &repair.copyFailure)
        || !holdsWhole(repair.copyPath, text, &repair.copyFailure)) {
        if (repair.copyFailure.isEmpty())
            repair.copyFailure = QStringLiteral("Unknown error");
        // The name was free: whatever a writer cut short left there is part of the store, no copy.
        QFile::remove(repair.copyPath);
        qCWarning(lcSettingsStore) << "unreadable settings store left as it is, no copy in" << repair.copyPath << ":"
                                   << repair.copyFailure;
        keepThisRunOffTheStore(kept, store.filePath());
        return repair;
    }
    qCWarning(lcSettingsStore) << "unreadable settings store kept as" << repair.copyPath;
    if (whole)
        qCWarning(lcSettingsStore) << "settings store set aside whole:" << store.filePath();
    // The copy holds every byte: a store that cannot take its rewrite may start anew, empty or not at all.
    if (!writeWholeFile(store.filePath(), kept, nullptr) && !writeWholeFile(store.filePath(), QByteArray(), nullptr)) {
        qCWarning(lcSettingsStore) << "settings store cannot be rewritten, removed:" << store.filePath();
        QFile::remove(store.filePath());
    }
    return repair;
}

void repairSettingsStoreAtStart(QWidget *parent, const WholeFileWriter &writeCopy)
{
    const SettingsStoreRepair repair = setAsideUnreadableSettings(writeCopy);
    if (repair.copyPath.isEmpty())
        return;
    const auto tr = [](const char *text) { return QCoreApplication::translate("MainWindow", text); };
    MessageBoxRequest box;
    box.parent = parent;
    box.icon = QMessageBox::Warning;
    box.title = QCoreApplication::applicationName();
    if (repair.copyFailure.isEmpty()) {
        box.text = tr("Some settings could not be read and are back at their defaults.\n"
                      "The settings as they were are kept in the file below.");
        box.informativeText = QDir::toNativeSeparators(repair.copyPath);
    } else {
        box.text = tr("Some settings in the file below could not be read, and it could not be copied aside to mend "
                      "it. It is left as it is: Quillon runs on the settings it could read and on the defaults, and "
                      "the settings of this run will not be kept.");
        box.informativeText =
            QDir::toNativeSeparators(repair.storePath) + QLatin1Char('\n')
            + tr("%1 could not be written: %2").arg(QDir::toNativeSeparators(repair.copyPath), repair.copyFailure);
    }
    userDialogs().message(box);
}
