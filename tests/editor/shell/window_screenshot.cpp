// Draws the window with a sample file loaded into a PNG, for the README:
//   xvfb-run tessvane_window_screenshot examples/spaceship.iob docs/tessvane-window.png [PAGE]
// PAGE is the notebook page in front, 0 to 5 (default 1, Details), or "about"
// for the about box, "chooser" for the directory chooser at the file's
// directory, "dirdialog" or "texdialog" for the two list dialogs, or
// "batchfiles" for the Batch page with two files chosen, "volumes" for the
// Volumes dialog, "missing" for the Details page after Find Missing Files
// (with C: mapped to a scratch drive that holds some of the file's paths),
// "help" for the
// window with the help window beside it (the whole screen is grabbed, so run
// it under a window manager on a screen wide enough for both), or "print" to
// print the path list into PNG-FILE as a PDF.
#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "About.h"
#include "DirUnit.h"
#include "DirUnit2.h"
#include "TexForm.h"
#include "VANEMain.h"
#include "help_window.h"
#include "scripted_dialog_service.h"
#include "volumes_dialog.h"

namespace {

// The print dialog answered with a PDF file.
class PdfDialogs final : public tessvane::testing::ScriptedDialogService {
  public:
    QString pdf;
    bool SetupPrinter(QPrinter& printer) override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s OBJECT-FILE PNG-FILE [PAGE]\n", argv[0]);
        return 2;
    }
    const std::string object = std::filesystem::absolute(argv[1]).string();
    const std::string png = argv[2];
    QApplication app(argc, argv);
    if (argc == 4 && std::string(argv[3]) == "chooser") {
        tessvane::TDirectorySelect chooser;
        chooser.SetDirectory(
            QString::fromStdString(std::filesystem::path(object).parent_path().string()));
        chooser.show();
        QApplication::processEvents();
        return chooser.grab().save(QString::fromStdString(png)) ? 0 : 1;
    }
    if (argc == 4 && std::string(argv[3]) == "about") {
        tessvane::TAboutBox about;
        about.show();
        QApplication::processEvents();
        return about.grab().save(QString::fromStdString(png)) ? 0 : 1;
    }
    if (argc == 4 && std::string(argv[3]) == "dirdialog") {
        tessvane::TDefDirSelect dialog;
        dialog.SetFields("C:\\IMAGINE\\TEXTURES", "D:\\ART\\TEXTURES");
        dialog.show();
        QApplication::processEvents();
        return dialog.grab().save(QString::fromStdString(png)) ? 0 : 1;
    }
    if (argc == 4 && std::string(argv[3]) == "texdialog") {
        tessvane::TDefTextureForm dialog;
        dialog.SetFields("WOOD.ITX", "oak.itx", "Oak, dark grain");
        dialog.show();
        QApplication::processEvents();
        return dialog.grab().save(QString::fromStdString(png)) ? 0 : 1;
    }
    if (argc == 4 && std::string(argv[3]) == "volumes") {
        tessvane::VolumesDialogServices services;
        services.chooseDirectory = [](const std::string&) { return std::nullopt; };
        services.detect = [] { return std::vector<tessvane::DetectedVolume>(); };
        services.warn = [](const std::string&) {};
        tessvane::TVolumesForm dialog({{"C:", "/home/ann/.wine/drive_c"},
                                       {"D:", "/home/ann/dos/d"},
                                       {"DH0:", "/home/ann/Amiga/System"},
                                       {"Work:", "/home/ann/Amiga/Work"}},
                                      tessvane::CharacterSet::Iso8859_1, services);
        dialog.show();
        QApplication::processEvents();
        return dialog.grab().save(QString::fromStdString(png)) ? 0 : 1;
    }
    const std::string mode = argc == 4 ? argv[3] : "";
    const bool batch_files = mode == "batchfiles";

    // A scratch program directory, so no settings file of the user is read.
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / "tessvane-screenshot";
    std::filesystem::create_directories(scratch);
    std::string ini = "[VANE]\r\nImagine Directory=C:\\IMAGINE\r\nLoad Directory=" +
                      std::filesystem::path(object).parent_path().string() + "/\r\n";
    if (mode == "missing") {
        // Drive C: holds some of the files the sample names.
        for (const char* name : {"c/imagine/textures/rust.itx", "c/imagine/textures/glow.itx",
                                 "c/imagine/brushes/hull.iff"}) {
            std::filesystem::create_directories((scratch / name).parent_path());
            std::FILE* made = std::fopen((scratch / name).c_str(), "wb");
            if (made != nullptr) std::fclose(made);
        }
        ini += "[Volumes]\r\nC:," + (scratch / "c").string() + "\r\n";
    }
    std::FILE* f = std::fopen((scratch / "Tessvane.ini").c_str(), "wb");
    if (f != nullptr) {
        std::fwrite(ini.data(), 1, ini.size(), f);
        std::fclose(f);
    }

    tessvane::CoreContext context;
    context.editor = tessvane::MakeEditorContext(scratch.string() + "/");
    PdfDialogs dialogs;
    dialogs.pdf = QString::fromStdString(png);
    context.ui = &dialogs;
    tessvane::TVANEForm window(context, dialogs);
    if (mode == "help") window.move(40, 40);
    window.show();
    QApplication::processEvents();

    dialogs.PlanOpenFile(object);
    window.findChild<QPushButton*>("Loadbutton")->click();
    auto* tabs = window.findChild<QTabWidget*>("TabbedNotebook1");
    if (batch_files) {
        dialogs.PlanOpenFiles({object, object});
        window.findChild<QPushButton*>("SelectFilesButton")->click();
        tabs->setCurrentIndex(5);
    } else {
        tabs->setCurrentIndex(mode.empty() || mode == "help" || mode == "print" || mode == "missing"
                                  ? tessvane::TabIndex(tessvane::Page::Details)
                                  : std::atoi(argv[3]));
    }
    window.findChild<QTableWidget*>("PathDetailList")->selectRow(1);
    if (mode == "missing") window.findChild<QAction*>("FindMissingFiles1")->trigger();
    QApplication::processEvents();
    if (mode == "print") {
        window.findChild<QPushButton*>("PrintButton")->click();
        std::filesystem::remove_all(scratch);
        return std::filesystem::exists(png) ? 0 : 1;
    }
    if (mode == "help") {
        window.findChild<QPushButton*>("HelpButton")->click();
        // Let the window manager place and draw both windows.
        for (int i = 0; i < 40; ++i) {
            QApplication::processEvents();
            QThread::msleep(25);
        }
        const QRect both = window.frameGeometry().united(window.Help()->frameGeometry());
        const QPixmap screen = window.screen()->grabWindow(0);
        std::filesystem::remove_all(scratch);
        return screen.copy(both.adjusted(-8, -8, 8, 8)).save(QString::fromStdString(png)) ? 0 : 1;
    }

    std::filesystem::remove_all(scratch);
    if (!window.grab().save(QString::fromStdString(png))) {
        std::fprintf(stderr, "cannot write %s\n", png.c_str());
        return 1;
    }
    return 0;
}
