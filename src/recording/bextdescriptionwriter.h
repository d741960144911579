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
 * short, past the size riffSize the RIFF header claims: nothing else of the
 * file depends on them, and the next write drops them.
 */
bool isCutAppendAt(QFile &file, qint64 chunkStart, quint32 riffSize);

/**
 * Writes text as UTF-8 into the 256-byte description of the first bext chunk
 * of a WAV file already open for reading and writing, or appends a new bext
 * chunk when the file has none. Closes the file on every path. On false the
 * file holds the bytes it held before (less a cut chunk of its own append,
 * see below), and failure receives the system's words where a write, resize
 * or sync failed.
 *
 * An append writes the chunk, has sync make it durable, then writes the RIFF
 * size: a kill of the program or a power cut at any point leaves a file that
 * claims no byte it lacks, at worst with the size of the file before the
 * append, or with the appended chunk cut short past that size. A later write
 * repairs both: it corrects the size of a last chunk exactly as appended, and
 * drops a cut one before appending whole.
 *
 * Kept apart from WavFile so that the rollback of a failed write can be driven
 * through a device whose writes fail.
 */
bool writeBextDescriptionToFile(QFile &file, const QString &text, QString *failure = nullptr,
                                const FileSync &sync = syncFileToDisk);
