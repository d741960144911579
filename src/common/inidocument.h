#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVector>

#include <memory>

class QFileDevice;

/**
 * An INI file's text as a person or Qt wrote it: its lines, the values Qt's
 * INI reader reads from them (each with its section and where it stands), and
 * the edits that set or remove a value, which give back the bytes with every
 * other line as it was. The program's settings store ("Quillon.conf", through
 * the format of common/settingsformat.h), a folder's settings file
 * ("QuillonSettings.ini", which travels with the recordings and so may come
 * from another machine, a damaged disk or an editor) and the start's repair
 * of the store all read and write their text through here.
 *
 * Reading, as Qt reads: lines end in LF, CR or CR LF; a ';' starts a comment
 * outside quotes; a key's "%XX", "%UXXXX" and backslash escapes are Qt's, its
 * other bytes Latin-1; a value's C escapes, quotes, lists and "@...(...)"
 * forms are Qt's. Where a value ends is the reader's choice (ValueEnds).
 *
 * A value's bytes outside escapes read as UTF-8 where they are UTF-8, with or
 * without a byte order mark (every editor on Debian saves a path with umlauts
 * so); after a byte order mark every value reads as UTF-8, as Qt reads it, and
 * without one a value that is not UTF-8 reads as Latin-1, as Qt reads it. Each
 * value is judged on its own, so an edit of one line never changes how another
 * reads. Qt writes every character outside ASCII as an escape, so a file Qt
 * wrote reads alike either way.
 *
 * Qt decodes a whole section at the first access to any of its keys, and hands
 * every "@Variant(...)" to QDataStream, whose loaders trust the bytes: a
 * damaged value there crashes inside Qt, or throws std::bad_alloc (a list
 * claiming 2^31-1 entries, as "classColors=@Variant(\0\0\0\t\x7f\xff\xff\xff)"),
 * at every reading. A crash cannot be caught, so each value is judged here
 * first, as Qt would read it, and only the kinds the program itself stores
 * that way are safe to decode (safeToDecode); the others read as missing.
 *
 * Writing: a text in Qt's own form (one that qtTextOf writes again as it
 * reads) is written as Qt writes the settings it then holds. In any other, the
 * value Qt reads for a key that is set gets the new text in place of the old,
 * between the blanks around it (a comment after it stays); a key the text
 * lacks gets a line of its own after the last value of its section, or in a
 * section added at the end; a removed value's line goes with its line end, and
 * a comment after it stays as a line of its own. New lines take the text's own
 * line end. Every other byte stays: comments, blank lines, a byte order mark,
 * line ends, the order of the lines, values Qt may not decode.
 *
 * Every member may throw std::bad_alloc on a text larger than memory holds:
 * its callers catch it, and neither read nor write the file then.
 */
class IniDocument
{
public:
    /**
     * Where a value ends. Qt carries a value on over line ends by a quote left
     * open or a trailing backslash, and so hides every line after a stray
     * quote in a file written by hand. Qt itself writes every value on one
     * line (it escapes quotes, backslashes and line ends), so a file Qt wrote
     * reads alike either way.
     */
    enum class ValueEnds {
        AsQt,      // as Qt's reader, which the program's own store must match
        AtLineEnd, // every line end ends a value: a slip on one line stays on it
    };

    /** A line that holds a value, as Qt reads it; offsets into readText(). */
    struct Value {
        int start = 0;  // the line's first byte that is no white space: where its key begins
        int equals = 0; // its first '=' outside quotes
        int end = 0; // where Qt ends the value: at a line end, at the ';' of a comment after it, or at the text's end
        int header = -1;          // the index in sectionHeaders() of the header it stands under; -1: before any
        QString section;          // as Qt names it: empty for the general section, else its name and '/' ("Time/")
        QString key;              // as Qt names it: the section's name and its own ("Time/BeginDate")
        bool onMarksLine = false; // begins on the byte order mark's line: Qt reads the mark as the start of its key
        bool utf8 = false;        // its bytes outside escapes read as UTF-8, else as Latin-1
        bool safeToDecode = true; // Qt's decoder may see it (safeToDecode(valueText, utf8))
    };

    /** A section's header line; offsets into readText(). */
    struct SectionHeader {
        int start = 0;
        int end = 0;     // where Qt ends the line: at its line end, or at a ';'
        QString section; // as Value::section names it
    };

    explicit IniDocument(const QByteArray &text = QByteArray(), ValueEnds ends = ValueEnds::AsQt);
    ~IniDocument();
    IniDocument(const IniDocument &) = delete;
    IniDocument &operator=(const IniDocument &) = delete;

    /**
     * The settings file at `path`, read whole into `text`, with nothing but
     * itself: false where it is there but not read, so that it is never
     * written over with what did read: it is no regular file (a FIFO is never
     * opened in a way that waits for a writer), a read fails or stops short
     * (Qt's readAll gives nothing, and no error, for a file of 2 GiB or more),
     * or it is larger than memory holds. A missing file reads as empty.
     */
    static bool readFile(const QString &path, QByteArray *text);
    /** The same for a file Qt opened: false where it is no regular file or does not read whole. */
    static bool readWhole(QFileDevice &file, QByteArray *text);

    /**
     * `settings` in Qt's INI form: the bytes Qt's own writer writes for them
     * (sections in the order of their names, each key's text escaped as Qt
     * escapes it, characters outside ASCII as "\x" escapes), into a new file
     * and into one it has read alike.
     */
    static QByteArray qtTextOf(const QSettings::SettingsMap &settings);

    /**
     * Whether Qt may decode the value `valueText` (what follows the '=' of a
     * line, up to where Qt ends the line): every text Qt reads from it of the
     * form "@Variant(...)" holds a float, a colour or a list of colours, the
     * kinds the program stores so, whole. "@DateTime(...)" the program never
     * stores. Read as Qt reads a value: escapes, quotes, commas making a list,
     * the bytes outside escapes as UTF-8 (`utf8`) or as Latin-1.
     */
    static bool safeToDecode(const QByteArray &valueText, bool utf8);

    /** The text as it was read, without the edits. */
    const QByteArray &readText() const;
    /** Every value of the text as read, in the order of the text. */
    const QVector<Value> &values() const;
    const QVector<SectionHeader> &sectionHeaders() const;
    /**
     * The value Qt reads last for each key, in the order of the text: where a
     * key stands twice, the later (sections of one name are read together, in
     * the order of their names), whether it is safe to decode or not.
     */
    QVector<Value> lastValues() const;
    /** The value Qt reads last for `key`; none where the text lacks the key. */
    const Value *lastValueOf(const QString &key) const;
    /** The settings the text holds, as Qt's INI reader gives them to a QSettings, less those not safe to decode. */
    const QSettings::SettingsMap &settings() const;
    /** What Qt's reader makes of `value` (a text, a list, what its "@...(...)" form names); only if safe to decode. */
    QVariant decoded(const Value &value) const;
    /** What stands after the '=' of `value`, up to where Qt ends its line, as it is written. */
    QByteArray writtenBytes(const Value &value) const;
    /** The same without the white space around it, as it reads (UTF-8 or Latin-1): for telling a person. */
    QString writtenText(const Value &value) const;
    /** Whether the text as read is in Qt's own form: qtTextOf(settings()) gives it again. */
    bool isInQtsForm() const;

    /** `key` holds `value`: where the text holds a value that writes as `value` already, it stays as written. */
    void set(const QString &key, const QVariant &value);
    /** `key` reads as missing: every line of it goes, where the text holds a value of it safe to decode. */
    void remove(const QString &key);
    /** The line of values()[index] goes, and no other of its key. */
    void removeLineOf(int index);
    /** Sets every one of `settings` and removes every other key: the settings QSettings hands its format to write. */
    void holdSettings(const QSettings::SettingsMap &settings);
    /** The bytes with every edit made. */
    QByteArray text() const;

private:
    struct Reading;
    QByteArray m_text;
    QVector<Value> m_values;
    QVector<SectionHeader> m_headers;
    // Worked out at the first question that needs them: the start's repair never does.
    mutable std::unique_ptr<Reading> m_reading;
    QMap<QString, QVariant> m_setKeys; // by key, so that new lines come in the order of their keys
    QSet<QString> m_removedKeys;
    QSet<int> m_removedLines; // indices into m_values

    const Reading &reading() const;
    QByteArray editedText() const;
};
