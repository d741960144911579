// The chart of activity over days (see plotfolderdialog.h for what a chart may
// read and must do). It draws nothing yet.
#include "activity/plotfolderdialog.h"

void plotFolderDialog::plotFunctionVsDays(bool, bool) {}
