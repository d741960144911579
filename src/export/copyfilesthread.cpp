#include "export/copyfilesthread.h"

#include "export/exportlog.h"
#include "export/recordingcopy.h"

void CopyFilesThread::copyFiles(int index, QString newDirectory, QString oldDirectory, QStringList fileNames,
                                bool overwrite)
{
    const QString name = fileNames.value(index);
    const RecordingCopy::Outcome outcome =
        name.isEmpty() ? RecordingCopy::Outcome::Failed
                       : RecordingCopy::copyFile(oldDirectory + QLatin1Char('/') + name,
                                                 newDirectory + QLatin1Char('/') + name, overwrite);
    if (outcome == RecordingCopy::Outcome::Failed) {
        qCDebug(lcExport) << "copy failed:" << name;
        fileNames.append(errorMarker());
    }
    emit signalCopyFinished(index, newDirectory, oldDirectory, fileNames, overwrite);
}
