#include "text/Text.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace zorlo {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five bytes that have no character.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one UTF-8 sequence at i; returns false when the bytes there are not valid UTF-8.
bool decodeUtf8At(std::string_view s, std::size_t& i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        ++i;
        return true;
    }
    int extra = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        return false;
    }
    if (i + extra >= s.size()) {
        return false;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return false;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return false;
    }
    i += extra + 1;
    return true;
}

// The text of the bytes; where they are not valid UTF-8, nothing when strict,
// else U+FFFD for each byte that begins no valid sequence. One pass into a
// text that is never longer than the bytes: a settings file is read whole.
std::optional<Text> decodeUtf8(std::string_view utf8, bool strict) {
    Text out(utf8.size(), u'\0');
    char16_t* to = out.data();
    std::size_t i = 0;
    char32_t cp = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            *to++ = static_cast<char16_t>(utf8[i++]); // settings files are mostly ASCII
        } else if (decodeUtf8At(utf8, i, cp)) {
            if (cp >= 0x10000) { // four bytes become two units
                cp -= 0x10000;
                *to++ = static_cast<char16_t>(0xD800 + (cp >> 10));
                *to++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            } else {
                *to++ = static_cast<char16_t>(cp);
            }
        } else if (strict) {
            return std::nullopt;
        } else {
            *to++ = u'\uFFFD';
            ++i;
        }
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

Text fromCp1252(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char16_t c = b;
        if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0) {
            c = kCp1252High[b - 0x80];
        }
        out.push_back(c); // undefined bytes keep their Latin-1 meaning
    }
    return out;
}

} // namespace

Text fromUtf8(std::string_view utf8) {
    return *decodeUtf8(utf8, false);
}

std::string toUtf8(TextView text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate cannot be written as UTF-8
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

char16_t foldCaseBeyondAscii(char16_t c) {
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return static_cast<char16_t>(c + 32);
    }
    switch (c) {
    case 0x0160:
    case 0x0152:
    case 0x017D:
        return static_cast<char16_t>(c + 1);
    case 0x0178:
        return 0x00FF;
    default:
        return c;
    }
}

char16_t upperCase(char16_t c) {
    if (c < 0x80) {
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return static_cast<char16_t>(c - 32);
    }
    switch (c) {
    case 0x0161:
    case 0x0153:
    case 0x017E:
        return static_cast<char16_t>(c - 1);
    case 0x00FF:
        return 0x0178;
    default:
        return c;
    }
}

bool equalsIgnoreCase(TextView a, TextView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) {
            return false;
        }
    }
    return true;
}

std::size_t findIgnoreCase(TextView text, TextView needle, std::size_t from) {
    if (needle.size() > text.size()) {
        return TextView::npos;
    }
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        if (equalsIgnoreCase(text.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return TextView::npos;
}

int compareFolded(TextView a, TextView b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t j = 0; j < common; ++j) {
        const char16_t fa = foldCase(a[j]);
        const char16_t fb = foldCase(b[j]);
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int comparePrefixFolded(TextView text, TextView word) {
    for (std::size_t j = 0; j < word.size(); ++j) {
        if (j == text.size()) {
            return -1;
        }
        const char16_t ft = foldCase(text[j]);
        const char16_t fw = foldCase(word[j]);
        if (ft != fw) {
            return ft < fw ? -1 : 1;
        }
    }
    return 0;
}

void lowerAsciiLetters(Text& text) {
    for (auto& c : text) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + 32);
        }
    }
}

int cp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == c && c != 0) {
            return static_cast<int>(0x80 + i);
        }
    }
    if (c >= 0x80 && c <= 0x9F) {
        return c; // the five undefined bytes read back as these controls
    }
    return -1;
}

Text decodeFileBytes(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    auto text = decodeUtf8(bytes, true);
    return text ? std::move(*text) : fromCp1252(bytes);
}

std::string encodeFileText(TextView text) {
    // The reader drops one leading byte order mark: a text that itself begins
    // with that character gets a mark in front, or the character would be lost.
    if (!text.empty() && text.front() == u'\uFEFF') {
        return "\xEF\xBB\xBF" + toUtf8(text);
    }
    return toUtf8(text);
}

Text toText(long long number) {
    const std::string s = std::to_string(number);
    return Text(s.begin(), s.end());
}

} // namespace zorlo
