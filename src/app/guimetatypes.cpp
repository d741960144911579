#include "app/guimetatypes.h"

#include "analysis/metatypes.h"

void registerMetaTypes()
{
    registerAnalysisMetaTypes();
}
