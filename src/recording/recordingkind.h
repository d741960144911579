#pragma once

#include <QString>

/** The two kinds of recording the program reads, told apart by the file name alone. */
enum class RecordingKind {
    None, // any other name: not a recording
    Wav,  // ".wav": RIFF/WAVE with a header (WavFile)
    Raw,  // ".raw": headerless 16-bit samples at rawSampleRate (AudioSampleReader)
};

/** The kind a path names by its ending, ".wav" or ".raw" in any letter case; the file is not opened. */
RecordingKind recordingKind(const QString &path);

/** A path names a recording when it ends in ".wav" or ".raw", in any letter case. */
inline bool isRecordingPath(const QString &path)
{
    return recordingKind(path) != RecordingKind::None;
}
