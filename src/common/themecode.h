#pragma once

/** The theme choice stored under "theme"; other values are never written and apply no theme. */
namespace ThemeCode {
enum Code : int {
    FollowSystem = 0, // the desktop's light or dark preference
    Light = 1,
    Dark = 2,
};
}
