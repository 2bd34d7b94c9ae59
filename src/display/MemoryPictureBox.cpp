#include "display/MemoryPictureBox.h"

#include <algorithm>
#include <cstddef>

#include "display/BlockMapping.h"

MemoryPictureBox::MemoryPictureBox(int32_t Width, int32_t Height, uint32_t Background)
    : width_(std::max<int32_t>(Width, 0)),
      height_(std::max<int32_t>(Height, 0)),
      canvas_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), Background) {}

void MemoryPictureBox::DrawIndexed(const IndexedBlock& block, PixelRect Source, PixelRect Dest, bool Stretch) {
    if (block.Colours == nullptr) {
        return;  // indices mean nothing without their colour table
    }
    const Palette& colours = *block.Colours;
    BlockMapping::ForEachDrawnCanvasPixel(
        block, Source, Dest, Stretch, width_, height_, [&](int32_t x, int32_t y, uint8_t index) {
            canvas_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] =
                BlockMapping::ColourOf(colours[index]);
        });
}

std::vector<uint32_t> MemoryPictureBox::ReadColours(PixelRect Area) const {
    if (Area.Width <= 0 || Area.Height <= 0) {
        return {};
    }
    std::vector<uint32_t> colours;
    colours.reserve(static_cast<std::size_t>(Area.Width) * static_cast<std::size_t>(Area.Height));
    for (int64_t row = 0; row < Area.Height; ++row) {
        for (int64_t column = 0; column < Area.Width; ++column) {
            const int64_t x = Area.Left + column;
            const int64_t y = Area.Top + row;
            const bool inside = x >= 0 && x < width_ && y >= 0 && y < height_;
            colours.push_back(inside ? canvas_[static_cast<std::size_t>(y * width_ + x)] : 0);
        }
    }
    return colours;
}

uint32_t MemoryPictureBox::ColourAt(int32_t x, int32_t y) const {
    if (x < 0 || x >= width_ || y < 0 || y >= height_) {
        return 0;
    }
    return canvas_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void MemoryPictureBox::Fill(uint32_t Colour) { std::fill(canvas_.begin(), canvas_.end(), Colour); }
