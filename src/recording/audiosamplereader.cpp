#include "recording/audiosamplereader.h"

#include "recording/recordinglogging.h"
#include "recording/samplebound.h"

#include <QFile>

#include <limits>

AudioSampleReader::AudioSampleReader() = default;

AudioSampleReader::~AudioSampleReader() = default;

void AudioSampleReader::reset()
{
    bytesPerSample = 2;
    errorText.clear();
}

void AudioSampleReader::load(const QString &fileName, bool headerOnly)
{
    bytesPerSample = 2;
    errorText.clear();
    // A failed load must not leave the previous recording behind for the caller to show.
    std::vector<int>().swap(samples);
    fileSize = 0;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcRecording) << "Unable to open file.";
        errorText = QStringLiteral("Cannot open file '") + fileName + QStringLiteral("'");
        return;
    }
    const QString readError = QStringLiteral("Cannot read data from '") + fileName + QStringLiteral("'");
    const qint64 size = file.size();
    // fileSize is 32 bits wide; a larger file cannot be described, let alone held.
    if (size > qint64(std::numeric_limits<quint32>::max())) {
        qCDebug(lcRecording) << "Read error";
        errorText = readError;
        return;
    }
    file.seek(0);
    fileSize = quint32(size);
    // Refused before the bytes are read: they and their samples would take
    // three times the bound. A header-only load keeps no sample.
    const quint64 sampleCount = quint64(size) / 2;
    if (!headerOnly && sampleCount > maxRecordingSamples) {
        qCDebug(lcRecording) << "Read error: too many samples";
        errorText = tooManySamplesText(sampleCount);
        return;
    }

    std::vector<unsigned char> bytes(static_cast<size_t>(fileSize));
    const qint64 got = fileSize == 0 ? 0 : file.read(reinterpret_cast<char *>(bytes.data()), size);
    file.close();
    if (got != size) {
        qCDebug(lcRecording) << "Read error";
        errorText = readError;
        return;
    }
    if (headerOnly)
        return;

    const size_t count = bytes.size() / 2;
    samples.resize(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = qint16(quint16(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    if (samples.empty()) {
        qCDebug(lcRecording) << "Read error";
        errorText = readError;
    }
}
