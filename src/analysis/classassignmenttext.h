#pragma once

#include <QString>
#include <QStringList>

/**
 * The classification a recording carries in the 256-byte description of its
 * bext chunk: up to four classes, the proposal of an evaluation, whether it was
 * accepted, and a free comment. One parser and one composer serve every reader
 * and writer, so the header worker, the comment editor, the Space key and the
 * bext-writing worker can never disagree about the layout.
 *
 *   full   classes|AutoClass|accepted|comment   (exactly three bars)
 *   short  classes|comment                      (exactly one bar)
 *   bare   classes
 *
 * classes are joined by " + "; nothing is trimmed. A comment written in the
 * full form has its bars written as "/" (fullFormComment), so that the text
 * keeps its three bars and every field reads back as written.
 *
 * The composer writes the layout a writer asks for unless that text would not
 * fit the description or not read back; it then leaves out what reads back
 * alike without it: the empty slots behind the last class, and, with nothing
 * but classes to store, the bars. A text that still does not fit is the
 * writer's to refuse.
 *
 * What may be stored is decided here too, for every writer alike: a comment
 * without bars (isStorableComment), classes that read back as they were
 * composed (storeRefusal), and only over a description that reads whole
 * (readsWhole), through the one write every writer of classes calls
 * (writeDescription).
 */
class ClassAssignmentText
{
public:
    /** How a writer lays out the class list. */
    enum class ClassList {
        Compact,   ///< only the filled slots, without gaps: "Nyc + PipPip"
        FourSlots, ///< all four slots, empty ones as empty names: "Nyc +  +  + "
    };

    /** Bytes of the bext description field; a longer UTF-8 text is never written. */
    static constexpr int descriptionBytes = 256;
    static const QString classSeparator; // " + "
    static const QChar fieldSeparator;   // '|'

    ClassAssignmentText() = default;

    /** Takes a stored text apart by the reading rules (bars first, then " + "). */
    static ClassAssignmentText parse(const QString &text);

    /** True when the UTF-8 form of text fits into the description field. */
    static bool fitsDescription(const QString &text);

    /**
     * True when parse takes every class text stores: a class list of more
     * than four names, as other software may write, reads as none, and a
     * text written over it would replace classes the user was never shown.
     */
    static bool readsWhole(const QString &text);

    /**
     * Writes text into the description of the WAV recording at path: the one
     * write of the bext-writing worker, the header worker's write-back and
     * the single edits of a row. Refused, the file untouched, when the
     * description the recording holds does not read whole (readsWhole); the
     * refusal is logged with the file's name and failure (when given)
     * receives unreadDescriptionText(). Otherwise as
     * WavFile::writeBextDescription.
     */
    static bool writeDescription(const QString &path, const QString &text, QString *failure = nullptr);

    /** Why a description that does not read whole is not written over, in the user's words. */
    static QString unreadDescriptionText();

    /**
     * True when comment reads back as written from the full form: a bar in it
     * would make the text's bars other than three, and the reader would then
     * take the proposal and the accepted flag for part of the comment. Every
     * writer of a comment the user typed asks here first.
     */
    static bool isStorableComment(const QString &comment);

    /**
     * comment as the full form stores it: every bar written as "/". Comments
     * of other software or of older files may hold bars; written as they
     * stand, the proposal, the flag and the comment would read back as one
     * comment, nested deeper by every later write.
     */
    static QString fullFormComment(const QString &comment);

    /** The four slots in order; empty slots are empty texts. */
    QStringList classes() const;
    /** Fills the four slots from names in order; names beyond four are ignored. */
    void setClasses(const QStringList &names);

    /** The full and the short form, shortened only as the class comment says. */
    QString fullText(ClassList style) const;
    QString shortText(ClassList style) const;
    /**
     * What a class job writes for a file-list row: the full form when a
     * proposal or a flag is held, else the short form; the compact list.
     */
    QString rowText() const;

    /**
     * Why text, composed from this, cannot be stored, in the user's words;
     * empty when it reads back with these classes, empty slots aside. A class
     * name of other software that ends in " +" runs into the separator behind
     * it, and the recording would read back other classes than it was given.
     */
    QString storeRefusal(const QString &text) const;

    bool operator==(const ClassAssignmentText &o) const;
    bool operator!=(const ClassAssignmentText &o) const { return !(*this == o); }

    QString batClass1;
    QString batClass2;
    QString batClass3;
    QString batClass4;
    QString AutoClass;
    QString accepted;
    QString comment;

private:
    // The class list laid out as style asks, or shortened as the class comment says, then fields.
    QString withClassList(ClassList style, const QString &fields) const;
};
