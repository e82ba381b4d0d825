// The program's icon: the weather vane of the about picture over its floor of
// tiles, on a rounded square of evening sky.
//
// The icon is drawn in code, once as pixels for every size the desktop asks
// for and once as an SVG document; `tessvane_make_icons` writes both under
// editor/shell/icons/hicolor/, and a test checks that the committed files are
// what this code draws. The window reads the committed PNG files from its
// resources, so the program shows exactly the icon that is installed.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <array>

namespace tessvane {

// The sizes of the hicolor PNG files, in pixels.
inline constexpr std::array<int, 8> kProgramIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon as a square image of `size` pixels with a transparent background.
// Small sizes are drawn with fewer tiles and heavier lines, so the vane stays
// readable at 16 pixels. The same size always gives the same pixels.
// Precondition: size > 0.
QImage DrawProgramIcon(int size);

// The icon as an SVG document (the detail of the largest PNG), in UTF-8.
QByteArray ProgramIconSvg();

// Where each file lies below the icon folder: "hicolor/16x16/apps/tessvane.png",
// and "hicolor/scalable/apps/tessvane.svg" for the SVG.
QString ProgramIconPngPath(int size);
QString ProgramIconSvgPath();

// The committed icon files as one QIcon, for the windows of the program.
QIcon ProgramIcon();

}  // namespace tessvane
