#pragma once

#include <QLoggingCategory>

// Diagnostic lines of the activity dialog and its charts (such as the wind
// series each drawing reads); off by default: QT_LOGGING_RULES="quillon.activity.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcActivity)
