#include "common/settingskeys.h"

#include <QCoreApplication>

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Harmonvale"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("harmonvale.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
}
