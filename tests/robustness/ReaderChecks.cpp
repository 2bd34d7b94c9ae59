#include "robustness/ReaderChecks.h"

#include <exception>
#include <fstream>

#include "robustness/AllocationRecorder.h"

namespace readerchecks {

namespace {

// Runs decode while recording allocations; fills problem on an exception or an allocation
// above bound.
template <typename Decode>
void Recorded(std::size_t bound, const std::vector<uint8_t>& bytes, Decode decode, std::string& problem) {
    allocationrecorder::Start();
    try {
        decode();
    } catch (const std::exception& e) {
        problem = std::string("threw: ") + e.what();
    } catch (...) {
        problem = "threw a non-standard exception";
    }
    const std::size_t largest = allocationrecorder::Stop();
    if (largest > bound)
        problem += " allocated " + std::to_string(largest) + " bytes at once for a file of " +
                   std::to_string(bytes.size());
}

int16_t Int16At(const std::vector<uint8_t>& bytes, std::size_t offset) {
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8)));
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

BmpOutcome DecodeBmpChecked(const std::vector<uint8_t>& bytes) {
    BmpOutcome outcome;
    Recorded(BmpAllocationBound(bytes.size()), bytes, [&] { outcome.Decoded = modBmp::DecodeBmp(bytes); }, outcome.Problem);
    if (!outcome.Problem.empty() || !outcome.Decoded) return outcome;

    const auto& header = outcome.Decoded->Header;
    const int64_t count = int64_t{header.Width} * header.Height;
    if (header.Width <= 0 || header.Height <= 0)
        outcome.Problem = "accepted a size of " + std::to_string(header.Width) + " x " + std::to_string(header.Height);
    else if (header.Size != count)
        outcome.Problem = "Size " + std::to_string(header.Size) + " is not Width x Height";
    else if (static_cast<int64_t>(outcome.Decoded->Pixels.size()) != count)
        outcome.Problem = "delivered " + std::to_string(outcome.Decoded->Pixels.size()) + " pixels for " +
                          std::to_string(count);
    return outcome;
}

PcxOutcome DecodePcxChecked(const std::vector<uint8_t>& bytes) {
    PcxOutcome outcome;
    Recorded(PcxAllocationBound(bytes.size()), bytes, [&] { outcome.Decoded = modPCX::DecodePcx(bytes); }, outcome.Problem);
    if (!outcome.Problem.empty() || !outcome.Decoded) return outcome;

    const auto& decoded = *outcome.Decoded;
    if (bytes.size() < 128 + 769) {
        outcome.Problem = "accepted a file too short for header and palette";
        return outcome;
    }
    const int32_t lastX = Int16At(bytes, 8) - Int16At(bytes, 4);
    const int32_t lastY = Int16At(bytes, 10) - Int16At(bytes, 6);
    const int64_t count = (int64_t{decoded.LastX} + 1) * (int64_t{decoded.LastY} + 1);
    if (decoded.LastX != lastX || decoded.LastY != lastY)
        outcome.Problem = "extent differs from the header";
    else if (decoded.LastX < 0 || decoded.LastY < 0)
        outcome.Problem = "accepted a negative extent";
    else if (static_cast<int64_t>(decoded.Pixels.size()) != count)
        outcome.Problem = "delivered " + std::to_string(decoded.Pixels.size()) + " pixels for " + std::to_string(count);
    else if (bytes[bytes.size() - 769] != 12)
        outcome.Problem = "accepted a palette without its marker";
    else {
        const std::size_t rgb = bytes.size() - 768;
        for (std::size_t i = 0; i < 256; ++i) {
            const PaletteEntry expected{bytes[rgb + 3 * i + 2], bytes[rgb + 3 * i + 1], bytes[rgb + 3 * i], 0};
            if (!(decoded.Colours[i] == expected)) {
                outcome.Problem = "palette entry " + std::to_string(i) + " is not the file's";
                break;
            }
        }
    }
    return outcome;
}

std::string LoadBmpChecked(const std::string& path, const std::vector<uint8_t>& bytes,
                           const std::optional<modBmp::DecodedBmp>& decoded) {
    if (!WriteFile(path, bytes)) return "cannot write " + path;
    const auto pixelsBefore = modBmp::BmpPixels();
    const auto paletteBefore = modBmp::BmpPalette();
    const auto headerBefore = modBmp::BmpHeader();

    std::string problem;
    bool loaded = false;
    Recorded(BmpAllocationBound(bytes.size()), bytes, [&] { loaded = modBmp::LoadBMPFile(path, false); }, problem);
    if (!problem.empty()) return "LoadBMPFile " + problem;
    if (loaded != decoded.has_value()) return "LoadBMPFile and DecodeBmp disagree";

    const auto& pixels = loaded ? decoded->Pixels : pixelsBefore;
    const auto& palette = loaded ? decoded->Colours : paletteBefore;
    const auto& header = loaded ? decoded->Header : headerBefore;
    if (modBmp::BmpPixels() != pixels) return loaded ? "BmpPixels is not the decoded picture" : "a refused load changed BmpPixels";
    if (modBmp::BmpPalette() != palette) return loaded ? "BmpPalette is not the file's" : "a refused load changed BmpPalette";
    if (modBmp::BmpHeader().Width != header.Width || modBmp::BmpHeader().Height != header.Height ||
        modBmp::BmpHeader().Size != header.Size)
        return loaded ? "BmpHeader is not the file's" : "a refused load changed BmpHeader";
    return "";
}

std::string LoadPcxChecked(const std::string& path, const std::vector<uint8_t>& bytes,
                           const std::optional<modPCX::DecodedPcx>& decoded) {
    if (!WriteFile(path, bytes)) return "cannot write " + path;
    const auto pixelsBefore = modPCX::PcxPixels();
    const auto paletteBefore = modPCX::PcxPalette();
    const int32_t lastXBefore = modPCX::PcxLastX();
    const int32_t lastYBefore = modPCX::PcxLastY();

    std::string problem;
    bool loaded = false;
    Recorded(PcxAllocationBound(bytes.size()), bytes, [&] { loaded = modPCX::LoadPCXFile(path); }, problem);
    if (!problem.empty()) return "LoadPCXFile " + problem;
    if (loaded != decoded.has_value()) return "LoadPCXFile and DecodePcx disagree";

    const auto& pixels = loaded ? decoded->Pixels : pixelsBefore;
    const auto& palette = loaded ? decoded->Colours : paletteBefore;
    const int32_t lastX = loaded ? decoded->LastX : lastXBefore;
    const int32_t lastY = loaded ? decoded->LastY : lastYBefore;
    if (modPCX::PcxPixels() != pixels || modPCX::PcxPalette() != palette || modPCX::PcxLastX() != lastX ||
        modPCX::PcxLastY() != lastY)
        return loaded ? "the module state is not the decoded picture" : "a refused load changed the module state";
    return "";
}

}  // namespace readerchecks
