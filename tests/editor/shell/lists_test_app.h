// The one QApplication that GUI tests of the lists, report and help need.
// GoogleTest's own main runs the tests, so the application is made on first
// use and lives until the process ends.
//
// Before it is made, HOME and the XDG directories are pointed into a fresh
// temporary directory of this process (font caches and Qt's own files land
// there, never in the real home), and the offscreen platform is chosen unless
// the caller chose another.
#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QString>
#include <cstdlib>
#include <ostream>
#include <string>

namespace tessvane::testing {

inline QApplication& TestApplication() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    static std::string home = [] {
        std::string pattern = "/tmp/tessvane-shell-test-XXXXXX";
        const char* made = mkdtemp(pattern.data());
        return std::string(made ? made : "/tmp");
    }();
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tessvane-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down during static destruction, after
    // GoogleTest has finished, races with Qt's own globals.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Fixture base for tests whose members are widgets: the application must
// exist before the first widget is built.
class QtTest : public ::testing::Test {
  protected:
    QtTest() { TestApplication(); }
};

}  // namespace tessvane::testing

// Readable QString values in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
