// Cost of the start repair of a settings store that holds one value Qt cannot
// decode among many readable ones: the window shows only once it is done.
// Stores of plain lines, of lines that each open a quote (Qt reads on to the
// next quote) and of lines that each end in a backslash (Qt reads on into the
// next line). Target: linear in the store's lines, a few seconds at 1,000,000
// lines of each kind.
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

enum class Kind { Plain, OpenQuote, TrailingBackslash };

// `lines` lines in groups of 1,000 keys, the damaged value in the middle on a
// line that Qt reads alone: the line before it leaves no quote open and ends
// in no backslash.
QByteArray storeOf(int lines, Kind kind)
{
    QByteArray text;
    text.reserve(lines * 24);
    const int damaged = lines / 2 + 1;
    bool quoteOpen = false;
    for (int i = 0; i < lines; ++i) {
        const QByteArray key = "key" + QByteArray::number(i) + '=';
        const QByteArray value = "value " + QByteArray::number(i);
        QByteArray line;
        if (i == damaged)
            line = "damaged=" + hugeList;
        else if (i == damaged - 1)
            line = key + (quoteOpen ? "\"" : "") + value;
        else if (i % 1000 == 0)
            line = "[group" + QByteArray::number(i / 1000) + ']';
        else if (kind == Kind::OpenQuote)
            line = key + '"' + value;
        else if (kind == Kind::TrailingBackslash)
            line = key + value + '\\';
        else
            line = key + value;
        text += line + '\n';
        if (line.count('"') % 2 != 0)
            quoteOpen = !quoteOpen;
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

    const struct {
        Kind kind;
        const char *name;
    } kinds[] = {{Kind::Plain, "plain"}, {Kind::OpenQuote, "open quote"}, {Kind::TrailingBackslash, "backslash"}};
    for (const auto &kind : kinds) {
        for (int lines : {100000, 1000000}) {
            const QByteArray text = storeOf(lines, kind.kind);
            const double ms = benchutil::medianMs(1, [&]() {
                QFile file(store);
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
                    qFatal("cannot write %s", qPrintable(store));
                file.close();
                const QString copy = setAsideUnreadableSettings().copyPath;
                QFile::remove(copy);
            });
            QFile repaired(store);
            const qint64 kept = repaired.open(QIODevice::ReadOnly) ? repaired.readAll().count('\n') : -1;
            std::printf("%-10s %8d lines: repaired in %9.1f ms, %lld lines kept\n", kind.name, lines, ms,
                        static_cast<long long>(kept));
        }
    }
    return 0;
}
