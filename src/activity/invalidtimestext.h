#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

/**
 * InvalidTimesText: the periods in which a folder's recorder gave no valid data,
 * as the folder's settings file keeps them (key "invalidTimes"):
 *
 *     24.12.2021 18:00-27.12.2021 08:00;01.05.2022 00:00-01.05.2022 23:59
 *
 * Periods joined by ";", each its begin, "-", its end, both local date-times
 * "dd.MM.yyyy hh:mm" (the format holds no "-"). The empty text means no periods.
 * Nothing promises that an end follows its begin or that periods are sorted.
 *
 * One reader and one composer serve every user. The reader hands back the two
 * halves as text, which every user reads with readInvalidTimesHalf: the periods
 * dialog shows what the charts use. A part without "-" (only a hand-edited file
 * holds one) and an empty part are skipped, so that no user reaches for a half
 * that is not there.
 */
struct InvalidTimesPeriod {
    QString begin;
    QString end;
};

constexpr char invalidTimesDateTimeFormat[] = "dd.MM.yyyy hh:mm";

QVector<InvalidTimesPeriod> readInvalidTimesText(const QString &text);
QString composeInvalidTimesText(const QVector<InvalidTimesPeriod> &periods);

/**
 * The text as the periods dialog takes it: the periods whose halves both read
 * (readInvalidTimesHalf) on or after invalidTimesFirstEditableDate, and every
 * other non-empty part as it stands, which the dialog cannot show and keeps
 * unchanged in the text it writes.
 */
struct InvalidTimesSplit {
    QVector<InvalidTimesPeriod> readable;
    QStringList unreadable;
};
InvalidTimesSplit splitInvalidTimesText(const QString &text);

/**
 * 14 September 1752, the least date a QDateTimeEdit takes: an editor moves an
 * earlier reading to that day, and Ok would store the moved one. The charts
 * read earlier periods all the same.
 */
QDate invalidTimesFirstEditableDate();

/**
 * A half as the clock reading it writes, held in a UTC date-time so that no
 * local rule refuses it (02:30 on the night the clocks skip it is a reading
 * the charts take); invalid when readInvalidTimesHalf does not read it.
 */
QDateTime invalidTimesReading(const QString &half);
/**
 * A half as the clock reading it writes, for the charts: its date and its
 * milliseconds of the day. False unless the half is exactly "dd.MM.yyyy hh:mm"
 * (digits where the format has letters) with a real date and time.
 */
bool readInvalidTimesHalf(const QString &half, QDate *date, int *msOfDay);
QString invalidTimesHalf(const QDateTime &dateTime);

/**
 * The tooltip of the periods button: "Enter Times in which no valid data was
 * recorded" without periods, else the heading and the periods one per line. The
 * dialog heads them "Invalid Periods:" as it opens and "Invalid Times:" once the
 * user has edited them.
 */
QString invalidTimesToolTip(const QString &text, const QString &heading);
