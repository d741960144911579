#include "audio/playbackbuffers.h"

#include "common/settingskeys.h"
#include "display/amplitudeenvelope.h"
#include "recording/recordinglength.h"

#include <cmath>

namespace {

constexpr int bytesPerOutputSample = 2;

// The output must fit a QByteArray: 1 GiB holds 18 minutes at 500 kHz, far
// more than the spectrogram of one recording can show.
constexpr qint64 maxOutputSamples = qint64(1) << 29;

qint64 usableSampleCount(const ShownFormat &format, const std::vector<int> &samples)
{
    return qBound<qint64>(0, format.sampleCount, qint64(samples.size()));
}

// 32767 / F for the recording's full scale F; 1 where a width has none.
float toSixteenBits(int bitsPerSample)
{
    const qint64 fullScale = sampleFullScale(bitsPerSample);
    return fullScale > 0 ? 32767.0f / float(fullScale) : 1.0f;
}

qint16 saturated(double v)
{
    if (v >= 32767.0)
        return 32767;
    if (v <= -32768.0)
        return -32768;
    return qint16(v); // truncates toward zero
}

void putLittleEndian(char *out, qint16 v)
{
    out[0] = char(v & 0xff);
    out[1] = char((v >> 8) & 0xff);
}

} // namespace

int undersamplingFactor(int index)
{
    if (index <= 0 || index >= undersamplingChoices)
        return 1;
    return 2 * index;
}

float playbackRateFactor(int index)
{
    static const float factors[playbackRateChoices] = {1.0f, 0.5f, 0.25f, 0.2f, 0.1f, 0.05f, 0.01f};
    if (index < 0 || index >= playbackRateChoices)
        return 1.0f;
    return factors[index];
}

int outputSampleRate(int sampleRate, const PlaybackSettings &settings)
{
    return int(float(qMax(0, sampleRate) / settings.undersampling()) * settings.playbackRate());
}

int PlaybackSettings::undersampling() const
{
    return mode == AudioMode::Undersampled ? undersamplingFactor(undersamplingIndex) : 1;
}

float PlaybackSettings::playbackRate() const
{
    return mode == AudioMode::Pitched ? playbackRateFactor(playbackRateIndex) : 1.0f;
}

PlaybackSettings readPlaybackSettings()
{
    PlaybackSettings s;
    const int mode = readSetting(SettingKeys::audioMode);
    s.mode = mode >= 0 && mode <= 3 ? AudioMode(mode) : AudioMode::Original;
    s.undersamplingIndex = readSetting(SettingKeys::undersampling);
    s.playbackRateIndex = readSetting(SettingKeys::playbackRate);
    s.mixerFrequencyKHz = readSetting(SettingKeys::mixerFrequencyKHz);
    return s;
}

QAudioFormat monoPcm16Format(int sampleRate)
{
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleSize(8 * bytesPerOutputSample);
    format.setCodec(QStringLiteral("audio/pcm"));
    format.setByteOrder(QAudioFormat::LittleEndian);
    format.setSampleType(QAudioFormat::SignedInt);
    return format;
}

float playbackGain(float amplitudeAxisLimit)
{
    // A silent recording draws a limit of 0: 0.8 / 0 would blow up.
    if (!(amplitudeAxisLimit > 0.0f) || !std::isfinite(amplitudeAxisLimit))
        return 1.0f;
    return 0.8f / float(double(amplitudeAxisLimit) / 1.1);
}

PlaybackBuffer buildPlaybackBuffer(const ShownFormat &format, const std::vector<int> &samples,
                                   const PlaybackSettings &settings, float amplitudeAxisLimit)
{
    PlaybackBuffer out;
    const qint64 n = usableSampleCount(format, samples);
    const int rate = qMax(0, format.sampleRate);
    const int u = settings.undersampling();
    const int outputRate = outputSampleRate(rate, settings);

    out.format = monoPcm16Format(outputRate);
    if (rate == 0)
        return out;
    out.durationMs = recordingLengthMs(n, rate);
    const qint64 count = qMin(n / u, maxOutputSamples);
    if (count == 0 || outputRate <= 0)
        return out;

    const float scale = toSixteenBits(format.bitsPerSample);
    const float g = playbackGain(amplitudeAxisLimit);
    const int *in = samples.data();
    out.data.resize(int(count * bytesPerOutputSample));
    char *dst = out.data.data();

    if (settings.mode == AudioMode::Mixed) {
        // The mixing sine restarts every outputRate samples: one period of
        // values, computed once, serves the whole recording.
        const double fm = double(settings.mixerFrequencyKHz * 1000.0f);
        const qint64 period = qMin<qint64>(count, outputRate);
        std::vector<double> sine(static_cast<size_t>(period));
        for (qint64 k = 0; k < period; ++k)
            sine[size_t(k)] = std::sin((double(k) * (fm * 2.0 * M_PI)) / double(outputRate));
        qint64 k = 0;
        for (qint64 i = 0; i < count; ++i) {
            const float v = float(in[i]) * scale * g;
            putLittleEndian(dst + 2 * i, saturated(double(v) * sine[size_t(k)]));
            if (++k == period)
                k = 0;
        }
    } else {
        for (qint64 i = 0; i < count; ++i) {
            const float v = float(in[i * u]) * scale * g;
            putLittleEndian(dst + 2 * i, saturated(double(v)));
        }
    }
    return out;
}

namespace {

// Output samples [first, end) of a buffer of `outputCount` samples that belong
// to start..end seconds: whole samples only, cut at the buffer's end.
struct OutputSpan {
    qint64 first = 0;
    qint64 end = 0;
};

OutputSpan sliceSpan(qint64 outputCount, const ShownFormat &format, const PlaybackSettings &settings, float start,
                     float end)
{
    if (format.sampleRate <= 0 || outputCount <= 0 || !std::isfinite(start) || !std::isfinite(end))
        return {};
    const float length = float(format.duration());
    // Any start before 0 cuts from byte 0: holding it at -length keeps the
    // byte counts within range without changing the slice.
    const float from = qBound(-length, start, length);
    const float to = qBound(-length, end, length);
    const float perSecond = float(format.sampleRate) / float(settings.undersampling());

    qint64 first = qint64(perSecond * from * float(bytesPerOutputSample));
    if (first % 2 != 0)
        first -= 1;
    const qint64 last = qint64(perSecond * to * float(bytesPerOutputSample));
    qint64 size = last - first;
    if (size % 2 != 0)
        size -= 1;
    if (first < 0) {
        size += first;
        first = 0;
    }
    const qint64 bytes = outputCount * bytesPerOutputSample;
    if (size <= 0 || first >= bytes)
        return {};
    return {first / bytesPerOutputSample, (first + qMin(size, bytes - first)) / bytesPerOutputSample};
}

} // namespace

QByteArray playbackSlice(const QByteArray &audio, const ShownFormat &format, const PlaybackSettings &settings,
                         float start, float end)
{
    const OutputSpan span = sliceSpan(audio.size() / bytesPerOutputSample, format, settings, start, end);
    if (span.end <= span.first)
        return QByteArray();
    return audio.mid(int(span.first * bytesPerOutputSample), int((span.end - span.first) * bytesPerOutputSample));
}

float playedPeak(const ShownFormat &format, const std::vector<int> &samples, const PlaybackSettings &settings,
                 float start, float end)
{
    const int u = settings.undersampling();
    const qint64 outputCount = qMin(usableSampleCount(format, samples) / u, maxOutputSamples);
    const OutputSpan span = sliceSpan(outputCount, format, settings, start, end);
    qint64 loudest = 0;
    for (qint64 i = span.first; i < span.end; ++i)
        loudest = qMax(loudest, qAbs(qint64(samples[size_t(i * u)])));
    // Worked out as the time plot's envelope does, so that the plot's limit
    // for the same samples is not raised by a rounding step; a width
    // without a full scale plays its samples as 16-bit ones.
    const qint64 fullScale = sampleFullScale(format.bitsPerSample);
    return float(loudest) / float(fullScale > 0 ? fullScale : 32767);
}

float playbackAxisLimit(float drawnLimit, float peak)
{
    const float played = 1.1f * peak;
    return std::isfinite(drawnLimit) && drawnLimit >= played ? drawnLimit : played;
}
