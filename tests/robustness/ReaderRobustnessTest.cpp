#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "robustness/AllocationRecorder.h"
#include "robustness/Mutator.h"
#include "robustness/ReaderChecks.h"
#include "robustness/SampleFiles.h"
#include "support/TestFiles.h"

namespace {

using samplefiles::Format;
using samplefiles::Sample;

constexpr int MutantsPerSample = 2500;
constexpr int LoadEveryNthMutant = 25;
constexpr int FailuresShownPerTest = 10;

uint32_t Read32(const std::vector<uint8_t>& bytes, std::size_t offset) {
    return static_cast<uint32_t>(bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
                                 (static_cast<uint32_t>(bytes[offset + 3]) << 24));
}

// The offsets of the fields that hold sizes, counts and offsets in a sample.
std::vector<std::size_t> FieldOffsets(const Sample& sample) {
    const std::size_t size = sample.Bytes.size();
    if (sample.Kind == Format::Pcx) return {0, 1, 2, 3, 4, 6, 8, 10, 12, 14, 65, 66, 68, 128, 130, size - 769, size - 768};
    const std::size_t colourTable = 14 + Read32(sample.Bytes, 14);
    const std::size_t pixelData = Read32(sample.Bytes, 10);
    return {0, 2, 6, 10, 14, 18, 22, 26, 28, 30, 34, 38, 42, 46, 50, 54, 58, 70, 108, colourTable, pixelData,
            pixelData + 1, pixelData + 2};
}

// Decodes bytes with the sample's reader; an empty text when the outcome is proper.
std::string CheckDecode(Format kind, const std::vector<uint8_t>& bytes) {
    return kind == Format::Bmp ? readerchecks::DecodeBmpChecked(bytes).Problem
                               : readerchecks::DecodePcxChecked(bytes).Problem;
}

// Decodes bytes and loads them through a file; an empty text when both are proper and agree.
std::string CheckDecodeAndLoad(Format kind, const std::vector<uint8_t>& bytes, const std::string& path) {
    if (kind == Format::Bmp) {
        const auto outcome = readerchecks::DecodeBmpChecked(bytes);
        if (!outcome.Problem.empty()) return outcome.Problem;
        return readerchecks::LoadBmpChecked(path, bytes, outcome.Decoded);
    }
    const auto outcome = readerchecks::DecodePcxChecked(bytes);
    if (!outcome.Problem.empty()) return outcome.Problem;
    return readerchecks::LoadPcxChecked(path, bytes, outcome.Decoded);
}

// Collects problems, reporting the first few in full.
class ProblemLog {
public:
    void Note(const std::string& where, const std::string& problem) {
        if (problem.empty()) return;
        if (++count_ <= FailuresShownPerTest) ADD_FAILURE() << where << ":" << problem;
    }
    int Count() const { return count_; }

private:
    int count_ = 0;
};

TEST(AllocationRecorderTest, SeesAllocationsThroughContainers) {
    allocationrecorder::Start();
    std::vector<uint8_t> block(123456);
    const auto largest = allocationrecorder::Stop();
    EXPECT_GE(largest, block.size());
    EXPECT_LT(largest, 2 * block.size());
}

TEST(ReaderRobustnessTest, SamplesDecodeToTheirPictures) {
    for (const auto& sample : samplefiles::AllSamples()) {
        SCOPED_TRACE(sample.Name);
        if (sample.Kind == Format::Bmp) {
            const auto outcome = readerchecks::DecodeBmpChecked(sample.Bytes);
            EXPECT_EQ(outcome.Problem, "");
            ASSERT_TRUE(outcome.Decoded);
            EXPECT_EQ(outcome.Decoded->Header.Width, sample.Width);
            EXPECT_EQ(outcome.Decoded->Header.Height, sample.Height);
            EXPECT_EQ(outcome.Decoded->Pixels, sample.Pixels);
        } else {
            const auto outcome = readerchecks::DecodePcxChecked(sample.Bytes);
            EXPECT_EQ(outcome.Problem, "");
            ASSERT_TRUE(outcome.Decoded);
            EXPECT_EQ(outcome.Decoded->LastX, sample.Width - 1);
            EXPECT_EQ(outcome.Decoded->LastY, sample.Height - 1);
            EXPECT_EQ(outcome.Decoded->Pixels, sample.Pixels);
        }
    }
}

TEST(ReaderRobustnessTest, TruncationAtEveryLength) {
    ProblemLog log;
    for (const auto& sample : samplefiles::SmallSamples()) {
        for (std::size_t length = 0; length < sample.Bytes.size(); ++length) {
            const std::vector<uint8_t> truncated(sample.Bytes.begin(),
                                                 sample.Bytes.begin() + static_cast<std::ptrdiff_t>(length));
            log.Note(sample.Name + " cut to " + std::to_string(length), CheckDecode(sample.Kind, truncated));
        }
    }
    EXPECT_EQ(log.Count(), 0);
}

TEST(ReaderRobustnessTest, MutantsGiveAProperResult) {
    testsupport::TempDir dir;
    ProblemLog log;
    uint32_t seed = 20240611;
    std::vector<Sample> samples = samplefiles::AllSamples();
    for (auto& small : samplefiles::SmallSamples()) samples.push_back(std::move(small));

    for (const auto& sample : samples) {
        // Start each run from a good load so that "unchanged after a refusal" means something.
        const std::string path = dir.file(sample.Name);
        log.Note(sample.Name, CheckDecodeAndLoad(sample.Kind, sample.Bytes, path));

        mutation::Mutator mutator(seed++, FieldOffsets(sample));
        std::string damage;
        for (int i = 0; i < MutantsPerSample; ++i) {
            const auto mutant = mutator.Mutate(sample.Bytes, damage);
            const std::string where = sample.Name + " mutant " + std::to_string(i) + damage;
            if (i % LoadEveryNthMutant == 0)
                log.Note(where, CheckDecodeAndLoad(sample.Kind, mutant, path));
            else
                log.Note(where, CheckDecode(sample.Kind, mutant));
        }
    }
    EXPECT_EQ(log.Count(), 0);
}

// Headers that claim huge pictures in small files are refused, or at least decoded without an
// allocation the file cannot justify.
TEST(ReaderRobustnessTest, HugeClaimsInSmallFiles) {
    ProblemLog log;

    auto pcx = samplefiles::MakePcx("small.pcx", 8, 8, true).Bytes;
    for (auto [xMin, xMax] : {std::pair{-32768, 32767}, std::pair{0, 32767}, std::pair{-32768, 0}}) {
        auto claim = pcx;
        for (std::size_t offset : {4u, 6u}) {
            claim[offset] = static_cast<uint8_t>(xMin & 0xFF);
            claim[offset + 1] = static_cast<uint8_t>((xMin >> 8) & 0xFF);
        }
        for (std::size_t offset : {8u, 10u}) {
            claim[offset] = static_cast<uint8_t>(xMax & 0xFF);
            claim[offset + 1] = static_cast<uint8_t>((xMax >> 8) & 0xFF);
        }
        const auto outcome = readerchecks::DecodePcxChecked(claim);
        log.Note("pcx " + std::to_string(xMin) + ".." + std::to_string(xMax), outcome.Problem);
        EXPECT_FALSE(outcome.Decoded);
    }

    using bmpbuild::Compression;
    for (auto kind : {Compression::None, Compression::Rle8, Compression::Rle4}) {
        const int bits = kind == Compression::Rle4 ? 4 : 8;
        const auto bmp = samplefiles::MakeBmp("small.bmp", 8, 8, bits, kind).Bytes;
        for (uint32_t width : {30000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
            for (uint32_t height : {30000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
                auto claim = bmp;
                for (int k = 0; k < 4; ++k) {
                    claim[static_cast<std::size_t>(18 + k)] = static_cast<uint8_t>(width >> (8 * k));
                    claim[static_cast<std::size_t>(22 + k)] = static_cast<uint8_t>(height >> (8 * k));
                }
                log.Note("bmp kind " + std::to_string(static_cast<int>(kind)) + " " + std::to_string(width) + " x " +
                             std::to_string(height),
                         readerchecks::DecodeBmpChecked(claim).Problem);
            }
        }
    }
    EXPECT_EQ(log.Count(), 0);
}

}  // namespace
