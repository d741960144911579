#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

/** One class of a class model, or one subclass (whose own subclasses stay empty: there are two levels). */
struct ClassModelEntry {
    QString name;
    QString shortcut; // "<A>" to "<Z>"; taken from a file as it stands
    QVector<ClassModelEntry> subclasses;

    bool operator==(const ClassModelEntry &o) const
    {
        return name == o.name && shortcut == o.shortcut && subclasses == o.subclasses;
    }
};

/** The classes of a model, top to bottom. */
using ClassModel = QVector<ClassModelEntry>;

/**
 * The class-model text: the form in which models are saved, loaded and built
 * in. One line per class, its subclasses' lines right after it:
 *
 *   class      name TAB shortcut LF
 *   subclass   TAB name TAB shortcut LF
 *
 * UTF-8 in files, no header, no byte-order mark, nothing escaped.
 */
namespace ClassModelText {

/** The text of a model; every line ends in LF, the last one too. The empty model gives the empty text. */
QString write(const ClassModel &model);

/** What the readers take in the names. */
enum class Names {
    AsTheyStand, // the editor shows a file as it is
    Trimmed,     // the window's class tree drops blanks at both ends
};

struct Reading {
    ClassModel model;
    /**
     * Lines left out because ClassNames::isUsableClass (for a class) or
     * ClassNames::isUsable (for a subclass) refuses their names, with the
     * subclasses of a refused class.
     */
    QStringList refusedNames;
};

/**
 * Reads a text line by line: split at LF, every CR at a line's end dropped
 * (CR LF ends read as LF ends), empty lines skipped; a line that starts with
 * a TAB is a subclass of the last class and dropped when no class came
 * before it; fields split at TAB, further fields ignored, a missing
 * shortcut field read as the empty shortcut. No check for repeated names or
 * shortcuts is made.
 */
Reading read(const QString &text, Names names);

/** A class-model file's bytes as text: UTF-8 up to the first NUL byte. */
QString decodeFile(const QByteArray &bytes);

/** The 26 shortcuts "<A>" to "<Z>" in alphabetical order. */
QStringList allShortcuts();
/** allShortcuts() without those in `used`; texts that are no shortcut ("", "<A>\r") remove nothing. */
QStringList freeShortcuts(const QStringList &used);

/** The shortcuts of every class and subclass of `model`, in tree order. */
QStringList shortcutsOf(const ClassModel &model);

// Built-in models.
/** The Tavron tree: Tavron's classes with their subclasses and "No Call". */
QString tavronTree();
/** The simple tree of the recorder review: Pip with Pnat, Nyc, No Call. */
QString simpleReviewTree();
/** The advanced tree of the recorder review: the species groups with their short subclass names. */
QString advancedReviewTree();
/** The editor's simple default: Bat and No Call. */
ClassModel simpleDefaultTree();
/** The editor's advanced default: the species groups with their short subclass names, Test and Noise. */
ClassModel advancedDefaultTree();

} // namespace ClassModelText
