#pragma once
// The program's own pictures, drawn in code with the 16 classic VGA colours: the window icon,
// the decorative icon of the About and Operations pages, and the two small button pictures.

#include <QIcon>
#include <QImage>

namespace AppArt {

// A bevelled build-menu button with an orbit around a planet, side x side pixels.
QImage OrbitIcon(int side);

QIcon WindowIcon();           // 16 x 16, and larger sizes for desktops that want them
QImage DecorativeIcon();      // 32 x 32
QImage DiagonalCross();       // 16 x 16: a small black diagonal cross
QImage OverlappingSquares();  // 16 x 16: two overlapping framed squares

}  // namespace AppArt
