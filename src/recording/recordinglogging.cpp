#include "recording/recordinglogging.h"

Q_LOGGING_CATEGORY(lcRecording, "quillon.recording", QtWarningMsg)
