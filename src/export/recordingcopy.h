#pragma once

#include "filelist/filerowtexts.h"

#include <QString>
#include <QStringList>
#include <QVector>

/** The copy by class: which recordings it copies, and how one is copied. */
namespace RecordingCopy {

/**
 * The names of the rows to copy, in row order. A row goes when one of its
 * classes is checked, or when "Unassigned" is checked and it has no Class 1
 * (in modes 3 and 4 only when it was not proposed as "No call"). In modes 3
 * and 4 a row proposed as "No call" goes (again) when "Detected No Call" is
 * checked. Empty in modes other than 1 to 4.
 */
QStringList selectFiles(const QVector<FileRowTexts> &rows, const QStringList &checkedClasses, int evaluationMode);

/** True when a file of one of `names` is in `folder`. */
bool anyTargetExists(const QString &folder, const QStringList &names);

/**
 * True when both paths name one existing folder (symbolic links resolved). A
 * copy into the recordings' own folder would replace every recording by
 * itself; the copy refuses it with sameFolderText().
 */
bool isSameFolder(const QString &folder, const QString &otherFolder);
QString sameFolderText();

QString overwriteQuestionText();
QString errorQuestionText(const QString &fileName);

enum class Outcome { Copied, Skipped, Failed };

/**
 * Copies `source` to `target`. An existing target is left alone (Skipped)
 * unless `overwrite`; then it is replaced only after the copy is complete
 * beside it under a temporary name, so a failed copy never loses the file
 * that was there. A target that is the source itself is never touched (Failed).
 */
Outcome copyFile(const QString &source, const QString &target, bool overwrite);

} // namespace RecordingCopy
