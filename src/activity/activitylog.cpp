#include "activity/activitylog.h"

Q_LOGGING_CATEGORY(lcActivity, "quillon.activity", QtWarningMsg)
