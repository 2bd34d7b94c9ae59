#pragma once
// An off-screen 8-bit surface in the game palette: pixel memory of palette indices, drawn into
// with the tile-drawing functions and shown in a picture box in one block.
//
// States: created (no picture box, no pixel memory) and initialised (Initialize called; pixel
// memory present when it returned true). Every operation is safe in either state; without
// pixel memory or a picture box, drawing and showing do nothing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "display/PictureBoxPort.h"
#include "imagefiles/PaletteEntry.h"

class classFastWin {
public:
    // The largest width and height Initialize accepts.
    static constexpr int32_t kMaxSide = 16384;

    // The bitmap description: a 40-byte device-independent bitmap header followed by the
    // 256-entry colour table, as the window systems that take bitmaps in this form expect it.
    struct BitmapDescription {
        static constexpr std::size_t kHeaderSize = 40;
        static constexpr std::size_t kSize = kHeaderSize + 256 * 4;

        int32_t Width = 0;
        int32_t Height = 0;  // negative: rows are stored top row first
        uint16_t Planes = 1;
        uint16_t BitCount = 8;
        uint32_t Compression = 0;
        uint32_t SizeImage = 0;
        int32_t XPelsPerMeter = 0;
        int32_t YPelsPerMeter = 0;
        uint32_t ColoursUsed = 256;
        uint32_t ColoursImportant = 256;
        Palette Colours{};

        // The description as its 1,064 little-endian bytes.
        std::array<uint8_t, kSize> Bytes() const;
    };

    // The logical palette: each game colour with the no-collapse flag, so that on a palette
    // display every entry gets its own system palette slot.
    struct LogicalPalette {
        static constexpr uint8_t kNoCollapse = 4;
        struct Entry {
            uint8_t Red = 0;
            uint8_t Green = 0;
            uint8_t Blue = 0;
            uint8_t Flags = 0;
        };
        uint16_t Version = 0x300;
        uint16_t NumEntries = 256;
        std::array<Entry, 256> Entries{};
    };

    classFastWin() = default;
    classFastWin(const classFastWin&) = delete;
    classFastWin& operator=(const classFastWin&) = delete;

    // Non-zero while the surface has pixel memory; each allocation gets a new id.
    int32_t hBitmap() const { return hBitmap_; }
    // The first pixel byte (row 0, column 0); nullptr without pixel memory.
    uint8_t* addrBits() { return pixels_.empty() ? nullptr : pixels_.data(); }
    const uint8_t* addrBits() const { return pixels_.empty() ? nullptr : pixels_.data(); }
    int32_t BmpWidth() const { return BmpWidth_; }
    int32_t BmpHeight() const { return BmpHeight_; }
    // The picture box given to Initialize; nullptr until then.
    PictureBoxPort* hWindow() const { return hWindow_; }

    // The pixel memory, BmpWidth x |BmpHeight| bytes, top row first (empty without memory).
    std::span<const uint8_t> Pixels() const { return pixels_; }
    const BitmapDescription& Description() const { return description_; }
    const LogicalPalette& GamePaletteSelection() const { return logicalPalette_; }

    // Makes Width x |Height| bytes of pixel memory (all index 0), rows top row first, and
    // remembers ActiveWindow as the box the surface belongs to. BmpHeight keeps Height as
    // given, negative or not. False, with no pixel memory, when Width or |Height| is not in
    // 1 .. kMaxSide; the sizes and the box are stored either way.
    bool Initialize(int32_t Width, int32_t Height, PictureBoxPort* ActiveWindow);

    // Draws the surface into ScreenDC. Without StretchFlag a DestWidth x DestHeight block from
    // (SrcLeft, SrcTop) goes 1:1 to (DestLeft, DestTop) and SrcWidth and SrcHeight are not used;
    // with it the source rectangle is stretched onto the destination rectangle, rows and
    // columns repeated or dropped. Nothing happens before Initialize or without pixel memory.
    void Show(PictureBoxPort& ScreenDC, int32_t DestLeft, int32_t DestTop, int32_t DestWidth, int32_t DestHeight,
              int32_t SrcLeft, int32_t SrcTop, int32_t SrcWidth = 1, int32_t SrcHeight = 1,
              bool StretchFlag = false) const;

    // The other direction: captures ScreenDC's colours from the source rectangle into the
    // destination rectangle of the surface, each as the nearest game-palette index.
    void Blt(const PictureBoxPort& ScreenDC, int32_t DestLeft, int32_t DestTop, int32_t DestWidth, int32_t DestHeight,
             int32_t SrcLeft, int32_t SrcTop, int32_t SrcWidth = 1, int32_t SrcHeight = 1, bool StretchFlag = false);

    // Copies a Width x Height tile (rows of Width bytes) that starts at element TilePosition of
    // Buffer to (xPos, yPos), clipped to the surface and to the end of Buffer. False, with
    // nothing drawn, when Buffer has no element TilePosition.
    bool TileDraw(int32_t xPos, int32_t yPos, int32_t Width, int32_t Height, std::span<const uint8_t> Buffer,
                  int32_t TilePosition = 0);

    void LineDraw(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t Color);

    // Sets pixel (x, y); coordinates off the surface draw nothing.
    void PixelDraw(int32_t x, int32_t y, uint8_t Color);

    // The masked tile operations and the region grab take the tile from (or put the region
    // into) Buffer from element 0; false, with nothing done, when Buffer is empty.
    bool ClearTileDraw(int32_t x, int32_t y, int32_t Width, int32_t Height, std::span<const uint8_t> Buffer,
                       uint8_t MaskColor, uint8_t BackColor, int32_t ClearFlag);
    bool MaskTileDraw(int32_t x, int32_t y, int32_t Width, int32_t Height, std::span<const uint8_t> Buffer,
                      uint8_t MaskColor, uint8_t ReplaceColor);
    bool GrabRegion(int32_t x, int32_t y, int32_t Width, int32_t Height, std::span<uint8_t> Buffer) const;

private:
    IndexedBlock AsBlock() const;
    int64_t Rows() const;

    int32_t hBitmap_ = 0;
    int32_t BmpWidth_ = 0;
    int32_t BmpHeight_ = 0;
    PictureBoxPort* hWindow_ = nullptr;
    std::vector<uint8_t> pixels_;
    BitmapDescription description_{};
    LogicalPalette logicalPalette_{};
};
