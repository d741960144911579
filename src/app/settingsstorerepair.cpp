#include "app/settingsstorerepair.h"

#include "common/inidocument.h"
#include "common/settingsformat.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QVector>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <utility>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace {

Q_LOGGING_CATEGORY(lcSettingsStore, "quillon.app", QtWarningMsg)

// What QSplitter::saveState writes first, and the newest version restoreState takes.
constexpr qint32 splitterMarker = 0xff;
constexpr qint32 newestSplitterVersion = 1;
// Qt's styles draw a handle a few pixels wide; one wider than this would crowd the plots out.
constexpr qint32 widestHandle = 100;

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

// Whether `value`, one of `store`'s, reads whole at a start: Qt may decode
// it, it decodes, and where it is one of the window's layouts, that layout
// could be applied. Each value is tried alone, as Qt would read it: where a
// key stands twice, either may be the one Qt reads last.
bool readsWhole(const IniDocument &store, const IniDocument::Value &value)
{
    if (!value.safeToDecode)
        return false; // never before Qt's decoder
    try {
        const QVariant decoded = store.decoded(value);
        for (const StoredSplitter &splitter : storedSplitters) {
            if (value.key == QLatin1String(splitter.setting->key))
                return splitterStateApplies(decoded.toByteArray(), splitter.orientation, splitter.panes);
        }
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// Of each value of `store`, whether a start would not read it whole.
QVector<bool> unreadableValues(const IniDocument &store)
{
    const QVector<IniDocument::Value> &values = store.values();
    QVector<bool> unreadable(values.size());
    for (int v = 0; v < values.size(); ++v)
        unreadable[v] = !readsWhole(store, values.at(v));
    return unreadable;
}

bool readsWhole(const QByteArray &text)
{
    return !unreadableValues(IniDocument(text)).contains(true);
}

// Beside the store, "Quillon.unreadable.conf", or where that name is taken,
// "Quillon.unreadable-2.conf" and so on: the first name no earlier copy
// bears, or one that bears a copy of `text` already (a store that could not
// be rewritten is found damaged again at the next start). `*written` says
// which.
QString copyPathFor(const QFileInfo &store, const QByteArray &text, bool *written)
{
    const QString stem = store.dir().filePath(store.completeBaseName() + QStringLiteral(".unreadable"));
    const QString suffix = store.suffix().isEmpty() ? QString() : QLatin1Char('.') + store.suffix();
    QString path = stem + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n) {
        QByteArray held;
        if (IniDocument::readFile(path, &held) && held == text) {
            *written = true;
            return path;
        }
        path = stem + QLatin1Char('-') + QString::number(n) + suffix;
    }
    *written = false;
    return path;
}

// Whether the file at `path` holds `bytes`, read back from the disk: on a full
// disk a writer may say a file went whole that was cut short. If not, `reason`
// says how much of it is there.
bool holdsWhole(const QString &path, const QByteArray &bytes, QString *reason)
{
    QByteArray held;
    if (IniDocument::readFile(path, &held) && held == bytes)
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

// This run reads what it could of the store, `readable`, and keeps what it
// changes in memory: the store stays as it is.
void keepThisRunOffTheStore(const QByteArray &readable, const QString &storePath)
{
    qCWarning(lcSettingsStore) << "settings of this run kept in memory, not in" << storePath;
    keepSettingsInMemory(storePath, IniDocument(readable).settings());
}

// Qt opens the store for reading before it hands it to the format, and an
// open of a FIFO for reading waits for a writer: the start would never reach
// its window. Held open for writing by this run, for as long as it runs, the
// FIFO lets Qt's open return at once; Qt reads nothing from a file of no
// size, and the format never writes over what is no regular file
// (IniDocument::readFile). True where `path` is a FIFO.
bool holdFifoOpen(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISFIFO(status.st_mode))
        return false;
    // Opened for reading and writing, a FIFO waits for no one; the descriptor is kept, never closed.
    return open(QFile::encodeName(path).constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC) >= 0;
#else
    Q_UNUSED(path)
    return false;
#endif
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

SettingsStoreRepair setAsideUnreadableSettings(const WholeFileWriter &write)
{
    SettingsStoreRepair repair;
    const QFileInfo store(storeFileName());
    repair.storePath = store.filePath();
    // A store an earlier repair of this run could not mend is read from memory.
    if (settingsKeptInMemory(store.filePath()))
        return repair;
    // Where the platform keeps settings in no file (a registry), Qt decodes nothing from text.
    if (!store.exists())
        return repair;
    if (holdFifoOpen(store.filePath()))
        qCWarning(lcSettingsStore) << "settings store is a FIFO, read as empty and never written:" << store.filePath();
    // No regular file (a FIFO, a folder), a failing read: the store reads as
    // empty, and is never written over (common/settingsformat.h).
    QByteArray text;
    if (!IniDocument::readFile(store.filePath(), &text)) {
        qCWarning(lcSettingsStore) << "settings store cannot be read:" << store.filePath();
        return repair;
    }
    IniDocument read(text);
    const QVector<bool> dropped = unreadableValues(read);
    if (!dropped.contains(true))
        return repair;
    for (int v = 0; v < dropped.size(); ++v) {
        if (dropped.at(v)) {
            qCWarning(lcSettingsStore) << "settings value dropped:" << read.values().at(v).key;
            read.removeLineOf(v);
        }
    }
    // Every other byte stays, so every other value reads as it did. What the
    // rewrite left unreadable would be set aside again at every start: the
    // store starts anew on the defaults, the copy keeps it as it was.
    QByteArray kept = read.text();
    const bool setAsideWhole = kept.isEmpty() || !readsWhole(kept);
    if (setAsideWhole)
        kept.clear();

    bool copied = false;
    repair.copyPath = copyPathFor(store, text, &copied);
    // Nothing of the store may go before the copy is known to hold all of it.
    if (!copied
        && (!write(repair.copyPath, text, &repair.copyFailure)
            || !holdsWhole(repair.copyPath, text, &repair.copyFailure))) {
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
    if (setAsideWhole)
        qCWarning(lcSettingsStore) << "settings store set aside whole:" << store.filePath();
    // A store that cannot take its rewrite is neither emptied nor removed: the run goes on with what it read.
    if (!write(store.filePath(), kept, &repair.storeFailure)) {
        if (repair.storeFailure.isEmpty())
            repair.storeFailure = QStringLiteral("Unknown error");
        qCWarning(lcSettingsStore) << "settings store cannot be rewritten, left as it is:" << store.filePath() << ":"
                                   << repair.storeFailure;
        keepThisRunOffTheStore(kept, store.filePath());
    }
    return repair;
}

void repairSettingsStoreAtStart(QWidget *parent, const WholeFileWriter &write)
{
    const SettingsStoreRepair repair = setAsideUnreadableSettings(write);
    if (repair.copyPath.isEmpty())
        return;
    const auto tr = [](const char *text) { return QCoreApplication::translate("MainWindow", text); };
    MessageBoxRequest box;
    box.parent = parent;
    box.icon = QMessageBox::Warning;
    box.title = QCoreApplication::applicationName();
    const auto failedWrite = [&tr](const QString &path, const QString &reason) {
        return tr("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), reason);
    };
    const QString leftAsItIs = tr("It is left as it is: Quillon runs on the settings it could read and on the "
                                  "defaults, and the settings of this run will not be kept.");
    if (repair.copyFailure.isEmpty() && repair.storeFailure.isEmpty()) {
        box.text = tr("Some settings could not be read and are back at their defaults.\n"
                      "The settings as they were are kept in the file below.");
        box.informativeText = QDir::toNativeSeparators(repair.copyPath);
    } else if (repair.copyFailure.isEmpty()) {
        box.text = tr("Some settings could not be read, and the settings file could not be repaired.")
                   + QLatin1Char(' ') + leftAsItIs + QLatin1Char('\n')
                   + tr("The settings as they were are kept in the file below.");
        box.informativeText = QDir::toNativeSeparators(repair.copyPath) + QLatin1Char('\n')
                              + failedWrite(repair.storePath, repair.storeFailure);
    } else {
        box.text = tr("Some settings in the file below could not be read, and it could not be copied aside to mend "
                      "it.")
                   + QLatin1Char(' ') + leftAsItIs;
        box.informativeText = QDir::toNativeSeparators(repair.storePath) + QLatin1Char('\n')
                              + failedWrite(repair.copyPath, repair.copyFailure);
    }
    userDialogs().message(box);
}
