#pragma once
// Makes damaged copies of a valid file, reproducibly from a seed: bit flips, bytes set to
// boundary values, header fields overwritten with extreme numbers, truncation, insertion,
// duplication and removal of stretches.

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
    Mutator(uint32_t seed, std::vector<std::size_t> fieldOffsets)
        : random_(seed), fieldOffsets_(std::move(fieldOffsets)) {}

    // One to three damages applied to a copy of original; describe says which.
    std::vector<uint8_t> Mutate(const std::vector<uint8_t>& original, std::string& describe) {
        std::vector<uint8_t> bytes = original;
        describe.clear();
        const uint32_t damages = 1 + Below(3);
        for (uint32_t i = 0; i < damages; ++i) DamageOnce(bytes, describe);
        return bytes;
    }

private:
    uint32_t Below(std::size_t bound) {
        return bound == 0 ? 0 : static_cast<uint32_t>(random_() % bound);
    }

    uint32_t ExtremeValue(std::size_t fileSize) {
        static const uint32_t values[] = {0,      1,      2,          0x7F,       0x80,       0xFF,      0x100,
                                          0x7FFF, 0x8000, 0xFFFF,     0x10000,    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                          0xFFFFFFFE, 96, 0xFFFFFFA0, 0x00010000, 0x40000000};
        const uint32_t pick = Below(sizeof(values) / sizeof(values[0]) + 3);
        if (pick < sizeof(values) / sizeof(values[0])) return values[pick];
        // Values near the file's own size, which readers compare offsets against.
        return static_cast<uint32_t>(fileSize) + (pick % 3) - 1;
    }

    void DamageOnce(std::vector<uint8_t>& bytes, std::string& describe) {
        static const uint8_t boundaries[] = {0x00, 0xFF, 0x80, 0x7F};
        const std::size_t size = bytes.size();
        switch (Below(8)) {
            case 0:
                if (size == 0) return;
                {
                    const std::size_t at = Below(size);
                    const uint32_t bit = Below(8);
                    bytes[at] = static_cast<uint8_t>(bytes[at] ^ (1u << bit));
                    describe += " flip@" + std::to_string(at) + "." + std::to_string(bit);
                }
                return;
            case 1:
                if (size == 0) return;
                {
                    const std::size_t at = Below(size);
                    bytes[at] = boundaries[Below(4)];
                    describe += " set@" + std::to_string(at);
                }
                return;
            case 2:
            case 3: {
                if (fieldOffsets_.empty()) return;
                const std::size_t at = fieldOffsets_[Below(fieldOffsets_.size())];
                const bool wide = Below(2) == 0;
                const uint32_t value = ExtremeValue(size);
                const std::size_t width = wide ? 4 : 2;
                for (std::size_t k = 0; k < width && at + k < size; ++k)
                    bytes[at + k] = static_cast<uint8_t>(value >> (8 * k));
                describe += " field@" + std::to_string(at) + "=" + std::to_string(value) + (wide ? "/32" : "/16");
                return;
            }
            case 4: {
                const std::size_t length = Below(size + 1);
                bytes.resize(length);
                describe += " truncate:" + std::to_string(length);
                return;
            }
            case 5: {
                const std::size_t at = Below(size + 1);
                const std::size_t count = 1 + Below(16);
                std::vector<uint8_t> inserted;
                for (std::size_t k = 0; k < count; ++k) inserted.push_back(static_cast<uint8_t>(random_()));
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(), inserted.end());
                describe += " insert@" + std::to_string(at) + "x" + std::to_string(count);
                return;
            }
            case 6: {
                if (size == 0) return;
                const std::size_t from = Below(size);
                const std::size_t count = 1 + Below(std::min<std::size_t>(size - from, 512));
                const std::size_t to = Below(size + 1);
                const std::vector<uint8_t> copy(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                                bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(to), copy.begin(), copy.end());
                describe += " duplicate@" + std::to_string(from) + "x" + std::to_string(count) + "->" +
                            std::to_string(to);
                return;
            }
            default: {
                if (size == 0) return;
                const std::size_t from = Below(size);
                const std::size_t count = 1 + Below(std::min<std::size_t>(size - from, 64));
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                            bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
                describe += " erase@" + std::to_string(from) + "x" + std::to_string(count);
                return;
            }
        }
    }

    std::mt19937 random_;
    std::vector<std::size_t> fieldOffsets_;
};

}  // namespace mutation
