#pragma once

#include <QLoggingCategory>

// Diagnostics of the chunk walk, the RAW reader and the description writer. Off by default, so a
// normal run prints only warnings; QT_LOGGING_RULES="quillon.recording.debug=true" turns them on.
Q_DECLARE_LOGGING_CATEGORY(lcRecording)
