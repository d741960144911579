#pragma once

#include <QLoggingCategory>

// Diagnostics of playback: what the audio output refused, and why.
// QT_LOGGING_RULES="quillon.audio.debug=true" turns on the rest.
Q_DECLARE_LOGGING_CATEGORY(lcAudio)
