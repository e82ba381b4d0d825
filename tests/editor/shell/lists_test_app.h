// The one QApplication that GUI tests of the lists, report and help need.
// GoogleTest's own main runs the tests, so the application is made on first
// use and lives until the process ends.
#pragma once

#include <QApplication>
#include <QString>
#include <gtest/gtest.h>
#include <ostream>

namespace tessvane::testing {

inline QApplication& TestApplication() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    static int argc = 1;
    static char name[] = "tessvane-test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
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
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE
