#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The desktop's light or dark preference and the widget styles that go with
// the program's two themes.

/**
 * True when the desktop asks applications for a light look. On Windows this is
 * the per-user registry value "AppsUseLightTheme" (missing counts as light);
 * other desktops offer no such switch that Qt 5 can read, so they count as light.
 */
bool systemPrefersLightTheme();

/**
 * Replaces the desktop's answer (for tests, and for any later setting that
 * forces it); std::nullopt asks the desktop again. GUI thread only.
 */
void setSystemPrefersLightThemeOverride(std::optional<bool> light);

/** "WindowsVista" where it is among `offeredStyles` (any letter case), otherwise "Fusion". */
QString lightThemeStyleName(const QStringList &offeredStyles);

/** The light theme's style among the styles this Qt offers (QStyleFactory::keys()). */
QString lightThemeStyleName();

/** The dark palette needs a style that honours palettes everywhere: "Fusion". */
QString darkThemeStyleName();
