#include "export/csvexport.h"

#include "common/classevents.h"
#include "common/recorderclock.h"
#include "export/classcounttext.h"
#include "export/exportfield.h"
#include "export/exportlog.h"
#include "export/recordedat.h"
#include "filelist/fileviewtreewidgetitem.h"

#include <QSet>
#include <algorithm>

namespace {

QStringList eventClasses(const QStringList &checked)
{
    QStringList classes;
    for (const QString &name : checked) {
        // A class listed twice (two tree rows of one name) still has one set of events.
        if (name != ExportClassNames::unassigned() && !classes.contains(name))
            classes.append(name);
    }
    return classes;
}

void append(QString &text, const QString &name)
{
    if (!text.isEmpty())
        text += QLatin1Char(',');
    text += name;
}

} // namespace

QVector<QStringList> csvClassEvents(const QVector<FileRowTexts> &rows, const CsvExportOptions &options)
{
    const int count = rows.size();
    QVector<QStringList> events(options.intervals.size());
    for (QStringList &texts : events) {
        texts.reserve(count);
        for (int i = 0; i < count; ++i)
            texts.append(QString());
    }
    if (options.intervals.isEmpty())
        return events;

    const RecorderClock clock(options.timeZone, options.daylightSaving, RecorderClock::PerReading);
    QVector<ClockedRecording> clocked(count);
    QVector<bool> valid(count, false);
    // Rows by instant, so that marking finds the rows of a kept instant by search.
    QVector<QPair<qint64, int>> byInstant;
    byInstant.reserve(count);
    for (int i = 0; i < count; ++i) {
        const RecordedAt r = recordedAt(rows[i].text(FileViewColumn::Date), rows[i].text(FileViewColumn::Time));
        if (!r.isValid())
            continue;
        valid[i] = true;
        clocked[i] = {clock.instant(r.date, r.msOfDay), r.date, r.msOfDay};
        byInstant.append({clocked[i].instant, i});
    }
    std::sort(byInstant.begin(), byInstant.end());

    const EventRule rule =
        options.intervalMode == CsvExportOptions::dynamicMode() ? EventRule::Dynamic : EventRule::Static;
    for (const QString &c : eventClasses(options.checkedClasses)) {
        qCDebug(lcExport) << "class events of" << c;
        QVector<ClockedRecording> list;
        for (int i = 0; i < count; ++i) {
            if (valid[i] && rows[i].hasClass(c))
                list.append(clocked[i]);
        }
        for (int k = 0; k < options.intervals.size(); ++k) {
            // Each interval thins what the shorter one before it kept.
            list = eventStarts(list, options.intervals.at(k), rule);
            QStringList &texts = events[k];
            qint64 marked = 0;
            bool any = false;
            for (const ClockedRecording &s : list) {
                if (any && s.instant == marked)
                    continue;
                any = true;
                marked = s.instant;
                auto it = std::lower_bound(byInstant.cbegin(), byInstant.cend(), qMakePair(s.instant, -1));
                for (; it != byInstant.cend() && it->first == s.instant; ++it)
                    append(texts[it->second], c);
            }
        }
    }
    if (lcExport().isDebugEnabled()) {
        for (int k = 0; k < options.intervals.size(); ++k)
            qCDebug(lcExport) << QStringLiteral("intervallText%1").arg(options.intervals.at(k)) << events[k];
    }
    return events;
}

QString csvHeaderLine(const CsvExportOptions &options)
{
    const QString zoneName = options.timeZone.displayName(
        QTimeZone::GenericTime, options.daylightSaving ? QTimeZone::ShortName : QTimeZone::OffsetName, QLocale());
    QString line =
        QStringLiteral("FileName;Date;Time [") + zoneName + QStringLiteral("];Length [s];Class1;Class2;Class3;Class4;");
    for (int minutes : options.intervals)
        line += QStringLiteral("%1min class event (%2);").arg(minutes).arg(options.intervalMode);
    return line + QStringLiteral("Comment\r\n");
}

QString csvExportText(const QVector<FileRowTexts> &rows, const CsvExportOptions &options, bool detectedNoCallLines)
{
    const QVector<QStringList> events = csvClassEvents(rows, options);
    QSet<QString> checked;
    for (const QString &name : options.checkedClasses) {
        if (!name.isEmpty())
            checked.insert(name);
    }
    const bool unassignedChecked = checked.contains(ExportClassNames::unassigned());
    const bool noCallChecked = detectedNoCallLines && checked.contains(ExportClassNames::detectedNoCall());
    const QLatin1Char sep(';');

    QString text = csvHeaderLine(options);
    text.reserve(text.size() + rows.size() * 96);
    const auto appendEventsAndComment = [&](int i, const FileRowTexts &row) {
        // The events list class names, which may hold a ";" as the class columns do.
        for (const QStringList &texts : events)
            text += exportField(texts.at(i)) + sep;
        text += exportField(row.text(FileViewColumn::Comment)) + QLatin1String("\r\n");
    };
    for (int i = 0; i < rows.size(); ++i) {
        const FileRowTexts &row = rows.at(i);
        const bool noCall = !fileViewTreeWidgetItem::hasCallProposal(row.text(FileViewColumn::Proposal));
        bool classLine = false;
        for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4 && !classLine; ++column)
            classLine = checked.contains(row.text(column));
        if (!classLine && unassignedChecked && row.isUnassigned())
            classLine = !(detectedNoCallLines && noCall);
        if (classLine) {
            for (int column :
                 {FileViewColumn::Name, FileViewColumn::Date, FileViewColumn::Time, FileViewColumn::Length,
                  FileViewColumn::Class1, FileViewColumn::Class2, FileViewColumn::Class3, FileViewColumn::Class4})
                text += exportField(row.text(column)) + sep;
            appendEventsAndComment(i, row);
        }
        if (noCallChecked && noCall) {
            for (int column : {FileViewColumn::Name, FileViewColumn::Date, FileViewColumn::Time})
                text += exportField(row.text(column)) + sep;
            text += exportField(row.text(FileViewColumn::Length)) + QLatin1String(";Detected No Call;;;;");
            appendEventsAndComment(i, row);
        }
    }
    return text;
}
