#pragma once

#include <QString>

// Keys of the application settings store that the exports and the copy by class
// keep, each the last path chosen (a file, or a folder for copying).
namespace ExportSettingsKeys {
inline QString exportCSVPath() { return QStringLiteral("exportCSVPath"); }
inline QString exportTavronPath() { return QStringLiteral("exportTavronPath"); }
inline QString copyFilesPath() { return QStringLiteral("copyFilesPath"); }
/** Where the save and folder dialogs start before anything was chosen. */
inline QString defaultPath() { return QStringLiteral("C:/"); }
}
