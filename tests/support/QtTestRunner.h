#pragma once
// One QTest program per tests/ui folder: each test file registers its QObject
// test class with QM_QTEST(Class) instead of QTEST_MAIN, and the shared main
// of QtTestRunner.cpp runs every registered class through QTest::qExec.
//
//   program                  runs every class, in the order of their names
//   program Class [Class..]  runs only the classes named
//   program Class -- ARGS    passes ARGS (test functions, -v2, ...) to QTest
// The exit code is non-zero when any class failed.

#include <QObject>

namespace qm::test {

using QtTestFactory = QObject* (*)();

// Adds a test class to the program's registry; returns its number.
int registerQtTest(const char* name, QtTestFactory make);

int runQtTests(int argc, char** argv);

} // namespace qm::test

#define QM_QTEST(Class)                                                                                             \
    namespace {                                                                                                    \
    [[maybe_unused]] const int qmRegistered##Class = ::qm::test::registerQtTest(#Class, []() -> QObject* { return new Class; });   \
    }
