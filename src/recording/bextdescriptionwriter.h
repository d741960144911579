#pragma once

#include <QString>

class QFile;

/**
 * Writes text as UTF-8 into the 256-byte description of the first bext chunk
 * of a WAV file already open for reading and writing, or appends a new bext
 * chunk when the file has none. Closes the file on every path. On false the
 * file holds the bytes it held before.
 *
 * An append writes the chunk, then the RIFF size: a kill of the program at
 * any point leaves a file that reads whole, at worst with the size of the file
 * before the append. A later write into a last chunk exactly as appended
 * repairs that size.
 *
 * Kept apart from WavFile so that the rollback of a failed write can be driven
 * through a device whose writes fail.
 */
bool writeBextDescriptionToFile(QFile &file, const QString &text);
