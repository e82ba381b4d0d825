#pragma once

#include <QImage>

namespace tessvane {

// Draws the about box's picture: a weather vane over a floor of tiles, the
// program's name in the sky. Painted in code so the program carries no image
// files; the same size always gives the same pixels.
QImage DrawAboutPicture(int width, int height);

}  // namespace tessvane
