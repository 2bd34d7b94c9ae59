#include "import/Composite.h"

#include "import/FitPicture.h"

namespace import {

using imagefiles::RgbaPicture;

uint8_t CompositeSample(uint8_t colour, uint8_t alpha, uint8_t background) {
    return static_cast<uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

RgbaPicture SolidFrame(Colour colour) {
    RgbaPicture frame;
    frame.Width = kPictureSide;
    frame.Height = kPictureSide;
    frame.Pixels.reserve(static_cast<std::size_t>(kPicturePixels) * 4);
    for (int i = 0; i < kPicturePixels; ++i)
        frame.Pixels.insert(frame.Pixels.end(), {colour.Red, colour.Green, colour.Blue, 255});
    return frame;
}

RgbaPicture MakeBackgroundFrame(const RgbaPicture& picture) {
    return CompositeOver(FitToFrame(picture, FitMode::Cover), SolidFrame(Colour{}));
}

RgbaPicture CompositeOver(const RgbaPicture& fitted, const RgbaPicture& background) {
    RgbaPicture frame = background;
    for (std::size_t i = 0; i < frame.Pixels.size(); i += 4) {
        const uint8_t alpha = fitted.Pixels[i + 3];
        for (std::size_t c = 0; c < 3; ++c)
            frame.Pixels[i + c] = CompositeSample(fitted.Pixels[i + c], alpha, background.Pixels[i + c]);
        frame.Pixels[i + 3] = 255;
    }
    return frame;
}

}  // namespace import
