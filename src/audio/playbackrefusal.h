#pragma once

#include <QString>

#include <functional>

/**
 * What the window says when Play finds that the audio output will not play:
 * in the terms of the audio settings, not the sound server's. A 500 kHz
 * recording plays at 500 kHz in "Original", "Mixed", "Pitched" at 100 % and
 * "Undersampled" at 1:1, beyond what PulseAudio takes (384 kHz); a time
 * expansion or undersampling brings it within range.
 */

// The mildest choices of the audio settings that bring a recording of
// `recordingRate` Hz to an output rate below `refusedRate` that `takesRate`
// accepts: the "playbackRate" index in "Pitched", the "undersampling" index
// in "Undersampled"; -1 where none of the dialog's choices does.
struct PlayableChoices {
    int playbackRateIndex = -1;
    int undersamplingIndex = -1;
};

PlayableChoices playableChoices(int recordingRate, int refusedRate, const std::function<bool(int)> &takesRate);

struct PlaybackRefusalText {
    QString text;
    QString details; // what brings it within range; empty when nothing does
};

// `rateTaken`: the output takes `refusedRate` as such and failed for another
// reason, which no choice of the settings mends.
PlaybackRefusalText playbackRefusalText(int refusedRate, bool rateTaken, const PlayableChoices &choices);

// The sound server went away: nothing plays until it runs again, and until
// Quillon is started again where Qt's backend cannot be asked to look for it
// (`reconnects` false).
PlaybackRefusalText soundServerLostText(bool reconnects);
