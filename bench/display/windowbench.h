#pragma once

// What a benchmark of the shown main window sets up before and after its
// QApplication: offscreen unless a platform is named, a settings store of its
// own, the window's resources and identity, and a message handler that keeps
// the figures readable.
#include "app/guimetatypes.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

// Outside any namespace: the macro declares the resource's initialiser where it stands.
inline void initWindowBenchResources()
{
    Q_INIT_RESOURCE(quillon);
}

namespace windowbench {

inline void quietDebug(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The worker logs its framing on every request; the figures must stay readable.
    if (type == QtDebugMsg)
        return;
    if (message.contains(QLatin1String("propagateSizeHints")))
        return; // the offscreen platform's complaint about every resize
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Made before the QApplication, kept until the end of main.
class Environment
{
public:
    Environment()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The settings written here must not reach the user's own store.
        qputenv("XDG_CONFIG_HOME", m_settingsHome.path().toLocal8Bit());
    }

    // Called once the QApplication stands.
    void applicationMade()
    {
        initWindowBenchResources();
        QCoreApplication::setOrganizationName(QStringLiteral("Harmonvale"));
        QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
        registerMetaTypes();
        qInstallMessageHandler(quietDebug);
    }

private:
    QTemporaryDir m_settingsHome;
};

} // namespace windowbench
