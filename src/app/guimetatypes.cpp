#include "app/guimetatypes.h"

#include "analysis/metatypes.h"

void registerMetaTypes()
{
    registerAnalysisMetaTypes();
    // The bext-writing and copying workers add their request types here when they land.
}
