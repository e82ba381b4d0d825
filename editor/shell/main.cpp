// Tessvane: the editor for the paths inside Imagine object and project files.
#include <QApplication>
#include <QFile>
#include <QScreen>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "VANEMain.h"
#include "core/core_context.h"
#include "help_window.h"
#include "program_icon.h"
#include "qt_dialog_service.h"
#include "state/program_directory.h"
#include "window_command_line.h"

namespace {

std::vector<std::string> Arguments(int argc, char* argv[]) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

}  // namespace

int main(int argc, char* argv[]) {
    using tessvane::WindowCommand;
    // --help and --version answer before Qt looks for a display.
    const tessvane::WindowCommandLine early =
        tessvane::ParseWindowCommandLine(Arguments(argc, argv));
    if (early.command == WindowCommand::Help) {
        const QString help =
            tessvane::HelpWindow::Describe(tessvane::HelpWindow::DefaultDocument());
        std::fputs(tessvane::WindowHelpText(QFile::encodeName(help).toStdString()).c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (early.command == WindowCommand::Version) {
        std::fputs(tessvane::WindowVersionText().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    QApplication app(argc, argv);
    // QApplication has taken its own options out of argv.
    const tessvane::WindowCommandLine line =
        tessvane::ParseWindowCommandLine(Arguments(argc, argv));
    if (line.command == WindowCommand::Usage) {
        std::fprintf(stderr, "Tessvane: %s\nTry 'Tessvane --help'.\n", line.message.c_str());
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Tessvane"));
    // Before the first window: "Unable to load settings." may come up while
    // the main window is still being made.
    QApplication::setWindowIcon(tessvane::ProgramIcon());

    tessvane::CoreContext context;
    context.editor = tessvane::MakeEditorContext(tessvane::ProgramDirectory());
    tessvane::QtDialogService dialogs;
    context.ui = &dialogs;

    tessvane::TVANEForm window(context, dialogs);
    dialogs.SetParent(&window);
    dialogs.SetEditor(&context.editor);
    dialogs.SetHelpHandler([&window](int helpContext) { window.ShowHelpContext(helpContext); });
    if (!line.file.empty()) {
        std::error_code ec;
        const std::filesystem::path file = std::filesystem::absolute(line.file, ec);
        window.OpenFile(ec ? line.file : file.string());
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return QApplication::exec();
}
