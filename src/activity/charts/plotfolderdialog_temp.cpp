// The chart of activity over temperature (see plotfolderdialog.h for what a chart may
// read and must do). It draws nothing yet.
#include "activity/plotfolderdialog.h"

void plotFolderDialog::plotFunctionVsTemp(bool, bool) {}
