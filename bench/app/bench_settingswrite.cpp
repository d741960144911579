// Cost of storing one setting, and how often the settings dialog's Apply
// writes the store. The store holds 81 values, as a user's does after a season
// (view, calculation, audio, layout, recent paths, class colours), and each
// write is made as the program makes it: one value set, the store synced.
// Rounds of Qt's plain INI form and of the program's alternate, so that what
// else the machine does falls on both alike. Target: the program's form at
// most 1.5 times Qt's plain INI write of the same store; Apply one write.
#include "app/spectrogramsettingsdialog.h"
#include "benchutil.h"
#include "common/settingsformat.h"
#include "common/settingskeys.h"
#include "filewrites.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void fillStore(QSettings &store)
{
    for (int i = 0; i < 80; ++i) {
        const QString key = i % 4 == 0 ? QStringLiteral("Recent/path%1").arg(i) : QStringLiteral("key%1").arg(i);
        switch (i % 5) {
        case 0:
            store.setValue(key, QStringLiteral("/data/Flederm\u00e4use/survey %1/night").arg(i));
            break;
        case 1:
            store.setValue(key, i * 7);
            break;
        case 2:
            store.setValue(key, i % 2 == 0);
            break;
        case 3:
            store.setValue(key, i * 0.37);
            break;
        default:
            store.setValue(key, QByteArray(48, char(i)));
            break;
        }
    }
    store.setValue(QStringLiteral("classColors"), QVariantList{QColor(255, 200, 100), QColor(Qt::blue)});
    store.sync();
}

// The median of `writes` writes of one value into a store at `path` in
// `format`, in ms; `comment`, where given, heads the store, as a person may
// write one, so that each write edits the file rather than writing it anew.
double oneValueMs(const QString &path, QSettings::Format format, int writes, const QByteArray &comment = {})
{
    QFile::remove(path);
    {
        QSettings store(path, format);
        fillStore(store);
    }
    if (!comment.isEmpty()) {
        QFile file(path);
        QByteArray text;
        if (file.open(QIODevice::ReadOnly))
            text = file.readAll();
        file.close();
        if (!file.open(QIODevice::WriteOnly) || file.write(comment + text) != comment.size() + text.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    int n = 0;
    return benchutil::medianMs(writes, [&] {
        QSettings store(path, format);
        store.setValue(QStringLiteral("volume"), ++n % 100);
        store.sync();
    });
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setApplicationIdentity();

    constexpr int writes = 60;
    QTemporaryDir folder;
    std::vector<double> plain;
    std::vector<double> program;
    std::vector<double> edited;
    for (int round = 0; round < 7; ++round) {
        plain.push_back(oneValueMs(folder.filePath(QStringLiteral("plain.ini")), QSettings::IniFormat, writes));
        program.push_back(oneValueMs(folder.filePath(QStringLiteral("program.conf")), wholeIniFormat(), writes));
        edited.push_back(
            oneValueMs(folder.filePath(QStringLiteral("edited.conf")), wholeIniFormat(), writes, "; kept by hand\n"));
    }
    std::printf("one value into a store of 81 values, median of %d writes, median of 7 rounds:\n", writes);
    std::printf("  Qt's plain INI form %.3f ms, the program's form %.3f ms: %.2f times\n", median(plain),
                median(program), median(program) / median(plain));
    std::printf("  into a store with a comment of a person's, which stays: %.3f ms, %.2f times\n", median(edited),
                median(edited) / median(plain));

    {
        QSettings store;
        fillStore(store);
    }
    SpectrogramSettingsDialog dialog(nullptr, 250000);
    auto *apply = dialog.findChild<QPushButton *>(QStringLiteral("pushButton_apply"));
    const QFileInfo store(QSettings().fileName());
    const int applied = testsupport::wholeWritesOf(store.path(), store.fileName(), [apply] { apply->click(); });
    std::printf("the settings dialog's Apply: %d write(s) of the store\n", applied);
    return 0;
}
