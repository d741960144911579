#pragma once

#include <QString>
#include <QStringList>

// What a folder, a drop or the command line offers to open, decided without
// any widget: the main window asks here and then shows, asks or loads.

/**
 * File names (no folder) of the recordings in folder (".wav" and ".raw" in
 * any letter case; a review: ".wav" only), sorted by name without regard to case.
 */
QStringList listRecordings(const QString &folder, int evaluationMode);

/** The count label of a file list: a line break, the number, " item" or " items". */
QString itemCountText(int rows);

/**
 * The count label of a file list while rows are selected: "2 of 5", a line
 * break and "items selected" ("item selected" when the list has one row);
 * with no row selected, itemCountText(rows).
 */
QString selectionCountText(int selected, int rows);

/** Progress of a header chain about to ask for row next of count, in whole percent. */
int headerChainProgress(int next, int count);

struct DropPlan {
    enum Kind {
        MixedRefused, ///< several URLs and at least one folder
        OneFile,      ///< exactly one URL naming no folder (see isRecording)
        Collection,   ///< one folder or several files (see recordings)
    };
    Kind kind = Collection;
    QString message; ///< text to show when the drop is refused
    bool isRecording = false;
    QString path; ///< OneFile: the file
};

/** First look at dropped local paths, before anything is asked or loaded. */
DropPlan planDrop(const QStringList &localPaths);

struct DropCollection {
    QStringList recordings; ///< full paths, in the order of the drop
    QString directory;      ///< the one folder they all live in
    QString message;        ///< non-empty: refuse the drop with this text
};

/**
 * The recordings of a folder-or-several-files drop. Every row keeps only its
 * file name and is found again through one folder, so recordings from two
 * folders are refused instead of being looked for in the wrong one.
 */
DropCollection collectDroppedRecordings(const QStringList &localPaths);

QString severalFoldersDropText();
QString mixedDropText();

struct CommandLineChoice {
    enum Kind { Nothing, Recording, Unsupported };
    Kind kind = Nothing;
    QString path;
};

/** The last argument, when it names an existing file; arguments[0] is the program. */
CommandLineChoice chooseCommandLineFile(const QStringList &arguments);
