#pragma once

// The activity plot dialog's designer form. Its object names are binding: the
// dialog's slots are connected by name, and the plot set-up, the exports and the
// charts reach the widgets through them.
#include "ui_plotfolderdialog.h"

// The tabs of the form's tabWidget, in index order; each shows one chart.
enum class ActivityTab {
    Time = 0,
    Days = 1,
    Months = 2,
    Night = 3,
    Temperature = 4,
    Precipitation = 5,
    WindSpeed = 6,
};
