#include "app/QtPictureBox.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/QtColourTable.h"
#include "display/BlockMapping.h"

QtPictureBox::QtPictureBox(bool withBorder, QWidget* parent)
    : QFrame(parent), background_(palette().color(QPalette::Button)) {
    SetBorder(withBorder);
}

void QtPictureBox::SetBorder(bool on) {
    setFrameStyle(on ? (QFrame::WinPanel | QFrame::Sunken) : QFrame::NoFrame);
    FitCanvas();
    update();
}

bool QtPictureBox::HasBorder() const { return frameShape() != QFrame::NoFrame; }

double QtPictureBox::InnerWidth() const { return contentsRect().width(); }
double QtPictureBox::InnerHeight() const { return contentsRect().height(); }

void QtPictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    FitCanvas();
}

void QtPictureBox::FitCanvas() {
    const QSize inner = contentsRect().size().expandedTo(QSize(0, 0));
    if (canvas_.size() == inner) return;
    QImage fitted(inner, QImage::Format_RGB32);
    fitted.fill(background_);
    if (!canvas_.isNull()) {
        QPainter painter(&fitted);
        painter.drawImage(0, 0, canvas_);
    }
    canvas_ = fitted;
}

void QtPictureBox::DrawIndexed(const IndexedBlock& block, PixelRect Source, PixelRect Dest, bool Stretch) {
    FitCanvas();
    if (block.Colours == nullptr) return;
    const BlockMapping::VisibleSteps visible =
        BlockMapping::ClipToCanvas(Source, Dest, Stretch, canvas_.width(), canvas_.height());
    if (visible.Empty()) return;
    const int left = static_cast<int>(Dest.Left + visible.FirstColumn);
    const int top = static_cast<int>(Dest.Top + visible.FirstRow);
    const int width = static_cast<int>(visible.EndColumn - visible.FirstColumn);
    const int height = static_cast<int>(visible.EndRow - visible.FirstRow);

    // The visible part is gathered as an 8-bit block (the same pixel mapping as every other
    // picture box) and put onto the canvas with one drawImage. Canvas pixels with no source
    // pixel keep what they had.
    QImage tile(width, height, QImage::Format_Indexed8);
    tile.setColorTable(QtColourTable(*block.Colours));
    tile.fill(0);
    std::vector<bool> covered(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), false);
    BlockMapping::ForEachDrawnCanvasPixel(
        block, Source, Dest, Stretch, canvas_.width(), canvas_.height(), [&](int32_t x, int32_t y, uint8_t index) {
            tile.scanLine(y - top)[x - left] = index;
            covered[static_cast<std::size_t>(y - top) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x - left)] = true;
        });
    QPainter painter(&canvas_);
    if (std::all_of(covered.begin(), covered.end(), [](bool c) { return c; })) {
        painter.drawImage(left, top, tile);
        return;
    }
    QImage partial = tile.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]) {
                partial.setPixel(x, y, 0);  // transparent: the canvas keeps this pixel
            }
        }
    }
    painter.drawImage(left, top, partial);
}

std::vector<uint32_t> QtPictureBox::ReadColours(PixelRect Area) const {
    std::vector<uint32_t> colours;
    if (Area.Width <= 0 || Area.Height <= 0) return colours;
    colours.reserve(static_cast<std::size_t>(Area.Width) * static_cast<std::size_t>(Area.Height));
    for (int64_t row = 0; row < Area.Height; ++row) {
        for (int64_t column = 0; column < Area.Width; ++column) {
            const int64_t x = Area.Left + column;
            const int64_t y = Area.Top + row;
            const bool inside = x >= 0 && y >= 0 && x < canvas_.width() && y < canvas_.height();
            colours.push_back(inside ? (canvas_.pixel(static_cast<int>(x), static_cast<int>(y)) & 0xFFFFFFu) : 0u);
        }
    }
    return colours;
}

void QtPictureBox::Refresh() { update(); }

void QtPictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), canvas_);
}
