#include "import/FitPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "import/LinearLight.h"
#include "import/RoundHalfEven.h"

namespace import {

namespace {

using imagefiles::RgbaPicture;

int64_t FloorHalf(int64_t value) { return value >= 0 ? value / 2 : -((-value + 1) / 2); }

// For each frame position along one axis: the source samples it is made of and their weights.
struct AxisTaps {
    std::vector<int64_t> First;   // first source index
    std::vector<int32_t> Count;   // how many; 0 where the picture does not reach
    std::vector<std::size_t> At;  // where its weights start in Weights
    std::vector<float> Weights;

    int64_t End(std::size_t position) const { return First[position] + Count[position]; }
};

// The box filter: frame position u covers [u, u + 1) of the scaled picture, which is
// [u S / D, (u + 1) S / D) of the source; each source sample weighs the part of it that lies
// inside, over the whole width S / D. Counted in units of 1 / D, every overlap is a whole number.
void AddBoxTaps(AxisTaps& axis, int64_t source, int64_t scaled, int64_t u) {
    const int64_t low = u * source;
    const int64_t high = (u + 1) * source;
    const int64_t first = low / scaled;
    const int64_t last = (high - 1) / scaled;
    axis.First.push_back(first);
    axis.Count.push_back(static_cast<int32_t>(last - first + 1));
    for (int64_t k = first; k <= last; ++k) {
        const int64_t overlap = std::min((k + 1) * scaled, high) - std::max(k * scaled, low);
        axis.Weights.push_back(static_cast<float>(static_cast<double>(overlap) / static_cast<double>(source)));
    }
}

// Catmull-Rom at the centre of frame position u, mapped back onto the source's sample centres;
// taps beyond the edge are folded onto the edge sample.
void AddCatmullRomTaps(AxisTaps& axis, int64_t source, int64_t scaled, int64_t u) {
    const double s = (static_cast<double>(u) + 0.5) * static_cast<double>(source) / static_cast<double>(scaled) - 0.5;
    const double base = std::floor(s);
    const double t = s - base;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double weights[4] = {(-t3 + 2 * t2 - t) / 2, (3 * t3 - 5 * t2 + 2) / 2, (-3 * t3 + 4 * t2 + t) / 2,
                               (t3 - t2) / 2};
    const auto i = static_cast<int64_t>(base);
    const int64_t first = std::clamp<int64_t>(i - 1, 0, source - 1);
    const int64_t last = std::clamp<int64_t>(i + 2, 0, source - 1);
    std::vector<double> merged(static_cast<std::size_t>(last - first + 1), 0.0);
    for (int tap = 0; tap < 4; ++tap) {
        const int64_t k = std::clamp<int64_t>(i - 1 + tap, 0, source - 1);
        merged[static_cast<std::size_t>(k - first)] += weights[tap];
    }
    axis.First.push_back(first);
    axis.Count.push_back(static_cast<int32_t>(merged.size()));
    for (double w : merged) axis.Weights.push_back(static_cast<float>(w));
}

AxisTaps MakeAxis(int64_t source, int64_t scaled, int64_t start) {
    AxisTaps axis;
    for (int64_t position = 0; position < kPictureSide; ++position) {
        axis.At.push_back(axis.Weights.size());
        const int64_t u = position - start;
        if (u < 0 || u >= scaled) {
            axis.First.push_back(0);
            axis.Count.push_back(0);
        } else if (scaled == source) {
            axis.First.push_back(u);
            axis.Count.push_back(1);
            axis.Weights.push_back(1.0f);
        } else if (scaled < source) {
            AddBoxTaps(axis, source, scaled, u);
        } else {
            AddCatmullRomTaps(axis, source, scaled, u);
        }
    }
    return axis;
}

std::vector<std::size_t> Reached(const AxisTaps& axis) {
    std::vector<std::size_t> positions;
    for (std::size_t p = 0; p < static_cast<std::size_t>(kPictureSide); ++p)
        if (axis.Count[p] > 0) positions.push_back(p);
    return positions;
}

RgbaPicture EmptyFrame() {
    RgbaPicture frame;
    frame.Width = kPictureSide;
    frame.Height = kPictureSide;
    frame.Pixels.assign(static_cast<std::size_t>(kPicturePixels) * 4, 0);
    return frame;
}

// The picture at its own size: the part inside the frame copied byte for byte.
RgbaPicture Unscaled(const RgbaPicture& source, const Placement& place) {
    RgbaPicture frame = EmptyFrame();
    const int64_t x0 = std::max<int64_t>(0, place.Left);
    const int64_t x1 = std::min<int64_t>(kPictureSide, place.Left + source.Width);
    const int64_t y0 = std::max<int64_t>(0, place.Top);
    const int64_t y1 = std::min<int64_t>(kPictureSide, place.Top + source.Height);
    if (x0 >= x1) return frame;
    for (int64_t y = y0; y < y1; ++y) {
        const uint8_t* from =
            source.Pixels.data() + static_cast<std::size_t>(((y - place.Top) * source.Width + (x0 - place.Left)) * 4);
        std::memcpy(frame.Pixels.data() + static_cast<std::size_t>((y * kPictureSide + x0) * 4), from,
                    static_cast<std::size_t>((x1 - x0) * 4));
    }
    return frame;
}

// One source row filtered across the frame's reached columns: premultiplied linear red, green,
// blue and alpha at each, into rowSums (4 floats a frame column).
void FilterRow(const uint8_t* row, const AxisTaps& columns, const std::vector<std::size_t>& xs,
               std::vector<float>& rowSums) {
    const std::array<float, 256>& linear = LinearFromSrgb();
    static const std::array<float, 256> alphaOf = [] {
        std::array<float, 256> fractions{};
        for (std::size_t a = 0; a < fractions.size(); ++a) fractions[a] = static_cast<float>(a) / 255.0f;
        return fractions;
    }();
    for (std::size_t x : xs) {
        const float* w = columns.Weights.data() + columns.At[x];
        const uint8_t* p = row + static_cast<std::size_t>(columns.First[x]) * 4;
        float red = 0, green = 0, blue = 0, alpha = 0;
        for (int32_t k = 0; k < columns.Count[x]; ++k, p += 4) {
            const float a = w[k] * alphaOf[p[3]];
            red += a * linear[p[0]];
            green += a * linear[p[1]];
            blue += a * linear[p[2]];
            alpha += a;
        }
        float* out = rowSums.data() + x * 4;
        out[0] = red;
        out[1] = green;
        out[2] = blue;
        out[3] = alpha;
    }
}

// Premultiplied linear red, green, blue and alpha per frame pixel: the source rows in order, each
// filtered across the columns, then added into every frame row it is a tap of. Frame rows whose
// taps have all gone by drop out at the front.
std::vector<float> FrameSums(const RgbaPicture& source, const AxisTaps& columns, const AxisTaps& rows,
                             const std::vector<std::size_t>& xs, const std::vector<std::size_t>& ys) {
    std::vector<float> sums(static_cast<std::size_t>(kPicturePixels) * 4, 0.0f);
    std::vector<float> rowSums(static_cast<std::size_t>(kPictureSide) * 4);
    const auto width = static_cast<std::size_t>(source.Width);
    std::size_t firstLive = 0;
    const int64_t lastRow = rows.End(ys.back());
    for (int64_t r = rows.First[ys.front()]; r < lastRow; ++r) {
        while (firstLive < ys.size() && rows.End(ys[firstLive]) <= r) ++firstLive;
        if (firstLive == ys.size()) break;
        if (rows.First[ys[firstLive]] > r) continue;

        FilterRow(source.Pixels.data() + static_cast<std::size_t>(r) * width * 4, columns, xs, rowSums);
        for (std::size_t j = firstLive; j < ys.size() && rows.First[ys[j]] <= r; ++j) {
            const std::size_t y = ys[j];
            if (r >= rows.End(y)) continue;
            const float w = rows.Weights[rows.At[y] + static_cast<std::size_t>(r - rows.First[y])];
            float* target = sums.data() + y * kPictureSide * 4;
            for (std::size_t x : xs)
                for (std::size_t c = 0; c < 4; ++c) target[x * 4 + c] += w * rowSums[x * 4 + c];
        }
    }
    return sums;
}

// The sums as straight-alpha 8-bit sRGB pixels of the frame. Interpolation can overshoot: alpha
// is held to [0, 1] and colour to [0, alpha].
void StoreSums(const std::vector<float>& sums, const std::vector<std::size_t>& xs, const std::vector<std::size_t>& ys,
               RgbaPicture& frame) {
    for (std::size_t y : ys) {
        for (std::size_t x : xs) {
            const float* s = sums.data() + (y * kPictureSide + x) * 4;
            uint8_t* out = frame.Pixels.data() + (y * kPictureSide + x) * 4;
            const float alpha = std::clamp(s[3], 0.0f, 1.0f);
            const auto alpha8 = static_cast<uint8_t>(std::lround(alpha * 255.0f));
            if (alpha8 == 0) continue;
            for (std::size_t c = 0; c < 3; ++c) out[c] = ToSrgb8(std::clamp(s[c], 0.0f, alpha) / alpha);
            out[3] = alpha8;
        }
    }
}

}  // namespace

Placement PlacePicture(int64_t width, int64_t height, FitMode fit) {
    Placement place{width, height, 0, 0};
    switch (fit) {
        case FitMode::Contain:
        case FitMode::Cover: {
            // Contain gives the longer side 96, cover the shorter one.
            const bool widthLeads = fit == FitMode::Contain ? width >= height : width <= height;
            if (widthLeads) {
                place.Width = kPictureSide;
                place.Height = std::max<int64_t>(1, DivideRoundingHalfEven(kPictureSide * height, width));
            } else {
                place.Height = kPictureSide;
                place.Width = std::max<int64_t>(1, DivideRoundingHalfEven(kPictureSide * width, height));
            }
            break;
        }
        case FitMode::Stretch:
            place.Width = kPictureSide;
            place.Height = kPictureSide;
            break;
        case FitMode::None: break;
    }
    place.Left = FloorHalf(kPictureSide - place.Width);
    place.Top = FloorHalf(kPictureSide - place.Height);
    return place;
}

bool HasVisiblePixel(const RgbaPicture& picture) {
    for (std::size_t i = 3; i < picture.Pixels.size(); i += 4)
        if (picture.Pixels[i] != 0) return true;
    return false;
}

RgbaPicture TrimTransparentEdges(const RgbaPicture& picture) {
    const auto width = static_cast<std::size_t>(picture.Width);
    const auto height = static_cast<std::size_t>(picture.Height);
    std::size_t left = width, right = 0, top = height, bottom = 0;  // visible box, [left, right) x [top, bottom)
    for (std::size_t y = 0; y < height; ++y) {
        const uint8_t* row = picture.Pixels.data() + y * width * 4;
        for (std::size_t x = 0; x < width; ++x) {
            if (row[x * 4 + 3] == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x + 1);
            top = std::min(top, y);
            bottom = y + 1;
        }
    }
    RgbaPicture trimmed;
    if (left >= right) return trimmed;
    trimmed.Width = static_cast<int32_t>(right - left);
    trimmed.Height = static_cast<int32_t>(bottom - top);
    trimmed.Pixels.reserve((right - left) * (bottom - top) * 4);
    for (std::size_t y = top; y < bottom; ++y) {
        const auto from = picture.Pixels.begin() + static_cast<std::ptrdiff_t>((y * width + left) * 4);
        trimmed.Pixels.insert(trimmed.Pixels.end(), from, from + static_cast<std::ptrdiff_t>((right - left) * 4));
    }
    return trimmed;
}

RgbaPicture FitToFrame(const RgbaPicture& source, FitMode fit) {
    const Placement place = PlacePicture(source.Width, source.Height, fit);
    if (place.Width == source.Width && place.Height == source.Height) return Unscaled(source, place);

    const AxisTaps columns = MakeAxis(source.Width, place.Width, place.Left);
    const AxisTaps rows = MakeAxis(source.Height, place.Height, place.Top);
    const std::vector<std::size_t> xs = Reached(columns);
    const std::vector<std::size_t> ys = Reached(rows);
    RgbaPicture frame = EmptyFrame();
    if (xs.empty() || ys.empty()) return frame;
    StoreSums(FrameSums(source, columns, rows, xs, ys), xs, ys, frame);
    return frame;
}

}  // namespace import
