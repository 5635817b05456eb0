#pragma once
// The pixels of a Skin, shared between copies until one of them is written.
// A model may name many skins that all get the same temporary checkerboard,
// and a Skin's stored state equals its pixels until the first stroke: both
// would otherwise hold one full copy each.
//
// Every non-const access (operator[], data(), begin(), a span) first makes
// the buffer the holder's own, so code that writes pixels needs no care; code
// that only reads should do so through a const reference to keep it shared.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace tarn {

class PixelBuffer {
public:
    using Bytes = std::vector<std::uint8_t>;
    using value_type = std::uint8_t;
    using iterator = std::uint8_t*;
    using const_iterator = const std::uint8_t*;

    PixelBuffer() = default;
    PixelBuffer(Bytes bytes) : p_(std::make_shared<Bytes>(std::move(bytes))) {}
    PixelBuffer& operator=(Bytes bytes) {
        p_ = std::make_shared<Bytes>(std::move(bytes));
        return *this;
    }

    std::size_t size() const { return p_ ? p_->size() : 0; }
    bool empty() const { return size() == 0; }
    const std::uint8_t* data() const { return p_ ? p_->data() : nullptr; }
    std::uint8_t* data() { return own().data(); }
    const std::uint8_t& operator[](std::size_t i) const { return (*p_)[i]; }
    std::uint8_t& operator[](std::size_t i) { return own()[i]; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + size(); }
    iterator begin() { return data(); }
    iterator end() { return data() + size(); }

    const Bytes& bytes() const { return p_ ? *p_ : empty_(); }
    // The pixels as this holder's own vector, for code that rewrites them whole.
    Bytes& edit() { return own(); }
    operator const Bytes&() const { return bytes(); }

    void assign(std::size_t count, std::uint8_t value) { *this = Bytes(count, value); }
    void resize(std::size_t count) { own().resize(count); }
    void clear() { p_.reset(); }
    void shrink_to_fit() {}
    // Moves the pixels out when this holder is the only one, copies otherwise;
    // the buffer is empty afterwards.
    Bytes take() {
        Bytes out = p_ && p_.use_count() == 1 ? std::move(*p_) : bytes();
        p_.reset();
        return out;
    }
    // True when both hold the very same pixels (no copy was made between them).
    bool sharesWith(const PixelBuffer& other) const { return p_ && p_ == other.p_; }

    friend bool operator==(const PixelBuffer& a, const PixelBuffer& b) {
        return a.sharesWith(b) || a.bytes() == b.bytes();
    }
    friend bool operator==(const PixelBuffer& a, const Bytes& b) { return a.bytes() == b; }

private:
    Bytes& own() {
        if (!p_) p_ = std::make_shared<Bytes>();
        else if (p_.use_count() > 1) p_ = std::make_shared<Bytes>(*p_);
        return *p_;
    }
    static const Bytes& empty_() {
        static const Bytes none;
        return none;
    }
    std::shared_ptr<Bytes> p_;
};

}  // namespace tarn
