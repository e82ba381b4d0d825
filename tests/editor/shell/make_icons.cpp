// Writes the program's icon files into the folder given as the only argument:
//   tessvane_make_icons editor/shell/icons
// (hicolor/<N>x<N>/apps/tessvane.png for every size, and the scalable SVG).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "program_icon.h"

namespace {

bool MakeParent(const QString& file) {
    return QDir().mkpath(QFileInfo(file).absolutePath());
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    // Painting text-free images needs no display, but Qt wants an application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const int size : tessvane::kProgramIconSizes) {
        const QString path = folder.filePath(tessvane::ProgramIconPngPath(size));
        if (!MakeParent(path) || !tessvane::DrawProgramIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    const QString svg = folder.filePath(tessvane::ProgramIconSvgPath());
    QFile file(svg);
    if (!MakeParent(svg) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(tessvane::ProgramIconSvg()) < 0 || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg));
        return 1;
    }
    std::printf("%s\n", qPrintable(svg));
    return 0;
}
