#pragma once

#include <QObject>
#include <functional>
#include <vector>

// Test classes of one subsystem register themselves here, so that one
// executable per subsystem runs them all without a hand-kept list.
namespace testsupport {

struct RegisteredTest {
    const char *name;
    std::function<QObject *()> create;
};

std::vector<RegisteredTest> &registeredTests();

struct TestRegistrar {
    TestRegistrar(const char *name, std::function<QObject *()> create)
    {
        registeredTests().push_back({name, std::move(create)});
    }
};

// Folder of the real recordings kept with the tests (read-only): tests/data/recordings,
// or the folder QUILLON_TESTDATA_DIR names in the environment.
QString testDataDir();

} // namespace testsupport

#define QUILLON_TEST(Class)                                                                                            \
    static testsupport::TestRegistrar quillonTestRegistrar_##Class(#Class, []() -> QObject * { return new Class; });
