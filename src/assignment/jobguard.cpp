#include "assignment/jobguard.h"

#include <QCoreApplication>

bool JobGuard::allows(Action action, bool headerChainRunning) const
{
    if (m_running != Job::None)
        return false;
    switch (action) {
    case Action::ChangeClassTree:
    case Action::DeleteFiles:
    case Action::ReadRows:
        return !headerChainRunning;
    default:
        return true;
    }
}

QString JobGuard::refusalText()
{
    return QCoreApplication::translate("MainWindow", "Please wait until the current job has finished.");
}
