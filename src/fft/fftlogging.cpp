#include "fft/fftlogging.h"

Q_LOGGING_CATEGORY(lcFft, "quillon.fft", QtWarningMsg)
