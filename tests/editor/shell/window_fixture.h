// What the window tests share: one QApplication for the process, a fresh
// program directory, context and scripted dialogs per test, and helpers that
// click and type into the real widgets by their control names.
#pragma once

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>

#include "VANEMain.h"
#include "core/core_context.h"
#include "iff_builder.h"
#include "scripted_dialog_service.h"

namespace tessvane::testing {

// The application is made once and never destroyed: tearing Qt down during
// static destruction races with its own globals.
QApplication& WindowTestApplication();

class WindowTest : public ::testing::Test {
  protected:
    WindowTest();
    ~WindowTest() override;

    // Builds and shows the window (FormCreate, then FormShow with the about box).
    void Start();

    template <typename T>
    T* Find(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) ADD_FAILURE() << "no control named " << name;
        return widget;
    }
    bool Enabled(const char* name) { return Find<QWidget>(name)->isEnabled(); }
    QString Text(const char* name);
    void Click(const char* name);
    // Replaces the field's text without pressing Enter.
    void TypeOnly(const char* name, const std::string& text);
    // Replaces the field's text and presses Enter in it.
    void TypeEnter(const char* name, const std::string& text);
    // Brings page to the front of the notebook.
    void ShowPage(Page page);
    // Load with the dialog answered by `path`.
    void Load(const std::string& path);
    // Writes `bytes` as a file of the test's directory and returns its path.
    std::string MakeFile(const std::string& name, const Bytes& bytes);

    TempDir dir;
    CoreContext context;
    ScriptedDialogService dialogs;
    std::unique_ptr<TVANEForm> window;
};

}  // namespace tessvane::testing
