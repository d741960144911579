#include "audio/audiologging.h"

Q_LOGGING_CATEGORY(lcAudio, "quillon.audio", QtWarningMsg)
