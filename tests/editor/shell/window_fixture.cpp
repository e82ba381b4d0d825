#include "window_fixture.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdlib>

#include "lists_test_dialogs.h"

namespace tessvane::testing {

QApplication& WindowTestApplication() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
    // Qt writes caches under the home directory: keep it out of the real one.
    static std::string home = [] {
        std::string pattern = "/tmp/tessvane-window-test-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        return std::string(made != nullptr ? made : "/tmp");
    }();
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tessvane-window-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

WindowTest::WindowTest() {
    WindowTestApplication();
    context.editor = MakeEditorContext(dir.Dir());
    context.ui = &dialogs;
}

WindowTest::~WindowTest() {
    window.reset();
    QApplication::processEvents();
}

void WindowTest::Start() {
    window = std::make_unique<TVANEForm>(context, dialogs);
    window->show();
    // FormShow comes from the event loop, once the window is up.
    QApplication::processEvents();
}

QString WindowTest::Text(const char* name) {
    if (auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(name))) return edit->text();
    if (auto* button = window->findChild<QAbstractButton*>(QString::fromLatin1(name)))
        return button->text();
    if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(name))) return label->text();
    ADD_FAILURE() << "no text control named " << name;
    return {};
}

void WindowTest::ShowPage(Page page) {
    Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(TabIndex(page));
}

void WindowTest::Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    ASSERT_NE(button, nullptr);
    // Check boxes and radio buttons answer only on their indicator and caption.
    const bool indicator = qobject_cast<QCheckBox*>(button) != nullptr ||
                           qobject_cast<QRadioButton*>(button) != nullptr;
    const QPoint at = indicator ? QPoint(6, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
}

void WindowTest::TypeOnly(const char* name, const std::string& text) {
    auto* edit = Find<QLineEdit>(name);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    TypeCharacters(edit, QString::fromStdString(text));
}

void WindowTest::TypeEnter(const char* name, const std::string& text) {
    TypeOnly(name, text);
    if (auto* edit = Find<QLineEdit>(name)) QTest::keyClick(edit, Qt::Key_Return);
}

void WindowTest::Load(const std::string& path) {
    dialogs.PlanOpenFile(path);
    Click("Loadbutton");
}

std::string WindowTest::MakeFile(const std::string& name, const Bytes& bytes) {
    const std::string path = dir.File(name);
    WriteFileBytes(path, bytes);
    return path;
}

}  // namespace tessvane::testing
