#include "support/QtTestRunner.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace qm::test {

namespace {

struct Entry {
    std::string name;
    QtTestFactory make;
};

std::vector<Entry>& registry()
{
    static std::vector<Entry> entries;
    return entries;
}

} // namespace

int registerQtTest(const char* name, QtTestFactory make)
{
    registry().push_back({name, make});
    return static_cast<int>(registry().size());
}

int runQtTests(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    // No test reads or writes the user's settings: the whole run gets a
    // settings directory of its own (classes may still set their own).
    QStandardPaths::setTestModeEnabled(true);
    const TempDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settings.path().string()));

    std::vector<Entry> entries = registry();
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });

    // Leading arguments that name classes choose them; "--" hands the rest to QTest.
    std::vector<std::string> chosen;
    std::vector<char*> qtestArgs{argv[0]};
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        const bool known = std::any_of(entries.begin(), entries.end(), [&](const Entry& e) { return e.name == argv[i]; });
        if (!known) {
            std::fprintf(stderr, "unknown test class: %s\n", argv[i]);
            return 2;
        }
        chosen.emplace_back(argv[i]);
    }
    for (++i; i < argc; ++i)
        qtestArgs.push_back(argv[i]);

    int failed = 0;
    for (const Entry& e : entries) {
        if (!chosen.empty() && std::find(chosen.begin(), chosen.end(), e.name) == chosen.end())
            continue;
        const std::unique_ptr<QObject> test(e.make());
        if (QTest::qExec(test.get(), static_cast<int>(qtestArgs.size()), qtestArgs.data()) != 0)
            ++failed;
    }
    if (failed > 0)
        std::fprintf(stderr, "%d test class(es) failed\n", failed);
    return failed > 0 ? 1 : 0;
}

} // namespace qm::test

int main(int argc, char** argv) { return qm::test::runQtTests(argc, argv); }
