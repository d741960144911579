#include "common/settingskeys.h"

#include "common/settingsformat.h"

#include <QCoreApplication>

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Harmonvale"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("harmonvale.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QSettings::setDefaultFormat(wholeIniFormat());
}
