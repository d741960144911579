#pragma once

#include <QByteArray>
#include <QString>

/**
 * Writes a file the user asked for: `text` as UTF-8 without byte-order mark,
 * through a temporary file that replaces `path` only once every byte was
 * written, so a failure leaves an existing file as it was. On any failure
 * shows "Could not write to file." (critical, no parent, no title of its own)
 * and returns false.
 */
bool writeTextFile(const QString &path, const QString &text);

/**
 * Writes `bytes` to `path` whole: under another name that takes `path` only
 * once every byte is known to be on the disk. Otherwise leaves the file that
 * stood under `path` as it was, nothing under the other name, and gives the
 * system's reason (when `reason` is given). Tells the user nothing: every file
 * the program writes whole goes through here.
 */
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason);
