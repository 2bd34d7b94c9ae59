#include "gaf/WorkBudget.h"

namespace gaf {

namespace {

// Adds amount to spent when that stays within limit.
bool Take(uint64_t& spent, uint64_t amount, uint64_t limit) {
    if (amount > limit - spent) return false;
    spent += amount;
    return true;
}

bool Refuse(imagefiles::FileFailure* Why, const std::string& what) {
    imagefiles::Report(Why, imagefiles::FailureKind::TooManyPixels, what);
    return false;
}

}  // namespace

std::string CountText(uint64_t count) {
    constexpr uint64_t kMi = 1024 * 1024;
    constexpr uint64_t kKi = 1024;
    if (count >= kMi && count % kMi == 0) return std::to_string(count / kMi) + " Mi";
    if (count >= kKi && count % kKi == 0) return std::to_string(count / kKi) + " Ki";
    return std::to_string(count);
}

bool WorkBudget::ChargeSteps(uint64_t steps, imagefiles::FileFailure* Why) {
    if (Take(steps_, steps, limits_.MaxWork)) return true;
    return Refuse(Why, "decoding the file takes more than " + CountText(limits_.MaxWork) +
                           " steps (one per pixel or data byte, counted again for every frame used again)");
}

bool WorkBudget::ChargeParts(uint64_t parts, imagefiles::FileFailure* Why) {
    if (Take(parts_, parts, limits_.MaxParts)) return true;
    return Refuse(Why, "the file has more than " + CountText(limits_.MaxParts) +
                           " entries and frames (counted again for every frame used again)");
}

bool WorkBudget::ChargeFile(uint64_t bytes, imagefiles::FileFailure* Why) {
    if (files_ >= limits_.MaxFilesWritten)
        return Refuse(Why, "the extraction would write more than " + CountText(limits_.MaxFilesWritten) + " files");
    if (!Take(bytes_, bytes, limits_.MaxBytesWritten))
        return Refuse(Why, "the extraction would write more than " + CountText(limits_.MaxBytesWritten) + " bytes");
    ++files_;
    return true;
}

}  // namespace gaf
