#include "app/AppArt.h"

#include <QPainter>

namespace AppArt {

namespace {

// The classic 16-colour palette's entries used here.
const QColor kBlack(0, 0, 0);
const QColor kNavy(0, 0, 128);
const QColor kMaroon(128, 0, 0);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);

QImage Blank(int side) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

}  // namespace

QImage OrbitIcon(int side) {
    QImage image = Blank(side);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int bevel = side >= 32 ? 2 : 1;
    const int last = side - 1;

    // The raised button: light top and left edges, dark bottom and right edges, grey face.
    p.fillRect(0, 0, side, side, kSilver);
    for (int i = 0; i < bevel; ++i) {
        p.setPen(kWhite);
        p.drawLine(i, i, last - i, i);
        p.drawLine(i, i, i, last - i);
        p.setPen(i == 0 ? kBlack : kGrey);
        p.drawLine(i, last - i, last - i, last - i);
        p.drawLine(last - i, i, last - i, last - i);
    }

    // The orbit: a flat navy ellipse behind and in front of a red planet with a yellow moon.
    const double s = side / 32.0;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNavy, side >= 32 ? 2 : 1));
    p.drawEllipse(QRectF(4 * s, 11 * s, 24 * s, 10 * s));
    p.setPen(QPen(kMaroon, 1));
    p.setBrush(kRed);
    p.drawEllipse(QRectF(10 * s, 9 * s, 12 * s, 12 * s));
    p.setPen(QPen(kBlue, side >= 32 ? 2 : 1));
    p.drawArc(QRectF(4 * s, 11 * s, 24 * s, 10 * s), 180 * 16, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawRect(QRectF(23 * s, 19 * s, 3 * s, 3 * s));
    return image;
}

QIcon WindowIcon() {
    QIcon icon;
    for (int side : {16, 32, 48, 64}) icon.addPixmap(QPixmap::fromImage(OrbitIcon(side)));
    return icon;
}

QImage DecorativeIcon() { return OrbitIcon(32); }

QImage DiagonalCross() {
    QImage image = Blank(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(kBlack, 2, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(4, 4, 11, 11);
    p.drawLine(11, 4, 4, 11);
    return image;
}

QImage OverlappingSquares() {
    QImage image = Blank(16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kBlack);
    p.setBrush(kSilver);
    p.drawRect(1, 1, 9, 9);
    p.setBrush(kWhite);
    p.drawRect(5, 5, 9, 9);
    return image;
}

}  // namespace AppArt
