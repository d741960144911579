#pragma once

// The desktop's own store (the Windows registry), read for its light or dark
// preference. Not the program's settings store: nothing here is ever written.
namespace DesktopSettingKeys {
constexpr const char *personalizePath =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
constexpr const char *appsUseLightTheme = "AppsUseLightTheme";
/** What a missing value counts as: light. 0 asks for dark, anything else for light. */
constexpr int appsUseLightThemeMissing = 1;
} // namespace DesktopSettingKeys
