#pragma once

#include "text/Text.hpp"

#include <algorithm>

namespace zorlo {

// A VALUE as a list hands it out. Most values are paths and addresses whose
// characters all lie below U+0100, and the list keeps those at a byte a
// character, which halves what they take; so a view reads either UTF-16
// characters or such bytes, and gives characters both ways.
class ValueView {
  public:
    ValueView() = default;
    ValueView(TextView text) noexcept : wide_(text.data()), size_(text.size()) {}
    ValueView(const Text& text) noexcept : ValueView(TextView(text)) {}
    ValueView(const char16_t* text) : ValueView(TextView(text)) {}
    ValueView(const unsigned char* bytes, std::size_t size) noexcept : bytes_(bytes), size_(size) {}

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    char16_t operator[](std::size_t at) const noexcept {
        return bytes_ != nullptr ? bytes_[at] : wide_[at];
    }
    // Whether every character fits a byte, so that copyBytes keeps it whole.
    // One loop for each way a value is kept, the test not made per character:
    // a load copies every value this way.
    bool fitsBytes() const noexcept {
        char16_t all = 0;
        if (bytes_ == nullptr) {
            for (std::size_t at = 0; at < size_; ++at) {
                all |= wide_[at];
            }
        }
        return all < 0x100;
    }
    void copyBytes(unsigned char* to) const noexcept {
        if (bytes_ != nullptr) {
            std::copy(bytes_, bytes_ + size_, to);
        } else {
            std::transform(wide_, wide_ + size_, to,
                           [](char16_t c) { return static_cast<unsigned char>(c); });
        }
    }
    void copyTo(char16_t* to) const noexcept {
        if (bytes_ != nullptr) {
            std::copy(bytes_, bytes_ + size_, to);
        } else {
            std::copy(wide_, wide_ + size_, to);
        }
    }
    void appendTo(Text& out) const {
        const std::size_t from = out.size();
        out.resize(from + size_);
        copyTo(out.data() + from);
    }
    operator Text() const {
        Text text;
        appendTo(text);
        return text;
    }

    friend bool operator==(ValueView a, ValueView b) noexcept {
        if (a.size_ != b.size_) {
            return false;
        }
        for (std::size_t at = 0; at < a.size_; ++at) {
            if (a[at] != b[at]) {
                return false;
            }
        }
        return true;
    }

  private:
    const char16_t* wide_ = nullptr;
    const unsigned char* bytes_ = nullptr;
    std::size_t size_ = 0;
};

// A pair as a list hands it out, its texts held by the list.
struct BinView {
    TextView NAME;
    ValueView VALUE;
};

// One name/value pair of the macro or parameter list.
struct Bin {
    Text NAME;
    Text VALUE;

    operator BinView() const { return {NAME, VALUE}; }
};

} // namespace zorlo
