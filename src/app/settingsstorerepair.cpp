#include "app/settingsstorerepair.h"

#include "common/filewritefailure.h"
#include "common/userdialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <exception>

namespace {

Q_LOGGING_CATEGORY(lcSettingsStore, "quillon.app", QtWarningMsg)

// Decodes every value of the INI file at `path`. Qt throws out of its decoding
// (std::bad_alloc for a list that claims more entries than memory holds), and
// leaves the group undecoded, so the next access tries again and throws again.
bool decodes(const QString &path)
{
    try {
        QSettings settings(path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        for (const QString &key : keys)
            settings.value(key);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

// The text without the lines whose value does not decode, each line tried
// alone under its section in a file of its own (Qt caches what it read of a
// file by the file's name). Qt writes one key per line; a line of a
// hand-written value continued over several lines decodes alone and stays.
QByteArray withoutUnreadableValues(const QByteArray &text, const QTemporaryDir &scratch)
{
    const QList<QByteArray> lines = text.split('\n');
    QByteArray kept;
    QByteArray section;
    int probes = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (line.trimmed().startsWith('[')) {
            section = line;
        } else if (!line.trimmed().isEmpty()) {
            const QString probe = scratch.filePath(QString::number(++probes) + QStringLiteral(".ini"));
            QFile file(probe);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(section + '\n' + line + '\n');
                file.close();
                if (!decodes(probe)) {
                    qCWarning(lcSettingsStore) << "settings value dropped:" << line.left(line.indexOf('='));
                    continue;
                }
            }
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

QString setAsideUnreadableSettings(bool *copyWritten)
{
    if (copyWritten)
        *copyWritten = false;
    const QFileInfo store(QSettings().fileName());
    // Where the platform keeps settings in no file (a registry), Qt decodes nothing from text.
    if (!store.isFile() || decodes(store.filePath()))
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
