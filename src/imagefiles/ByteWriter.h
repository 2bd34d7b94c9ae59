#pragma once
// Little-endian values appended to bytes held in memory, the counterpart of ByteReader: a file
// is built front to back, each value written as the file layout names it, whatever the host.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace imagefiles {

class ByteWriter {
public:
    ByteWriter() = default;
    // Room for a file of the size given, so that building it allocates once.
    explicit ByteWriter(std::size_t expectedSize) { bytes_.reserve(expectedSize); }

    void U8(uint8_t value) { bytes_.push_back(value); }
    void U16(uint16_t value) {
        bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes_.push_back(static_cast<uint8_t>(value >> 8));
    }
    void I16(int16_t value) { U16(static_cast<uint16_t>(value)); }  // two's complement
    void U32(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>((value >> shift) & 0xFF));
    }
    void I32(int32_t value) { U32(static_cast<uint32_t>(value)); }
    void Bytes(std::span<const uint8_t> bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }
    void Zeros(std::size_t count) { bytes_.resize(bytes_.size() + count, 0); }

    std::size_t Position() const { return bytes_.size(); }
    const std::vector<uint8_t>& Data() const { return bytes_; }
    // The bytes written, handed over; the writer is empty afterwards.
    std::vector<uint8_t> Release() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace imagefiles
