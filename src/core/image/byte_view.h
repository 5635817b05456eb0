#pragma once
// Little-endian reads from a byte range that refuse to run past its end: every
// decoder asks `has` before it reads, so a lying header can never make it read
// outside the file.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace tarn {

class ByteView {
public:
    ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t size() const { return size_; }
    // True when [offset, offset + count) lies inside the range; never overflows.
    bool has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size_ && count <= size_ - offset;
    }
    const std::uint8_t* at(std::size_t offset) const { return data_ + offset; }
    std::uint8_t u8(std::size_t offset) const { return data_[offset]; }
    std::uint16_t u16(std::size_t offset) const {
        return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
    }
    std::uint32_t u32(std::size_t offset) const {
        return static_cast<std::uint32_t>(data_[offset]) |
               (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
    }
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Appends little-endian values to a growing file image.
template <typename Buffer>
void putU16(Buffer& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
template <typename Buffer>
void putU32(Buffer& out, std::uint32_t v) {
    putU16(out, v & 0xFFFF);
    putU16(out, v >> 16);
}
template <typename Buffer>
void putI16(Buffer& out, std::int16_t v) {
    putU16(out, static_cast<std::uint16_t>(v));
}
template <typename Buffer>
void putI32(Buffer& out, std::int32_t v) {
    putU32(out, static_cast<std::uint32_t>(v));
}
// IEEE single precision, as every little-endian file format here stores floats.
template <typename Buffer>
void putF32(Buffer& out, float v) {
    putU32(out, std::bit_cast<std::uint32_t>(v));
}

}  // namespace tarn
