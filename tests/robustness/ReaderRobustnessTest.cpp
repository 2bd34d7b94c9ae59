// Thousands of damaged copies of valid files go through both readers: each gives a refusal or a
// picture consistent with its size, without exceptions or allocations larger than the file
// justifies, and a load agrees with the decode. Under the sanitizers (CI): no crash, no leak.

#include <gtest/gtest.h>
#include <cstdlib>
#include <new>
#include <random>
#include "imagefiles/modBmp.h"
#include "imagefiles/modPCX.h"
#include "robustness/SampleFiles.h"
#include "support/TestFiles.h"

// Every allocation of this program comes here. While recording, the largest request is kept, and
// one above 256 MiB is refused so that a reader trusting a hostile size cannot exhaust the machine.
static bool recording = false;
static std::size_t largest = 0;
void* operator new(std::size_t size) {
    if (recording && (largest = std::max(largest, size)) > (std::size_t{256} << 20)) throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }  // kept out of line: g++ would
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept { std::free(block); }  // pair new with free

namespace {
using samplefiles::Format;
struct Picture {
    int64_t Width, Height;
    std::vector<uint8_t> Pixels;
    Palette Colours;
    bool operator==(const Picture&) const = default;
};
Picture State(Format kind) {
    if (kind == Format::Bmp)
        return {modBmp::BmpHeader().Width, modBmp::BmpHeader().Height, modBmp::BmpPixels(), modBmp::BmpPalette()};
    return {modPCX::PcxLastX() + 1, modPCX::PcxLastY() + 1, modPCX::PcxPixels(), modPCX::PcxPalette()};
}

// Runs work while recording; what went wrong, or "". Two bytes of PCX packets hold up to 63 pixels, of BMP ones 255.
template <typename Work>
std::string Recorded(Format kind, std::size_t fileSize, Work work) {
    std::string problem;
    largest = 0;
    recording = true;
    try {
        work();
    } catch (...) {
        problem = " threw";
    }
    recording = false;
    if (largest > (kind == Format::Pcx ? 32 : 256) * fileSize + 65536)
        problem += " allocated " + std::to_string(largest) + " bytes at once";
    return problem;
}

// Decodes bytes and, given a path, loads them through that file too; "" when all is proper.
std::string Check(Format kind, const std::vector<uint8_t>& bytes, const std::string* path = nullptr) {
    std::optional<Picture> decoded;
    std::string problem = Recorded(kind, bytes.size(), [&] {
        if (kind == Format::Pcx) {
            if (auto d = modPCX::DecodePcx(bytes))
                decoded = Picture{d->LastX + int64_t{1}, d->LastY + int64_t{1}, d->Pixels, d->Colours};
        } else if (auto d = modBmp::DecodeBmp(bytes)) {
            decoded = Picture{d->Header.Width, d->Header.Height, d->Pixels, d->Colours};
            if (d->Header.Size != int64_t{d->Header.Width} * d->Header.Height)
                throw std::logic_error("Size is not Width x Height");
        }
    });
    if (!problem.empty()) return problem;
    if (decoded && (decoded->Width <= 0 || decoded->Height <= 0 ||
                    int64_t(decoded->Pixels.size()) != decoded->Width * decoded->Height))
        return "accepted with a size of " + std::to_string(decoded->Width) + " x " + std::to_string(decoded->Height);
    if (!path) return "";
    testsupport::WriteBytes(*path, bytes);
    const Picture before = State(kind);
    bool loaded = false;
    problem = Recorded(kind, bytes.size(), [&] {
        loaded = kind == Format::Pcx ? modPCX::LoadPCXFile(*path) : modBmp::LoadBMPFile(*path, false);
    });
    if (!problem.empty() || loaded != decoded.has_value()) return "load" + problem + " disagrees with the decode";
    return State(kind) == (loaded ? *decoded : before)
               ? ""
               : "the module state is neither the decoded picture nor the old one";
}

// One to three damages: a flipped bit, an extreme number or one near the file's size in a size or
// offset field (huge claims in small files among them), a cut, random bytes inserted or removed.
std::vector<uint8_t> Mutate(std::mt19937& random, std::vector<uint8_t> b, const std::vector<std::size_t>& fields) {
    static const uint32_t extremes[] = {0,      1,      0x7F,  0x80,       0xFF,       0x7FFF,
                                        0x8000, 0xFFFF, 30000, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    const auto below = [&](std::size_t n) { return n ? random() % n : 0; };
    for (auto damages = 1 + below(3); damages-- > 0;) {
        const std::size_t at = below(b.size() + 1), count = std::min<std::size_t>(1 + below(64), b.size() - at);
        const auto from = b.begin() + static_cast<std::ptrdiff_t>(at), to = from + static_cast<std::ptrdiff_t>(count);
        const auto value =
            below(4) ? extremes[below(std::size(extremes))] : static_cast<uint32_t>(b.size() + below(3) - 1);
        const std::size_t field = fields[below(fields.size())], width = below(2) ? 4 : 2;
        switch (below(6)) {
            case 0:
                if (count) b[at] ^= static_cast<uint8_t>(1 << below(8));
                break;
            case 1:
            case 2:
                for (std::size_t k = 0; k < width && field + k < b.size(); ++k)
                    b[field + k] = static_cast<uint8_t>(value >> (8 * k));
                break;
            case 3: b.resize(at); break;
            case 4:
                for (std::size_t k = 0; k < count; ++k)
                    b.insert(b.begin() + static_cast<std::ptrdiff_t>(at), static_cast<uint8_t>(random()));
                break;
            default: b.erase(from, to);
        }
    }
    return b;
}
}  // namespace

TEST(ReaderRobustness, TruncationsAndMutantsGiveAProperResult) {
    static std::vector<uint8_t> probe;
    ASSERT_NE(Recorded(Format::Pcx, 0, [] { probe.resize(123456); }), "") << "the allocation recorder sees nothing";
    testsupport::TempDir dir;
    int problems = 0;
    const auto note = [&](const std::string& where, const std::string& problem) {
        if (!problem.empty() && ++problems <= 10) ADD_FAILURE() << where << ": " << problem;
    };
    auto samples = samplefiles::LargeSamples();
    for (auto& small : samplefiles::SmallSamples()) {
        for (std::size_t length = 0; length < small.Bytes.size(); ++length)
            note(small.Name + " cut to " + std::to_string(length),
                 Check(small.Kind, {small.Bytes.begin(), small.Bytes.begin() + long(length)}));
        samples.push_back(std::move(small));
    }
    std::mt19937 random(20240611);
    for (const auto& sample : samples) {
        // Each run starts from a good load, so that "unchanged after a refusal" means something.
        const std::string path = dir.file(sample.Name);
        ASSERT_EQ(Check(sample.Kind, sample.Bytes, &path), "") << sample.Name;
        ASSERT_EQ(State(sample.Kind).Pixels, sample.Pixels) << sample.Name;
        const auto& b = sample.Bytes;  // where the versions, sizes, counts and offsets are:
        const std::size_t colours = 14u + b[14] + b[15] * 256u, pixels = b[10] + b[11] * 256u;
        const std::vector<std::size_t> fields =
            sample.Kind == Format::Pcx
                ? std::vector<std::size_t>{1, 4, 6, 8, 10, 66, 128, 130, b.size() - 769, b.size() - 768}
                : std::vector<std::size_t>{2, 10, 14, 18, 22, 28, 30, 34, 46, colours, pixels, pixels + 1};
        for (int i = 0; i < 1500; ++i)
            note(sample.Name + " mutant " + std::to_string(i),
                 Check(sample.Kind, Mutate(random, b, fields), i % 25 ? nullptr : &path));
    }
    EXPECT_EQ(problems, 0);
}
