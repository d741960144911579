#include "filelist/folderlisting.h"

#include "common/evaluationmode.h"
#include "recording/recordingkind.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <vector>

QStringList listRecordings(const QString &folder, int evaluationMode)
{
    if (folder.isEmpty())
        return {};
    // Files only: a subfolder named "x.wav" is no recording and would only fail to open.
    // Told by their endings, as "*.wav" and "*.raw" in any letter case would
    // match them, in half the time such patterns take; a review reads WAV only.
    const bool wavOnly = evaluationMode == EvaluationMode::RecorderReview;
    QDirIterator it(folder, QDir::Files);
    struct Entry {
        QString key;
        QString name;
    };
    std::vector<Entry> entries;
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        const RecordingKind kind = recordingKind(name);
        if (kind == RecordingKind::Wav || (kind == RecordingKind::Raw && !wavOnly))
            entries.push_back({name.toLower(), name});
    }
    // Sorted here as QDir sorts by name without regard to case (by the names
    // in lower case), in half the time QDir::entryList takes for a folder of
    // 50,000 recordings; names that differ in case alone, capitals first.
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : a.name < b.name;
    });
    QStringList names;
    names.reserve(int(entries.size()));
    for (const Entry &entry : entries)
        names << entry.name;
    return names;
}

QString itemCountText(int rows)
{
    return QStringLiteral("\n") + QString::number(rows)
           + (rows == 1 ? QStringLiteral(" item") : QStringLiteral(" items"));
}

QString selectionCountText(int selected, int rows)
{
    if (selected <= 0)
        return itemCountText(rows);
    return QString::number(selected) + QStringLiteral(" of ") + QString::number(rows)
           + (rows == 1 ? QStringLiteral("\nitem selected") : QStringLiteral("\nitems selected"));
}

int headerChainProgress(int next, int count)
{
    if (count <= 0)
        return 100;
    return int(double(next) / double(count) * 100.0);
}

QString severalFoldersDropText()
{
    return QCoreApplication::translate("MainWindow", "Recordings from several folders cannot be opened together.");
}

QString mixedDropText()
{
    return QCoreApplication::translate("MainWindow", "Do not load multiple folders or a mixture of files and folders.");
}

DropPlan planDrop(const QStringList &localPaths)
{
    DropPlan plan;
    if (localPaths.size() > 1) {
        for (const QString &p : localPaths) {
            if (QFileInfo(p).isDir()) {
                plan.kind = DropPlan::MixedRefused;
                plan.message = mixedDropText();
                return plan;
            }
        }
    }
    if (localPaths.size() == 1 && !QFileInfo(localPaths.first()).isDir()) {
        plan.kind = DropPlan::OneFile;
        plan.path = localPaths.first();
        plan.isRecording = isRecordingPath(plan.path);
        return plan;
    }
    plan.kind = DropPlan::Collection;
    return plan;
}

DropCollection collectDroppedRecordings(const QStringList &localPaths)
{
    DropCollection c;
    for (const QString &p : localPaths) {
        const QFileInfo info(p);
        if (info.isDir()) {
            const QString folder = info.absoluteFilePath();
            for (const QString &name : listRecordings(folder, EvaluationMode::Folder))
                c.recordings << folder + QLatin1Char('/') + name;
        } else if (isRecordingPath(p)) {
            c.recordings << p;
        }
    }
    if (c.recordings.isEmpty())
        return c;
    c.directory = QDir::cleanPath(QFileInfo(c.recordings.first()).absolutePath());
    for (const QString &r : qAsConst(c.recordings)) {
        if (QDir::cleanPath(QFileInfo(r).absolutePath()) != c.directory) {
            c.message = severalFoldersDropText();
            break;
        }
    }
    return c;
}

CommandLineChoice chooseCommandLineFile(const QStringList &arguments)
{
    CommandLineChoice choice;
    if (arguments.size() < 2)
        return choice;
    const QString last = arguments.last();
    if (!QFileInfo(last).isFile())
        return choice;
    choice.path = last;
    choice.kind = isRecordingPath(last) ? CommandLineChoice::Recording : CommandLineChoice::Unsupported;
    return choice;
}
