// Thousands of damaged and truncated copies of valid files go through both readers. Every
// outcome must be proper: a refusal, or a picture consistent with its size; no exception, no
// allocation larger than the file could justify; and a load through a file agrees with the
// in-memory decode, leaving the module state alone when it refuses. CI runs this under
// AddressSanitizer and UndefinedBehaviorSanitizer, which add "no crash, no out-of-bounds access,
// no leak".

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPCX.h"
#include "robustness/AllocationRecorder.h"
#include "robustness/Mutator.h"
#include "robustness/SampleFiles.h"
#include "support/TestFiles.h"

namespace {

using samplefiles::Format;
using samplefiles::Sample;

constexpr int MutantsPerSample = 2500;
constexpr int LoadEveryNthMutant = 25;

// The largest single allocation a reader may make for a file of a given size. A PCX packet of
// two bytes holds at most 63 pixels; a BMP run-length packet of two bytes may stand for 255
// pixels and its escapes skip further. The constant covers small tables and allowances.
std::size_t AllocationBound(Format kind, std::size_t fileSize) {
    return (kind == Format::Pcx ? 32 : 256) * fileSize + 64 * 1024;
}

// Runs work while recording allocations; a text naming what went wrong, or "".
template <typename Work>
std::string Recorded(Format kind, std::size_t fileSize, Work work) {
    std::string problem;
    allocationrecorder::Start();
    try {
        work();
    } catch (const std::exception& e) {
        problem = std::string(" threw: ") + e.what();
    } catch (...) {
        problem = " threw";
    }
    const std::size_t largest = allocationrecorder::Stop();
    if (largest > AllocationBound(kind, fileSize))
        problem += " allocated " + std::to_string(largest) + " bytes at once for a file of " + std::to_string(fileSize);
    return problem;
}

int32_t Int16At(const std::vector<uint8_t>& bytes, std::size_t offset) {
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8)));
}

// What the module state holds, in one comparable shape for both formats.
struct Picture {
    int64_t Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;
    Palette Colours{};
    bool operator==(const Picture&) const = default;
};

Picture BmpState() { return {modBmp::BmpHeader().Width, modBmp::BmpHeader().Height, modBmp::BmpPixels(), modBmp::BmpPalette()}; }
Picture PcxState() { return {modPCX::PcxLastX() + 1, modPCX::PcxLastY() + 1, modPCX::PcxPixels(), modPCX::PcxPalette()}; }

// Decodes bytes in memory; sets picture when the reader accepted them. A text naming what is
// wrong with the outcome, or "".
std::string Decode(Format kind, const std::vector<uint8_t>& bytes, std::optional<Picture>& picture) {
    picture.reset();
    if (kind == Format::Bmp) {
        std::optional<modBmp::DecodedBmp> decoded;
        std::string problem = Recorded(kind, bytes.size(), [&] { decoded = modBmp::DecodeBmp(bytes); });
        if (!problem.empty() || !decoded) return problem;
        if (decoded->Header.Size != int64_t{decoded->Header.Width} * decoded->Header.Height)
            return "Size is not Width x Height";
        picture = Picture{decoded->Header.Width, decoded->Header.Height, decoded->Pixels, decoded->Colours};
    } else {
        std::optional<modPCX::DecodedPcx> decoded;
        std::string problem = Recorded(kind, bytes.size(), [&] { decoded = modPCX::DecodePcx(bytes); });
        if (!problem.empty() || !decoded) return problem;
        if (bytes.size() < 128 + 769) return "accepted a file too short for header and palette";
        if (decoded->LastX != Int16At(bytes, 8) - Int16At(bytes, 4) || decoded->LastY != Int16At(bytes, 10) - Int16At(bytes, 6))
            return "the extent differs from the header";
        if (bytes[bytes.size() - 769] != 12) return "accepted a palette without its marker";
        const std::size_t rgb = bytes.size() - 768;
        for (std::size_t i = 0; i < 256; ++i)
            if (!(decoded->Colours[i] == PaletteEntry{bytes[rgb + 3 * i + 2], bytes[rgb + 3 * i + 1], bytes[rgb + 3 * i], 0}))
                return "palette entry " + std::to_string(i) + " is not the file's";
        picture = Picture{int64_t{decoded->LastX} + 1, int64_t{decoded->LastY} + 1, decoded->Pixels, decoded->Colours};
    }
    if (picture->Width <= 0 || picture->Height <= 0) return "accepted a size of " + std::to_string(picture->Width) + " x " + std::to_string(picture->Height);
    if (static_cast<int64_t>(picture->Pixels.size()) != picture->Width * picture->Height) return "the pixel count is not the size";
    return "";
}

// Decodes bytes and, when load is set, also loads them through the file at path: the module
// state must become the decoded picture, or stay as it was when the reader refuses.
std::string Check(Format kind, const std::vector<uint8_t>& bytes, const std::string* path = nullptr) {
    std::optional<Picture> decoded;
    if (std::string problem = Decode(kind, bytes, decoded); !problem.empty() || !path) return problem;
    testsupport::WriteBytes(*path, bytes);
    const Picture before = kind == Format::Bmp ? BmpState() : PcxState();
    bool loaded = false;
    std::string problem = Recorded(kind, bytes.size(), [&] {
        loaded = kind == Format::Bmp ? modBmp::LoadBMPFile(*path, false) : modPCX::LoadPCXFile(*path);
    });
    if (!problem.empty()) return "load" + problem;
    if (loaded != decoded.has_value()) return "the load and the decode disagree";
    const Picture after = kind == Format::Bmp ? BmpState() : PcxState();
    if (after != (loaded ? *decoded : before)) return loaded ? "the module state is not the decoded picture" : "a refused load changed the module state";
    return "";
}

// Collects problems, reporting the first few in full.
class ProblemLog {
public:
    ~ProblemLog() { EXPECT_EQ(count_, 0) << "outcomes with a problem"; }
    void Note(const std::string& where, const std::string& problem) {
        if (!problem.empty() && ++count_ <= 10) ADD_FAILURE() << where << ": " << problem;
    }

private:
    int count_ = 0;
};

uint32_t Read32(const std::vector<uint8_t>& bytes, std::size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) | (uint32_t{bytes[offset + 3]} << 24);
}

// The offsets of the fields that hold versions, sizes, counts and offsets in a sample.
std::vector<std::size_t> FieldOffsets(const Sample& sample) {
    const std::size_t size = sample.Bytes.size();
    if (sample.Kind == Format::Pcx) return {0, 1, 2, 3, 4, 6, 8, 10, 12, 14, 65, 66, 68, 128, 130, size - 769, size - 768};
    const std::size_t colourTable = 14 + Read32(sample.Bytes, 14);
    const std::size_t pixelData = Read32(sample.Bytes, 10);
    return {0, 2, 6, 10, 14, 18, 20, 22, 24, 26, 28, 30, 34, 38, 42, 46, 50, 54, 58, 70, 108, colourTable, pixelData,
            pixelData + 1, pixelData + 2};
}

}  // namespace

TEST(AllocationRecorder, SeesAllocationsThroughContainers) {
    allocationrecorder::Start();
    std::vector<uint8_t> block(123456);
    const auto largest = allocationrecorder::Stop();
    EXPECT_GE(largest, block.size());
    EXPECT_LT(largest, 2 * block.size());
}

TEST(ReaderRobustness, SamplesDecodeToTheirPictures) {
    auto samples = samplefiles::LargeSamples();
    for (auto& small : samplefiles::SmallSamples()) samples.push_back(std::move(small));
    for (const Sample& sample : samples) {
        std::optional<Picture> decoded;
        EXPECT_EQ(Decode(sample.Kind, sample.Bytes, decoded), "") << sample.Name;
        ASSERT_TRUE(decoded) << sample.Name;
        EXPECT_EQ(decoded->Width, sample.Width) << sample.Name;
        EXPECT_EQ(decoded->Height, sample.Height) << sample.Name;
        EXPECT_EQ(decoded->Pixels, sample.Pixels) << sample.Name;
    }
}

TEST(ReaderRobustness, TruncationAtEveryLength) {
    ProblemLog log;
    for (const Sample& sample : samplefiles::SmallSamples())
        for (std::size_t length = 0; length < sample.Bytes.size(); ++length)
            log.Note(sample.Name + " cut to " + std::to_string(length),
                     Check(sample.Kind, std::vector<uint8_t>(sample.Bytes.begin(), sample.Bytes.begin() + static_cast<std::ptrdiff_t>(length))));
}

TEST(ReaderRobustness, MutantsGiveAProperResult) {
    testsupport::TempDir dir;
    ProblemLog log;
    uint32_t seed = 20240611;
    auto samples = samplefiles::LargeSamples();
    for (auto& small : samplefiles::SmallSamples()) samples.push_back(std::move(small));
    for (const Sample& sample : samples) {
        // Each run starts from a good load, so that "unchanged after a refusal" means something.
        const std::string path = dir.file(sample.Name);
        log.Note(sample.Name, Check(sample.Kind, sample.Bytes, &path));
        mutation::Mutator mutator(seed++, FieldOffsets(sample));
        std::string damage;
        for (int i = 0; i < MutantsPerSample; ++i) {
            const auto mutant = mutator.Mutate(sample.Bytes, damage);
            log.Note(sample.Name + " mutant " + std::to_string(i) + damage,
                     Check(sample.Kind, mutant, i % LoadEveryNthMutant == 0 ? &path : nullptr));
        }
    }
}

// Headers that claim huge pictures in small files are refused without a large allocation.
TEST(ReaderRobustness, HugeClaimsInSmallFiles) {
    ProblemLog log;
    // Each claim: a sample and the little-endian values written over its extent fields.
    std::vector<std::pair<std::string, std::vector<uint8_t>>> claims;
    for (auto [low, high] : {std::pair{-32768, 32767}, std::pair{0, 32767}, std::pair{-32768, 0}}) {
        auto claim = samplefiles::Pcx("small.pcx", 8, 8, true).Bytes;
        for (std::size_t k = 0; k < 2; ++k) {
            claim[4 + k] = claim[6 + k] = static_cast<uint8_t>(low >> (8 * k));
            claim[8 + k] = claim[10 + k] = static_cast<uint8_t>(high >> (8 * k));
        }
        claims.emplace_back("pcx " + std::to_string(low) + ".." + std::to_string(high), claim);
    }
    for (uint32_t compression : {0u, 1u, 2u})
        for (uint32_t width : {30000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu})
            for (uint32_t height : {30000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
                auto claim = samplefiles::Bmp("small.bmp", 8, 8, compression == 2 ? 4 : 8, compression).Bytes;
                for (std::size_t k = 0; k < 4; ++k) {
                    claim[18 + k] = static_cast<uint8_t>(width >> (8 * k));
                    claim[22 + k] = static_cast<uint8_t>(height >> (8 * k));
                }
                claims.emplace_back("bmp compression " + std::to_string(compression) + ", " + std::to_string(width) +
                                        " x " + std::to_string(height), claim);
            }
    for (const auto& [what, bytes] : claims) {
        std::optional<Picture> decoded;
        log.Note(what, Decode(what[0] == 'p' ? Format::Pcx : Format::Bmp, bytes, decoded));
        EXPECT_FALSE(decoded) << what;
    }
}
