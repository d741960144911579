#pragma once

#include <QLoggingCategory>

// Diagnostic lines of the exports and the copy by class; off by default.
Q_DECLARE_LOGGING_CATEGORY(lcExport)
