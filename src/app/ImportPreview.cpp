#include "app/ImportPreview.h"

#include "app/QtColourTable.h"

namespace ImportPreview {

namespace {

// Each pixel of a Width x Height picture, as colour(x, y), blown up to a Scale x Scale square.
template <typename ColourAt>
QImage Enlarged(int Width, int Height, int Scale, ColourAt colour) {
    QImage image(Width * Scale, Height * Scale, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) row[x] = colour(x / Scale, y / Scale);
    }
    return image;
}

}  // namespace

QImage Truecolour(const imagefiles::RgbaPicture& Frame, int Scale) {
    return Enlarged(Frame.Width, Frame.Height, Scale, [&](int x, int y) {
        const uint8_t* p = Frame.Pixels.data() + (static_cast<std::size_t>(y) * Frame.Width + x) * 4;
        return qRgb(p[0], p[1], p[2]);
    });
}

QImage Indexed(const import::IndexFrame& Indices, const Palette& Colours, int Scale) {
    const QList<QRgb> table = QtColourTable(Colours);
    return Enlarged(import::kFrameSide, import::kFrameSide, Scale,
                    [&](int x, int y) { return table[Indices[static_cast<std::size_t>(y * import::kFrameSide + x)]]; });
}

}  // namespace ImportPreview
