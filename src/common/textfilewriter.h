#pragma once

#include <QString>

/**
 * Writes a file the user asked for: `text` as UTF-8 without byte-order mark,
 * through a temporary file that replaces `path` only once every byte was
 * written, so a failure leaves an existing file as it was. On any failure
 * shows "Could not write to file." (critical, no parent, no title of its own)
 * and returns false.
 */
bool writeTextFile(const QString &path, const QString &text);
