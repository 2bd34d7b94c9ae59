#pragma once
// What the GAF viewer's tests share: what a frame view must show, what it shows, and the files
// an export leaves behind.

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/GafFrameView.h"
#include "gaf/GafReader.h"
#include "imagefiles/modPalettes.h"
#include "support/TestFiles.h"

namespace gafviewertest {

using Bytes = std::vector<uint8_t>;

// Every file under root, by its path below root, with its bytes.
inline std::map<std::string, Bytes> FilesUnder(const std::filesystem::path& root) {
    std::map<std::string, Bytes> files;
    if (!std::filesystem::exists(root)) return files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        if (item.is_regular_file()) {
            files[item.path().lexically_relative(root).string()] = testsupport::ReadBytes(item.path());
        }
    }
    return files;
}

// What a view at scale must show for frame: each frame pixel a scale x scale square of its game
// colour, and the checkerboard, counted in view pixels, where a compressed or layered frame
// holds its transparency index.
inline std::vector<uint32_t> ExpectedDrawing(const gaf::DecodedFrame& frame, int scale) {
    const bool leavesPixelsEmpty = frame.Compression != 0 || frame.Layers != 0;
    std::vector<uint32_t> colours;
    for (int y = 0; y < frame.Height * scale; ++y) {
        for (int x = 0; x < frame.Width * scale; ++x) {
            const uint8_t index = frame.Pixels[static_cast<std::size_t>(y / scale * frame.Width + x / scale)];
            const PaletteEntry& c = modPalettes::GamePalette[index];
            colours.push_back(leavesPixelsEmpty && index == frame.Transparency
                                  ? GafFrameView::CheckerColour(x, y) & 0xFFFFFFu
                                  : uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
        }
    }
    return colours;
}

// The colours the view paints, row by row.
inline std::vector<uint32_t> Drawn(QWidget* view) {
    const QImage image = view->grab().toImage();
    std::vector<uint32_t> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.push_back(image.pixel(x, y) & 0xFFFFFFu);
    }
    return colours;
}

}  // namespace gafviewertest
