// Cost of the start repair of a settings store that holds one value Qt cannot
// decode among many readable ones: the window shows only once it is done.
// Target: linear in the store's lines, a few seconds at 1,000,000 lines.
#include "app/settingsstorerepair.h"
#include "benchutil.h"
#include "common/settingskeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// A list that claims 2^31-1 entries: Qt's decoding throws std::bad_alloc on it.
const QByteArray hugeList = QByteArrayLiteral("@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)");

// `lines` lines in groups of 1,000 keys, the damaged value in the middle.
QByteArray storeOf(int lines)
{
    QByteArray text;
    text.reserve(lines * 24);
    for (int i = 0; i < lines; ++i) {
        if (i % 1000 == 0)
            text += "[group" + QByteArray::number(i / 1000) + "]\n";
        else if (i == lines / 2 + 1)
            text += "damaged=" + hugeList + '\n';
        else
            text += "key" + QByteArray::number(i) + "=value " + QByteArray::number(i) + '\n';
    }
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    setApplicationIdentity();
    const QString store = QSettings().fileName();
    QDir().mkpath(QFileInfo(store).path());

    for (int lines : {100000, 1000000}) {
        const QByteArray text = storeOf(lines);
        const double ms = benchutil::medianMs(1, [&]() {
            QFile file(store);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
                qFatal("cannot write %s", qPrintable(store));
            file.close();
            const QString copy = setAsideUnreadableSettings();
            QFile::remove(copy);
        });
        QFile repaired(store);
        const qint64 kept = repaired.open(QIODevice::ReadOnly) ? repaired.readAll().count('\n') : -1;
        std::printf("%8d lines: repaired in %9.1f ms, %lld lines kept\n", lines, ms, static_cast<long long>(kept));
    }
    return 0;
}
