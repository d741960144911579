// The seven chart computations. Each is called by the frame (callChart) with
// its tab's first-plot flag as `init`; what they may read and must do is told
// in plotfolderdialog.h. They draw nothing yet.
#include "activity/plotfolderdialog.h"

void plotFolderDialog::plotFunctionVsTime(bool, bool) {}
void plotFolderDialog::plotFunctionVsDays(bool, bool) {}
void plotFolderDialog::plotFunctionVsMonth(bool, bool) {}
void plotFolderDialog::plotFunctionVsNight(bool, bool) {}
void plotFolderDialog::plotFunctionVsTemp(bool, bool) {}
void plotFolderDialog::plotFunctionVsPrec(bool, bool) {}
void plotFolderDialog::plotFunctionVsWind(bool, bool) {}
