#include "audio/playbackrefusal.h"

#include "audio/playbackbuffers.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// Index of the first choice (the dialog lists them from mildest on) whose
// rate is below `refusedRate` and taken; -1 when none is.
int firstPlayable(AudioMode mode, int choices, int recordingRate, int refusedRate,
                  const std::function<bool(int)> &takesRate)
{
    for (int index = 1; index < choices; ++index) {
        PlaybackSettings settings;
        settings.mode = mode;
        (mode == AudioMode::Pitched ? settings.playbackRateIndex : settings.undersamplingIndex) = index;
        const int rate = outputSampleRate(recordingRate, settings);
        if (rate > 0 && rate < refusedRate && takesRate(rate))
            return index;
    }
    return -1;
}

} // namespace

PlayableChoices playableChoices(int recordingRate, int refusedRate, const std::function<bool(int)> &takesRate)
{
    PlayableChoices choices;
    choices.playbackRateIndex =
        firstPlayable(AudioMode::Pitched, playbackRateChoices, recordingRate, refusedRate, takesRate);
    choices.undersamplingIndex =
        firstPlayable(AudioMode::Undersampled, undersamplingChoices, recordingRate, refusedRate, takesRate);
    return choices;
}

PlaybackRefusalText playbackRefusalText(int refusedRate, bool rateTaken, const PlayableChoices &choices)
{
    PlaybackRefusalText out;
    if (rateTaken) {
        out.text = tr("The audio output could not play the sound.");
        return out;
    }
    out.text = tr("The audio output cannot play sound at %1 Hz.").arg(refusedRate);
    // The choices as the audio settings list them: "50%", "2:1".
    QStringList ways;
    if (choices.playbackRateIndex > 0) {
        const int percent = qRound(playbackRateFactor(choices.playbackRateIndex) * 100.0f);
        ways << tr("\"Pitched\" at a playback rate of %1% or less").arg(percent);
    }
    if (choices.undersamplingIndex > 0)
        ways << tr("\"Undersampled\" at %1:1 or more").arg(undersamplingFactor(choices.undersamplingIndex));
    if (!ways.isEmpty())
        out.details = tr("To hear this recording, choose %1 in the audio settings.").arg(ways.join(tr(", or ")));
    return out;
}

PlaybackRefusalText soundServerLostText(bool reconnects)
{
    PlaybackRefusalText out;
    out.text = tr("The audio output could not play the sound: the sound server was lost.");
    out.details = reconnects ? tr("Quillon plays again once the sound server runs again.")
                             : tr("Quillon plays again after a restart.");
    return out;
}
