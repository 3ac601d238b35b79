#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace tagvane {

// Reads a byte buffer front to back. Every read names how many bytes it needs
// and fails, without moving, when they are not there.
class ByteCursor {
public:
    ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t remaining() const { return size_ - offset_; }
    size_t offset() const { return offset_; }

    std::optional<uint8_t> byte() {
        if (remaining() < 1)
            return std::nullopt;
        return data_[offset_++];
    }

    std::optional<std::string> text(size_t n) {
        if (remaining() < n)
            return std::nullopt;
        std::string out(reinterpret_cast<const char*>(data_ + offset_), n);
        offset_ += n;
        return out;
    }

    // The bytes up to and including the next NUL; fails when no NUL is left.
    std::optional<std::string> textThroughNul() {
        if (remaining() == 0)
            return std::nullopt;
        const void* nul = std::memchr(data_ + offset_, 0, remaining());
        if (nul == nullptr)
            return std::nullopt;
        const size_t n = static_cast<size_t>(static_cast<const uint8_t*>(nul) - (data_ + offset_)) + 1;
        return text(n);
    }

    std::string rest() { return *text(remaining()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
};

} // namespace tagvane
