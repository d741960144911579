#include "testregistry.h"

#include <QString>

namespace testsupport {

std::vector<RegisteredTest> &registeredTests()
{
    static std::vector<RegisteredTest> tests;
    return tests;
}

QString testDataDir()
{
    const QByteArray elsewhere = qgetenv("QUILLON_TESTDATA_DIR");
    if (!elsewhere.isEmpty())
        return QString::fromLocal8Bit(elsewhere);
    return QStringLiteral(QUILLON_TESTDATA_DIR);
}

} // namespace testsupport
