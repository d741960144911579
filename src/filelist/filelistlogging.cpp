#include "filelist/filelistlogging.h"

Q_LOGGING_CATEGORY(lcFileList, "quillon.filelist", QtWarningMsg)
