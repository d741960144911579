#include "export/recordedat.h"

#include "filelist/filerowtexts.h"

RecordedAt recordedAt(const QString &dateText, const QString &timeText)
{
    RecordedAt r;
    r.date = FileRowTexts::recordingDate(dateText);
    const int seconds = FileRowTexts::timeKey(timeText);
    if (seconds >= 0)
        r.msOfDay = seconds * 1000;
    return r;
}
