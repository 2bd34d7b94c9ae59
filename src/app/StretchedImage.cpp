#include "app/StretchedImage.h"

#include <QPainter>

StretchedImage::StretchedImage(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {}

void StretchedImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), picture_);
}
