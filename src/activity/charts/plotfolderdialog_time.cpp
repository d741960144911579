// The chart of activity over the time of day (see plotfolderdialog.h for what a chart may
// read and must do). It draws nothing yet.
#include "activity/plotfolderdialog.h"

void plotFolderDialog::plotFunctionVsTime(bool, bool) {}
