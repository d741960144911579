#pragma once

#include <QString>

/**
 * Reads a recording's proposal from the result list "calls_ch1_files.txt" that
 * a recorder's offline analysis leaves beside its recordings (TAB-separated,
 * one line per recording).
 */
class RecorderResultLookup
{
public:
    /**
     * The proposal for wavFileName (a path with "/" separators): group names
     * for reviewMode 0, species codes for reviewMode 1, "No Call" for a noise or
     * test line. Empty when the file cannot be read, holds no line naming the
     * recording, or that line has fewer than seven fields. A line naming the
     * recording as a whole (a field, or the end of a path) wins over an earlier
     * one that holds its name inside a longer one.
     */
    static QString proposal(const QString &wavFileName, const QString &recorderResultFileName, int reviewMode);
};
