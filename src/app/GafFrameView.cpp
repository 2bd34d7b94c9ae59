#include "app/GafFrameView.h"

#include <QPaintEvent>
#include <QPainter>

#include <cstring>

#include "app/QtColourTable.h"
#include "gaf/GafExtraction.h"
#include "imagefiles/modPalettes.h"

namespace {

// Two squares each way, so that the brush repeats it from the view's corner.
QImage CheckerTile() {
    QImage tile(2 * GafFrameView::kCheckerSquare, 2 * GafFrameView::kCheckerSquare, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) tile.setPixel(x, y, GafFrameView::CheckerColour(x, y));
    }
    return tile;
}

}  // namespace

GafFrameView::GafFrameView(int scale, QWidget* parent) : QWidget(parent), scale_(scale) { setFixedSize(0, 0); }

void GafFrameView::ShowFrame(const gaf::DecodedFrame* frame) {
    if (frame == nullptr || frame->Width == 0 || frame->Height == 0) {
        frame_ = QImage();
        setFixedSize(0, 0);
        update();
        return;
    }
    QImage image(frame->Width, frame->Height, QImage::Format_Indexed8);
    QList<QRgb> colours = QtColourTable(modPalettes::GamePalette);
    if (const auto empty = gaf::PngTransparentIndex(*frame)) colours[*empty] = qRgba(0, 0, 0, 0);
    image.setColorTable(colours);
    for (int y = 0; y < frame->Height; ++y) {
        std::memcpy(image.scanLine(y), frame->Pixels.data() + static_cast<std::size_t>(y) * frame->Width, frame->Width);
    }
    frame_ = image;
    setFixedSize(frame->Width * scale_, frame->Height * scale_);
    update();
}

void GafFrameView::paintEvent(QPaintEvent* event) {
    if (frame_.isNull()) return;
    static const QBrush checker(CheckerTile());
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.fillRect(rect(), checker);
    // Without smoothing a whole-number scale repeats pixels and never blends them.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), frame_);
}
