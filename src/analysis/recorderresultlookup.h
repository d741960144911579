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
     * test line. A line is the recording's only when it names the recording
     * as a whole: as a field, or at the end of a path in one. Empty when the
     * file cannot be read, holds no such line, or that line has fewer than
     * seven fields.
     */
    static QString proposal(const QString &wavFileName, const QString &recorderResultFileName, int reviewMode);
};
