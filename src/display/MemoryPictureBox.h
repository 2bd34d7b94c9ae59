#pragma once
// A picture box in plain memory: a persistent canvas of 0xRRGGBB colours that the display
// surface draws into exactly as into a window's picture box. Used where there is no window
// (the tests) and as the reference the window's picture box must paint alike.

#include <cstdint>
#include <vector>

#include "display/PictureBoxPort.h"

class MemoryPictureBox final : public PictureBoxPort {
public:
    // The light grey of an empty picture box.
    static constexpr uint32_t kDefaultBackground = 0xC0C0C0;

    // A canvas of Width x Height pixels (negative sizes count as 0), all of Background.
    MemoryPictureBox(int32_t Width, int32_t Height, uint32_t Background = kDefaultBackground);

    double InnerWidth() const override { return width_; }
    double InnerHeight() const override { return height_; }
    void DrawIndexed(const IndexedBlock& block, PixelRect Source, PixelRect Dest, bool Stretch) override;
    std::vector<uint32_t> ReadColours(PixelRect Area) const override;
    void Refresh() override { ++refreshCount_; }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // The colour at (x, y); black outside the canvas, as ReadColours reads it.
    uint32_t ColourAt(int32_t x, int32_t y) const;
    // Sets every canvas pixel to Colour.
    void Fill(uint32_t Colour);
    // The whole canvas, row by row from the top.
    const std::vector<uint32_t>& Canvas() const { return canvas_; }
    // How often Refresh was asked for.
    int RefreshCount() const { return refreshCount_; }

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint32_t> canvas_;
    int refreshCount_ = 0;
};
