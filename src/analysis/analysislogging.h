#pragma once

#include <QLoggingCategory>

// Diagnostics of the workers' request parameters and every measured call. Off by default, so a
// normal run prints only warnings; QT_LOGGING_RULES="quillon.analysis.debug=true" turns them on.
Q_DECLARE_LOGGING_CATEGORY(lcAnalysis)
