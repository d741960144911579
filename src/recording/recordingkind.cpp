#include "recording/recordingkind.h"

RecordingKind recordingKind(const QString &path)
{
    if (path.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive))
        return RecordingKind::Wav;
    if (path.endsWith(QLatin1String(".raw"), Qt::CaseInsensitive))
        return RecordingKind::Raw;
    return RecordingKind::None;
}
