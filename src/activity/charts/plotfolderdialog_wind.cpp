// The chart of activity over wind speed (see plotfolderdialog.h for what a chart may
// read and must do). It draws nothing yet.
#include "activity/plotfolderdialog.h"

void plotFolderDialog::plotFunctionVsWind(bool, bool) {}
