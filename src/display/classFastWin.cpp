#include "display/classFastWin.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "display/BlockMapping.h"
#include "display/TileDrawing.h"
#include "imagefiles/ByteWriter.h"
#include "imagefiles/modPalettes.h"

namespace {

// Each new pixel memory gets its own non-zero bitmap id.
int32_t NextBitmapId() {
    static int32_t lastId = 0;
    lastId = lastId == std::numeric_limits<int32_t>::max() ? 1 : lastId + 1;
    return lastId;
}

}  // namespace

std::array<uint8_t, classFastWin::BitmapDescription::kSize> classFastWin::BitmapDescription::Bytes() const {
    imagefiles::ByteWriter out(kSize);
    out.U32(static_cast<uint32_t>(kHeaderSize));
    out.I32(Width);
    out.I32(Height);
    out.U16(Planes);
    out.U16(BitCount);
    out.U32(Compression);
    out.U32(SizeImage);
    out.I32(XPelsPerMeter);
    out.I32(YPelsPerMeter);
    out.U32(ColoursUsed);
    out.U32(ColoursImportant);
    for (const PaletteEntry& colour : Colours) {
        out.U8(colour.Blue);
        out.U8(colour.Green);
        out.U8(colour.Red);
        out.U8(colour.Reserved);
    }
    std::array<uint8_t, kSize> bytes{};
    std::copy(out.Data().begin(), out.Data().end(), bytes.begin());
    return bytes;
}

bool classFastWin::Initialize(int32_t Width, int32_t Height, PictureBoxPort* ActiveWindow) {
    const int64_t rows = std::llabs(static_cast<int64_t>(Height));

    const Palette& game = modPalettes::GamePalette;
    description_ = BitmapDescription{};
    description_.Width = Width;
    // Always stored top row first, which the header says with a negative height.
    description_.Height = static_cast<int32_t>(static_cast<uint32_t>(-rows));
    description_.Colours = game;
    logicalPalette_ = LogicalPalette{};
    for (std::size_t i = 0; i < game.size(); ++i) {
        logicalPalette_.Entries[i] = {game[i].Red, game[i].Green, game[i].Blue, LogicalPalette::kNoCollapse};
    }

    pixels_.clear();
    pixels_.shrink_to_fit();
    hBitmap_ = 0;
    if (Width >= 1 && Width <= kMaxSide && rows >= 1 && rows <= kMaxSide) {
        pixels_.assign(static_cast<std::size_t>(Width) * static_cast<std::size_t>(rows), 0);
        hBitmap_ = NextBitmapId();
    }

    BmpWidth_ = Width;
    BmpHeight_ = Height;
    hWindow_ = ActiveWindow;
    return !pixels_.empty();
}

int64_t classFastWin::Rows() const { return pixels_.empty() ? 0 : std::llabs(static_cast<int64_t>(BmpHeight_)); }

IndexedBlock classFastWin::AsBlock() const {
    IndexedBlock block;
    block.Pixels = pixels_;
    block.Width = pixels_.empty() ? 0 : BmpWidth_;
    block.Height = static_cast<int32_t>(Rows());
    block.Stride = block.Width;
    block.Colours = &description_.Colours;
    return block;
}

void classFastWin::Show(PictureBoxPort& ScreenDC, int32_t DestLeft, int32_t DestTop, int32_t DestWidth,
                        int32_t DestHeight, int32_t SrcLeft, int32_t SrcTop, int32_t SrcWidth, int32_t SrcHeight,
                        bool StretchFlag) const {
    if (hWindow_ == nullptr || pixels_.empty()) {
        return;
    }
    const PixelRect source{SrcLeft, SrcTop, StretchFlag ? SrcWidth : DestWidth, StretchFlag ? SrcHeight : DestHeight};
    const PixelRect dest{DestLeft, DestTop, DestWidth, DestHeight};
    ScreenDC.DrawIndexed(AsBlock(), source, dest, StretchFlag);
}

void classFastWin::Blt(const PictureBoxPort& ScreenDC, int32_t DestLeft, int32_t DestTop, int32_t DestWidth,
                       int32_t DestHeight, int32_t SrcLeft, int32_t SrcTop, int32_t SrcWidth, int32_t SrcHeight,
                       bool StretchFlag) {
    if (hWindow_ == nullptr || pixels_.empty()) {
        return;
    }
    const PixelRect source{SrcLeft, SrcTop, SrcWidth, SrcHeight};
    const PixelRect dest{DestLeft, DestTop, DestWidth, DestHeight};
    const BlockMapping::VisibleSteps steps = BlockMapping::ClipToCanvas(source, dest, StretchFlag, BmpWidth_, Rows());
    if (steps.Empty()) {
        return;
    }

    // Source coordinates grow with the steps, so the first and last visible steps bound the
    // screen area the capture needs. It is read in one piece when that area is not much larger
    // than what is written (a strong reduction would read far more than it keeps), otherwise
    // pixel by pixel.
    const int64_t left = steps.SourceX(steps.FirstColumn);
    const int64_t right = steps.SourceX(steps.EndColumn - 1);
    const int64_t top = steps.SourceY(steps.FirstRow);
    const int64_t bottom = steps.SourceY(steps.EndRow - 1);
    const int64_t areaWidth = right - left + 1;
    const int64_t areaHeight = bottom - top + 1;
    const int64_t written = (steps.EndColumn - steps.FirstColumn) * (steps.EndRow - steps.FirstRow);
    constexpr int64_t int32Min = std::numeric_limits<int32_t>::min();
    constexpr int64_t int32Max = std::numeric_limits<int32_t>::max();
    const bool areaAddressable = left >= int32Min && top >= int32Min && right <= int32Max && bottom <= int32Max;
    // Each side is at most the source (or destination) rectangle's, so the product fits.
    const bool readAtOnce = areaAddressable && areaWidth * areaHeight <= 4 * written + 4096;
    std::vector<uint32_t> area;
    if (readAtOnce) {
        area = ScreenDC.ReadColours({static_cast<int32_t>(left), static_cast<int32_t>(top),
                                     static_cast<int32_t>(areaWidth), static_cast<int32_t>(areaHeight)});
    }
    const auto colourAt = [&](int64_t x, int64_t y) -> uint32_t {
        if (readAtOnce) {
            const int64_t offset = (y - top) * areaWidth + (x - left);
            return offset < static_cast<int64_t>(area.size()) ? area[static_cast<std::size_t>(offset)] : 0;
        }
        if (x < int32Min || x > int32Max || y < int32Min || y > int32Max) {
            return 0;  // no screen reaches so far: reads as black, as the port's own outside does
        }
        const std::vector<uint32_t> one =
            ScreenDC.ReadColours({static_cast<int32_t>(x), static_cast<int32_t>(y), 1, 1});
        return one.empty() ? 0 : one.front();
    };

    const modPalettes::NearestColourSearch nearest(modPalettes::GamePalette);
    for (int64_t row = steps.FirstRow; row < steps.EndRow; ++row) {
        const int64_t sourceY = steps.SourceY(row);
        // Indices, not a row pointer: with DestLeft far off the surface a row pointer would point
        // outside the pixel memory before the visible columns bring it back.
        const int64_t rowStart = (DestTop + row) * static_cast<int64_t>(BmpWidth_) + DestLeft;
        for (int64_t column = steps.FirstColumn; column < steps.EndColumn; ++column) {
            const uint32_t colour = colourAt(steps.SourceX(column), sourceY);
            pixels_[static_cast<std::size_t>(rowStart + column)] =
                nearest.Nearest(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                                static_cast<int>(colour & 0xFF));
        }
    }
}

bool classFastWin::TileDraw(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, std::span<const uint8_t> Buffer,
                            int32_t TilePosition) {
    if (TilePosition < 0 || static_cast<std::size_t>(TilePosition) >= Buffer.size()) {
        return false;
    }
    TileDrawing::WriteTile(xPos, yPos, Width, Height, BmpWidth_, BmpHeight_, pixels_,
                           Buffer.subspan(static_cast<std::size_t>(TilePosition)));
    return true;
}

void classFastWin::LineDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t Color) {
    TileDrawing::DrawLine(x1, y1, x2, y2, Color, BmpWidth_, BmpHeight_, pixels_);
}

void classFastWin::PixelDraw(int32_t x, int32_t y, uint8_t Color) {
    // A coordinate off the surface would land on another row (or outside the memory) through
    // the offset alone, so both are tested here; the offset is 64-bit and cannot overflow.
    if (x < 0 || x >= BmpWidth_ || y < 0 || y >= Rows()) {
        return;
    }
    TileDrawing::WritePixel(pixels_, static_cast<int64_t>(y) * BmpWidth_ + x, Color);
}

bool classFastWin::ClearTileDraw(int32_t x, int32_t y, int32_t Width, int32_t Height, std::span<const uint8_t> Buffer,
                                 uint8_t MaskColor, uint8_t BackColor, int32_t ClearFlag) {
    if (Buffer.empty()) {
        return false;
    }
    TileDrawing::ClearTile(x, y, Width, Height, BmpWidth_, BmpHeight_, pixels_, Buffer, MaskColor, BackColor,
                           ClearFlag);
    return true;
}

bool classFastWin::MaskTileDraw(int32_t x, int32_t y, int32_t Width, int32_t Height, std::span<const uint8_t> Buffer,
                                uint8_t MaskColor, uint8_t ReplaceColor) {
    if (Buffer.empty()) {
        return false;
    }
    TileDrawing::MaskTile(x, y, Width, Height, BmpWidth_, BmpHeight_, pixels_, Buffer, MaskColor, ReplaceColor);
    return true;
}

bool classFastWin::GrabRegion(int32_t x, int32_t y, int32_t Width, int32_t Height, std::span<uint8_t> Buffer) const {
    if (Buffer.empty()) {
        return false;
    }
    TileDrawing::GetRegion(x, y, Width, Height, BmpWidth_, BmpHeight_, pixels_, Buffer);
    return true;
}
