#pragma once
// Bounds-checked little-endian reads from bytes held in memory. Every read names its offset
// and fails, rather than reading past the end, when the bytes are not all there.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace imagefiles {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    // True when count bytes starting at offset all lie inside the data (overflow-safe).
    bool Has(uint64_t offset, uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }

    std::optional<uint8_t> U8(uint64_t offset) const {
        if (!Has(offset, 1)) return std::nullopt;
        return bytes_[static_cast<std::size_t>(offset)];
    }
    std::optional<uint16_t> U16(uint64_t offset) const {
        if (!Has(offset, 2)) return std::nullopt;
        const auto at = static_cast<std::size_t>(offset);
        return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::optional<int16_t> I16(uint64_t offset) const {
        const auto value = U16(offset);
        if (!value) return std::nullopt;
        return static_cast<int16_t>(*value);  // two's complement, defined since C++20
    }
    std::optional<uint32_t> U32(uint64_t offset) const {
        if (!Has(offset, 4)) return std::nullopt;
        const auto at = static_cast<std::size_t>(offset);
        return static_cast<uint32_t>(bytes_[at]) | (static_cast<uint32_t>(bytes_[at + 1]) << 8) |
               (static_cast<uint32_t>(bytes_[at + 2]) << 16) | (static_cast<uint32_t>(bytes_[at + 3]) << 24);
    }
    std::optional<int32_t> I32(uint64_t offset) const {
        const auto value = U32(offset);
        if (!value) return std::nullopt;
        return static_cast<int32_t>(*value);  // two's complement, defined since C++20
    }

    // The count bytes at offset, or nothing when they are not all there.
    std::optional<std::span<const uint8_t>> Bytes(uint64_t offset, uint64_t count) const {
        if (!Has(offset, count)) return std::nullopt;
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }

private:
    std::span<const uint8_t> bytes_;
};

}  // namespace imagefiles
