#include "export/recordedat.h"

#include "filelist/fileviewtreewidgetitem.h"

RecordedAt recordedAt(const QString &dateText, const QString &timeText)
{
    RecordedAt r;
    r.date = fileViewTreeWidgetItem::recordingDate(dateText);
    const int seconds = fileViewTreeWidgetItem::timeKey(timeText);
    if (seconds >= 0)
        r.msOfDay = seconds * 1000;
    return r;
}
