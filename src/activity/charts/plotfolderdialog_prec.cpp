// The chart of activity over precipitation (see plotfolderdialog.h for what a chart may
// read and must do). It draws nothing yet.
#include "activity/plotfolderdialog.h"

void plotFolderDialog::plotFunctionVsPrec(bool, bool) {}
