#include "analysis/analysislogging.h"

Q_LOGGING_CATEGORY(lcAnalysis, "quillon.analysis", QtWarningMsg)
