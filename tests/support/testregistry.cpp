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
#ifdef QUILLON_TESTDATA_DIR
    return QStringLiteral(QUILLON_TESTDATA_DIR);
#else
    return QString::fromLocal8Bit(qgetenv("QUILLON_TESTDATA_DIR"));
#endif
}

} // namespace testsupport
