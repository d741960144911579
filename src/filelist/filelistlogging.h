#pragma once

#include <QLoggingCategory>

// Diagnostics of loading folders and evaluations. Off by default;
// QT_LOGGING_RULES="quillon.filelist.debug=true" turns them on.
Q_DECLARE_LOGGING_CATEGORY(lcFileList)
