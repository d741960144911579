#include "app/filewritefailure.h"

#include "app/userdialogs.h"

void reportFileWriteFailure()
{
    userDialogs().message({nullptr, QMessageBox::Critical, QString(), QStringLiteral("Could not write to file.")});
}
