#pragma once

#include <QString>

#include <functional>

class QFile;

/**
 * Makes what was written to file durable, so that a power cut cannot lose it
 * while keeping what is written after it. False, with the system's words in
 * why, when the system cannot.
 */
using FileSync = std::function<bool(QFile &file, QString *why)>;
bool syncFileToDisk(QFile &file, QString *why);

/**
 * Whether the bytes from chunkStart to the end of file are what an append of
 * the writer's own leaves when a kill or a power cut stops its one write
 * short: nothing else of the file depends on them, and the next write drops
 * them. Told by their shape alone, whatever the RIFF size claims: a header
 * never finished claims 0xFFFFFFFF, and a size that lies by a few bytes puts
 * the append inside the claim.
 */
bool isCutAppendAt(QFile &file, qint64 chunkStart);

/**
 * Writes text as UTF-8 into the 256-byte description of the first bext chunk
 * of a WAV file already open for reading and writing, or appends a new bext
 * chunk when the file has none. Closes the file on every path. On false the
 * file holds the bytes it held before (less a cut chunk of its own append,
 * see below), and failure receives why: the system's words where a read,
 * write, resize or sync failed, else what of the file stopped the write. Where a failed write in place could not be undone, failure
 * also says that the recording now holds a damaged description.
 *
 * An append writes the chunk, has sync make it durable, then writes the RIFF
 * size: a kill of the program or a power cut at any point leaves at worst
 * the RIFF size of the file before the append, or the appended chunk cut
 * short. A later write repairs both: it corrects the size of a last chunk
 * exactly as appended, and drops a cut one before appending whole.
 *
 * Kept apart from WavFile so that the rollback of a failed write can be driven
 * through a device whose writes fail.
 */
bool writeBextDescriptionToFile(QFile &file, const QString &text, QString *failure = nullptr,
                                const FileSync &sync = syncFileToDisk);
