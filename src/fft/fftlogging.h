#pragma once

#include <QLoggingCategory>

// Diagnostics of the transform sizes the analysis asks for. Off by default, so a
// normal run prints only warnings; QT_LOGGING_RULES="quillon.fft.debug=true" turns them on.
Q_DECLARE_LOGGING_CATEGORY(lcFft)
