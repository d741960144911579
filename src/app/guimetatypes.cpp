#include "app/guimetatypes.h"

#include "analysis/metatypes.h"
#include "assignment/filerowlist.h"
#include "filelist/classrowtexts.h"
#include "filelist/filerowtexts.h"

void registerMetaTypes()
{
    registerAnalysisMetaTypes();
    // The row copies of the bext-writing worker's requests and replies.
    qRegisterMetaType<FileRowTexts>();
    qRegisterMetaType<ClassRowTexts>();
    qRegisterMetaType<FileRowList>();
}
