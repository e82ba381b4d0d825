// Tessvane: the editor for the paths inside Imagine object and project files.
#include <QApplication>
#include <QScreen>

#include "VANEMain.h"
#include "core/core_context.h"
#include "program_icon.h"
#include "qt_dialog_service.h"
#include "state/program_directory.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
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
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return QApplication::exec();
}
