#pragma once

#include "display/shownrecording.h"

#include <QAudioFormat>
#include <QByteArray>

#include <vector>

/**
 * What the audio output plays of the shown recording: the whole recording
 * made audible in one of four modes, as 16-bit signed little-endian mono PCM,
 * and the slice of it that belongs to the time span on view.
 *
 * Pure functions: the caller reads the settings (readPlaybackSettings) and
 * hands over the samples (one per frame, not rescaled) with the format the
 * view shows them in, so that a recording plays whenever it is shown.
 *
 * Every recording plays as 16-bit samples, whatever its own width:
 *   v = s x (32767 / F) x g,  F = 2^(bits - 1) - 1 (the recording's full scale),
 * in single precision, truncated toward zero and held within -32768..32767.
 * For 16-bit recordings 32767 / F is exactly 1. The gain g brings the loudest
 * amplitude the time plot drew to 80 % of full scale (playbackGain), and no
 * further than the loudest sample played (playbackAxisLimit).
 */

// The "audioMode" setting.
enum class AudioMode {
    Original = 0,     // unchanged
    Undersampled = 1, // every u-th sample at rate / u: frequencies fall, the length stays
    Pitched = 2,      // every sample at rate x p: time expansion
    Mixed = 3,        // heterodyne: multiplied by a sine at the mixer frequency
};

struct PlaybackSettings {
    AudioMode mode = AudioMode::Original;
    int undersamplingIndex = 0;      // "undersampling": index of 1:1, 2:1, 4:1 ... 30:1
    int playbackRateIndex = 0;       // "playbackRate": index of 100 %, 50 %, 25 %, 20 %, 10 %, 5 %, 1 %
    float mixerFrequencyKHz = 20.0f; // "mixerFrequency"

    // u: the undersampling factor in Undersampled mode, else 1.
    int undersampling() const;
    // p: the playback-rate factor in Pitched mode, else 1.
    float playbackRate() const;
};

// The settings as the settings dialog stored them.
PlaybackSettings readPlaybackSettings();

// Factors by the dialog's index; an index the dialog does not offer plays unchanged (1).
int undersamplingFactor(int index);
float playbackRateFactor(int index);
// How many of each the dialog offers, index 0 (unchanged) included.
constexpr int undersamplingChoices = 16;
constexpr int playbackRateChoices = 7;

// The rate a recording of `sampleRate` Hz plays at: rate / u x p, truncated.
int outputSampleRate(int sampleRate, const PlaybackSettings &settings);

struct PlaybackBuffer {
    QByteArray data;       // empty when there is nothing to play
    QAudioFormat format;   // the rate to play `data` at; 16-bit mono signed little-endian
    qint64 durationMs = 0; // the recording's length (recording time, not playing time), as the file list rounds it
};

// 16-bit signed little-endian mono PCM at `sampleRate`: every buffer plays in it.
QAudioFormat monoPcm16Format(int sampleRate);

// The gain that brings the time plot's amplitude axis limit (1.1 x the
// loudest amplitude drawn, in units of full scale) to 80 % of full scale;
// 1 for a silent recording (limit 0).
float playbackGain(float amplitudeAxisLimit);

// The whole recording, made audible. Nothing to play (empty data) without
// samples, without a sample rate or when the output rate comes to 0.
PlaybackBuffer buildPlaybackBuffer(const ShownFormat &format, const std::vector<int> &samples,
                                   const PlaybackSettings &settings, float amplitudeAxisLimit);

// The part of `audio` (built from the same format and settings) that belongs
// to start..end seconds of recording time: cut at the recording's end, whole
// samples only.
QByteArray playbackSlice(const QByteArray &audio, const ShownFormat &format, const PlaybackSettings &settings,
                         float start, float end);

/**
 * The largest absolute amplitude, in units of full scale, among the samples
 * that the slice start..end of the buffer built from `samples` plays (every
 * u-th when undersampled); 0 when the slice is empty.
 */
float playedPeak(const ShownFormat &format, const std::vector<int> &samples, const PlaybackSettings &settings,
                 float start, float end);

/**
 * The amplitude axis limit to build a buffer with: the time plot's, raised to
 * 1.1 x the played peak where that is louder. The plot may have drawn another
 * stretch than the one played (a zoom it followed, a stretch it drew before
 * it was switched to a spectral mode), and its gain would then drive the
 * played samples past full scale.
 */
float playbackAxisLimit(float drawnLimit, float peak);
