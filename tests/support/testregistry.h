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

// Folder of the real recordings shared by the project (read-only).
QString testDataDir();

} // namespace testsupport

#define QUILLON_TEST(Class)                                                                                            \
    static testsupport::TestRegistrar quillonTestRegistrar_##Class(#Class, []() -> QObject * { return new Class; });
