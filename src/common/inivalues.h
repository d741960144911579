#pragma once

#include <QByteArray>
#include <QHash>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

/**
 * The values of an INI file as Qt's INI reader takes them, and which of them
 * Qt may decode: the program's own settings store and a folder's settings
 * file ("QuillonSettings.ini", which travels with the recordings and so may
 * come from another machine or a damaged disk) are read through here.
 *
 * Qt decodes a whole section of an INI file at the first access to any of its
 * keys, and hands every "@Variant(...)" to QDataStream, whose loaders trust
 * the bytes: a damaged value there crashes inside Qt, or throws
 * std::bad_alloc (a list claiming 2^31-1 entries, as
 * "classColors=@Variant(\0\0\0\t\x7f\xff\xff\xff)"), at every reading. A crash
 * cannot be caught, so a file's values are read here first, as Qt would read
 * them, and only the kinds the program itself stores that way are admitted.
 *
 * A file is read in lines as Qt reads it: lines end in LF, CR or CR LF; a
 * value is carried on over line ends by quotes or a trailing backslash; a ';'
 * starts a comment outside quotes. A file that begins with a UTF-8 byte order
 * mark is read as UTF-8, any other as Latin-1.
 */

/**
 * Where a value ends. Qt carries a value on over line ends by a quote left
 * open or a trailing backslash, and so hides every line after a stray quote
 * in a file written by hand. Qt itself writes every value on one line (it
 * escapes quotes, backslashes and line ends), so a file Qt wrote reads alike
 * either way.
 */
enum class IniLines {
    AsQt,    // as Qt's reader, which the program's own store must match
    OneEach, // every line end ends a value: a slip on one line stays on it
};

/** Where a line stands in the text: from its first byte that is no white space to where Qt ends it. */
struct IniLine {
    int start = 0;
    int end = 0;
    int equals = -1; // the first '=' outside quotes
};

/** A line that holds a value, as Qt reads it. */
struct IniValue {
    IniLine line;
    QString section;          // as Qt names it: empty for the general section, else its name and '/' ("Time/")
    QString key;              // as Qt names it: the section's name and its own ("Time/BeginDate")
    bool onMarksLine = false; // begins on the byte order mark's line: Qt reads the mark as the start of its key
    bool admitted = true;     // Qt may decode it (iniValueAdmitted)
};

/** A section's header line. */
struct IniSection {
    IniLine line;
    QString name; // as IniValue::section names it
};

/** The byte order mark that makes Qt read an INI file as UTF-8. */
QByteArray iniUtf8Mark();

/** Every value of `text`, an INI file's bytes, in their order; and, where asked for, every section header. */
QVector<IniValue> iniValuesOf(const QByteArray &text, IniLines lines = IniLines::AsQt,
                              QVector<IniSection> *sections = nullptr);

/**
 * What Qt's INI reader makes of `value`, one of `text`'s values: a text, a
 * list, or what its "@...(...)" form names. Only for an admitted value: a
 * "@Variant(...)" goes to QDataStream.
 */
QVariant iniValueOf(const QByteArray &text, const IniValue &value);

/**
 * The settings `text` holds, as Qt's INI reader gives them to a QSettings:
 * where a key stands twice, the value Qt reads last (sections of one name
 * read together, in the order of their names). The values Qt may not decode
 * are left out. `lastValues`, when given, gets for each key the value Qt
 * reads last, whether it is left out or not.
 */
QSettings::SettingsMap iniSettingsOf(const QByteArray &text, QHash<QString, IniValue> *lastValues = nullptr,
                                     IniLines lines = IniLines::AsQt);

/** What stands after the '=' of `value`, one of `text`'s values, up to where Qt ends its line. */
QByteArray iniValueText(const QByteArray &text, const IniValue &value);

/**
 * Whether Qt may decode the value `text` (what follows the '=' of a line of
 * an INI file, up to where Qt ends the line): every text Qt reads from it of
 * the form "@Variant(...)" holds a float, a colour or a list of colours, the
 * kinds the program stores so, whole. "@DateTime(...)" the program never
 * stores. Read as Qt reads a value: escapes, quotes, commas making a list, the
 * bytes outside escapes as UTF-8 in a file that begins with a byte order mark
 * (`utf8`) and as Latin-1 otherwise.
 */
bool iniValueAdmitted(const QByteArray &text, bool utf8);

/**
 * `text` without the values `values[i]` for which `dropped[i]` holds, each
 * with its line end (a comment after it stays, a line of its own); every other
 * byte stays, so every other value reads as it did.
 */
QByteArray iniTextWithout(const QByteArray &text, const QVector<IniValue> &values, const QVector<bool> &dropped);
