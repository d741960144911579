#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVector>

/**
 * The layout of a wind-speed file, in the choice texts that the format dialog
 * offers and the folder's settings store ("dd.mm.yyyy", "Semicolon",
 * "Beginning", ...). Each line holds one measurement:
 *
 *     <date> <separator 1> <time> <separator 2> <speed in m/s> [further fields]
 *
 * Separator 1 and 2 may be the same; double quotes, line feeds and carriage
 * returns are removed from every field. The time stamps relate to 10-minute
 * intervals as `dateTimeDefinition` says (applyWindDateTimeDefinition).
 *
 * The format dialog's preview and the wind chart read lines through the same
 * functions; only the zone that turns a date and time into an instant is theirs.
 */
struct WindFileFormat {
    QString dateFormat = QStringLiteral("dd.mm.yyyy");
    QString timeFormat = QStringLiteral("hh:mm:ss"); // a QTime format as it stands
    QString decimalSeparator = QStringLiteral(",");
    QString separator1 = QStringLiteral("Space");
    QString separator2 = QStringLiteral("Semicolon");
    QString dateTimeDefinition = QStringLiteral("Beginning");
};

/** The QDate pattern of a date choice ("dd.mm.yyyy" reads with "dd.MM.yyyy"); empty for any other text. */
QString windDatePattern(const QString &dateFormat);
/** The character of a separator choice: " ", ";" or a tab; a null QChar for any other text. */
QChar windSeparatorCharacter(const QString &name);

/**
 * What one line gives. A line that lacks fields, or whose speed is no finite
 * number ("nan", "inf", "n/a"), gives no speed; a date or time that does not
 * parse is invalid.
 */
struct WindLine {
    QDate date;
    QTime time;
    bool hasSpeed = false;
    float speed = 0;
};

WindLine readWindLine(const QString &line, const WindFileFormat &format);

/**
 * Ties the stamps to their 10-minute intervals, on parallel lists in file order.
 * A stamp is on a boundary when its second is 0 and its minute a multiple of 10.
 *   "Beginning": walking from the last entry to the first, an entry stays when it
 *                is on a boundary and its stamp (to the second, as written)
 *                differs from the one that stayed last; so of equal neighbours
 *                the later in the file stays.
 *   "End":       the same choice, then every entry moves 600 s earlier.
 *   "Round":     stamps off a boundary move back to the boundary before them;
 *                then each run of equal neighbours becomes its first entry with
 *                the mean of the run's speeds (of those that are numbers; none
 *                where none is).
 * Any other text leaves the lists as they are.
 */
void applyWindDateTimeDefinition(const QString &definition, QVector<QDateTime> &times, QVector<float> &speeds);

/**
 * A wind value whose stamp is known both as written (milliseconds of the
 * station's clock face since 1970-01-01 00:00, as if that clock were UTC) and
 * as the instant it names. The rules compare and test stamps as written and
 * move both by the same amount; equal instants merge under "Round".
 */
struct WindStamp {
    qint64 written = 0;
    qint64 instant = 0;
    float speed = 0;
};

/** The same rules on stamps; linear in their number, as a year of one-minute values needs. */
void applyWindDateTimeDefinition(const QString &definition, QVector<WindStamp> &stamps);
