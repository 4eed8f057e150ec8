#include "persist/cp1251.h"

#include <array>
#include <cstdint>

namespace velo {
namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char32_t, 64> UpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t CodePointOf(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
    return UpperHalf[byte - 0x80];
}

int ByteOf(char32_t code) {
    if (code < 0x80) return static_cast<int>(code);
    if (code >= 0x0410 && code <= 0x044F) return static_cast<int>(0xC0 + (code - 0x0410));
    for (std::size_t k = 0; k < UpperHalf.size(); ++k) {
        if (UpperHalf[k] == code) return static_cast<int>(0x80 + k);
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string Utf8ToCp1251(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t k = 0;
    while (k < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[k]);
        int length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        }
        bool wellFormed = length > 0 && k + length <= utf8.size();
        for (int c = 1; wellFormed && c < length; ++c) {
            const auto next = static_cast<unsigned char>(utf8[k + c]);
            if ((next & 0xC0) != 0x80) {
                wellFormed = false;
            } else {
                code = (code << 6) | (next & 0x3F);
            }
        }
        if (!wellFormed) {
            // Skip the lead byte alone; its continuation bytes become "?"
            // in turn, one character each.
            out += '?';
            ++k;
            continue;
        }
        const int byte = ByteOf(code);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        k += static_cast<std::size_t>(length);
    }
    return out;
}

std::string Cp1251ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace velo
