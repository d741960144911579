#pragma once

#include <QString>

#include <vector>

// Headerless RAW recordings carry no rate; every user of one takes this.
constexpr int rawSampleRate = 500000;

/**
 * Loads a headerless RAW recording: 16-bit signed little-endian mono samples.
 * The outcome is errorText (empty on success) and samples.
 */
class AudioSampleReader
{
public:
    AudioSampleReader();
    ~AudioSampleReader();
    AudioSampleReader(const AudioSampleReader &) = delete;
    AudioSampleReader &operator=(const AudioSampleReader &) = delete;

    /** Sets bytesPerSample to 2 and empties errorText; samples and fileSize stay. */
    void reset();

    /** Reads the whole file; a header-only load leaves samples empty. */
    void load(const QString &fileName, bool headerOnly);

    qint32 bytesPerSample = 2;
    std::vector<int> samples;
    quint32 fileSize = 0;
    QString errorText;
};
