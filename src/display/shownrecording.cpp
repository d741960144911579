#include "display/shownrecording.h"

#include "analysis/classassignmenttext.h"
#include "recording/audiosamplereader.h"
#include "recording/recordingkind.h"
#include "recording/recordinglength.h"
#include "recording/wavfile.h"

#include <QLocale>

#include <limits>

double ShownFormat::duration() const
{
    if (sampleRate <= 0)
        return std::numeric_limits<double>::quiet_NaN();
    return double(float(sampleCount) / float(sampleRate));
}

ShownFormat shownFormat(const QString &fileName, const WavFile &wavFile, const AudioSampleReader &rawFile)
{
    ShownFormat f;
    switch (recordingKind(fileName)) {
    case RecordingKind::Wav:
        f.sampleRate = int(wavFile.sampleRate);
        f.bitsPerSample = wavFile.bitsPerSample;
        f.sampleCount = qMin<qint64>(wavFile.frameCount(), qint64(wavFile.samples.size()));
        break;
    case RecordingKind::Raw:
        f.raw = true;
        f.sampleRate = rawSampleRate;
        f.bitsPerSample = 16;
        if (rawFile.bytesPerSample > 0)
            f.sampleCount =
                qMin<qint64>(qint64(rawFile.fileSize) / rawFile.bytesPerSample, qint64(rawFile.samples.size()));
        break;
    case RecordingKind::None:
        break;
    }
    return f;
}

QStringList shownClassesAndComment(const QString &description)
{
    const ClassAssignmentText text = ClassAssignmentText::parse(description);
    QStringList shown;
    for (const QString &c : {text.batClass1, text.batClass2, text.batClass3, text.batClass4, text.comment}) {
        if (!c.isEmpty())
            shown << c;
    }
    return shown;
}

QString recordingInfoLine(int bitsPerSample, int sampleRate, qint64 sampleCount, const QString &dateText,
                          const QString &timeText, const QStringList &extras)
{
    const QLocale locale;
    // The length as the file list shows it, not the single-precision one the spectrogram is laid out by.
    const QString length = sampleRate > 0 ? recordingLengthText(sampleCount, sampleRate) : QStringLiteral("N/A");
    QString line = locale.toString(bitsPerSample) + QStringLiteral("bit; ") + locale.toString(sampleRate)
                   + QStringLiteral("Hz; ") + length + QStringLiteral("s; ") + dateText + QStringLiteral("; ")
                   + timeText;
    for (const QString &e : extras)
        line += QStringLiteral("; ") + e;
    return line;
}
