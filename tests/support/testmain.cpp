// Shared main of every test executable: runs the registered test classes in
// name order. "-class Name" (repeatable) limits the run; all other arguments
// go to QTest for each class (for example a test function name or -v2).
#include "testregistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <memory>

#ifdef QUILLON_TEST_GUI
#include "guitest.h"

#include <QApplication>
#endif

int main(int argc, char *argv[])
{
    // The isolated settings store of this run must exist before QSettings writes to it.
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (!configHome.isEmpty())
        QDir().mkpath(QString::fromLocal8Bit(configHome));
#ifdef QUILLON_TEST_GUI
    Q_INIT_RESOURCE(quillon);
    QApplication app(argc, argv);
    testsupport::prepareGuiTests();
#else
    QCoreApplication app(argc, argv);
#endif
    QStringList only;
    QStringList passOn{QString::fromLocal8Bit(argv[0])};
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("-class") && i + 1 < args.size())
            only << args.at(++i);
        else
            passOn << args.at(i);
    }

    auto tests = testsupport::registeredTests();
    std::sort(tests.begin(), tests.end(), [](const auto &a, const auto &b) { return qstrcmp(a.name, b.name) < 0; });

    int failedClasses = 0;
    int ran = 0;
    for (const auto &t : tests) {
        if (!only.isEmpty() && !only.contains(QLatin1String(t.name)))
            continue;
        std::unique_ptr<QObject> object(t.create());
        ++ran;
        if (QTest::qExec(object.get(), passOn) != 0)
            ++failedClasses;
    }
    std::printf("%d test classes run, %d failed\n", ran, failedClasses);
    if (ran == 0)
        return 1;
    return failedClasses == 0 ? 0 : 1;
}
