#pragma once
// Makes damaged copies of a valid file, reproducibly from a seed: bit flips, bytes set to
// boundary values, size and offset fields overwritten with extreme numbers, truncation,
// insertion, duplication and removal of stretches.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace mutation {

class Mutator {
public:
    // fieldOffsets: where the format keeps its sizes and offsets (16- and 32-bit fields).
    Mutator(uint32_t seed, std::vector<std::size_t> fieldOffsets) : random_(seed), fields_(std::move(fieldOffsets)) {}

    // One to three damages applied to a copy of original; describe says which.
    std::vector<uint8_t> Mutate(const std::vector<uint8_t>& original, std::string& describe) {
        std::vector<uint8_t> bytes = original;
        describe.clear();
        for (uint32_t i = 0, damages = 1 + Below(3); i < damages; ++i) DamageOnce(bytes, describe);
        return bytes;
    }

private:
    uint32_t Below(std::size_t bound) { return bound == 0 ? 0 : static_cast<uint32_t>(random_() % bound); }
    auto At(std::size_t offset) { return bytes_->begin() + static_cast<std::ptrdiff_t>(offset); }

    uint32_t ExtremeValue() {
        static const uint32_t values[] = {0,          1,          2,          0x7F,       0x80,   0xFF,      0x100,
                                          0x7FFF,     0x8000,     0xFFFF,     0x10000,    96,     0x7FFFFFFF, 0x80000000,
                                          0xFFFFFFFF, 0xFFFFFFFE, 0xFFFFFFA0, 0x40000000};
        const std::size_t count = sizeof(values) / sizeof(values[0]);
        const uint32_t pick = Below(count + 3);
        // Otherwise a value next to the file's own size, which readers compare offsets against.
        return pick < count ? values[pick] : static_cast<uint32_t>(bytes_->size() + pick - count) - 1;
    }

    void DamageOnce(std::vector<uint8_t>& bytes, std::string& describe) {
        bytes_ = &bytes;
        const std::size_t size = bytes.size();
        const auto say = [&describe](const std::string& what, std::size_t at, std::size_t n) {
            describe += " " + what + "@" + std::to_string(at) + "x" + std::to_string(n);
        };
        const uint32_t kind = Below(8);
        if (size == 0 && kind != 2 && kind != 3 && kind != 5) return;
        if (kind == 0) {  // flip one bit
            const std::size_t at = Below(size);
            bytes[at] = static_cast<uint8_t>(bytes[at] ^ (1u << Below(8)));
            say("flip", at, 1);
        } else if (kind == 1) {  // a boundary byte
            static const uint8_t boundaries[] = {0x00, 0xFF, 0x80, 0x7F};
            const std::size_t at = Below(size);
            bytes[at] = boundaries[Below(4)];
            say("set", at, 1);
        } else if (kind == 2 || kind == 3) {  // an extreme number in a size or offset field
            const std::size_t at = fields_[Below(fields_.size())];
            const std::size_t width = Below(2) == 0 ? 4 : 2;
            const uint32_t value = ExtremeValue();
            for (std::size_t k = 0; k < width && at + k < size; ++k) bytes[at + k] = static_cast<uint8_t>(value >> (8 * k));
            say("field=" + std::to_string(value), at, width);
        } else if (kind == 4) {
            const std::size_t length = Below(size + 1);
            bytes.resize(length);
            say("truncate", length, 0);
        } else if (kind == 5) {  // random bytes inserted
            const std::size_t at = Below(size + 1);
            const std::size_t count = 1 + Below(16);
            for (std::size_t k = 0; k < count; ++k) bytes.insert(At(at), static_cast<uint8_t>(random_()));
            say("insert", at, count);
        } else if (kind == 6) {  // a stretch duplicated elsewhere
            const std::size_t from = Below(size);
            const std::size_t count = 1 + Below(std::min<std::size_t>(size - from, 512));
            const std::vector<uint8_t> copy(At(from), At(from + count));
            const std::size_t to = Below(size + 1);
            bytes.insert(At(to), copy.begin(), copy.end());
            say("duplicate-to-" + std::to_string(to), from, count);
        } else {  // a stretch removed
            const std::size_t from = Below(size);
            const std::size_t count = 1 + Below(std::min<std::size_t>(size - from, 64));
            bytes.erase(At(from), At(from + count));
            say("erase", from, count);
        }
    }

    std::mt19937 random_;
    std::vector<std::size_t> fields_;
    std::vector<uint8_t>* bytes_ = nullptr;
};

}  // namespace mutation
