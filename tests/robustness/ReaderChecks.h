#pragma once
// Runs one file through a reader and says what, if anything, is wrong with the outcome. An
// empty text means the outcome is proper: a refusal, or a picture consistent with its size,
// with no allocation larger than the file could justify and no exception.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imagefiles/modBmp.h"
#include "imagefiles/modPCX.h"

namespace readerchecks {

// The largest single allocation a reader may make for a file of bytes. A PCX packet of two
// bytes holds at most 63 pixels. A BMP run-length packet of two bytes may stand for 255 pixels
// and its end-of-line and delta escapes skip further, so a BMP picture may be up to 256 times
// larger than its file. The constant covers small fixed-size tables and allowances.
inline std::size_t PcxAllocationBound(std::size_t fileSize) { return 32 * fileSize + 64 * 1024; }
inline std::size_t BmpAllocationBound(std::size_t fileSize) { return 256 * fileSize + 64 * 1024; }

struct BmpOutcome {
    std::optional<modBmp::DecodedBmp> Decoded;
    std::string Problem;
};

struct PcxOutcome {
    std::optional<modPCX::DecodedPcx> Decoded;
    std::string Problem;
};

BmpOutcome DecodeBmpChecked(const std::vector<uint8_t>& bytes);
PcxOutcome DecodePcxChecked(const std::vector<uint8_t>& bytes);

// Loads bytes through the file at path and compares the module state with the decoded result
// (or, when the decode refused the file, with the state before the load).
std::string LoadBmpChecked(const std::string& path, const std::vector<uint8_t>& bytes,
                           const std::optional<modBmp::DecodedBmp>& decoded);
std::string LoadPcxChecked(const std::string& path, const std::vector<uint8_t>& bytes,
                           const std::optional<modPCX::DecodedPcx>& decoded);

}  // namespace readerchecks
