#include "persist/byte_io.h"

#include <bit>
#include <cstring>

#include "persist/cp1251.h"

namespace velo {

void ByteWriter::I16(std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    U8(static_cast<std::uint8_t>(bits & 0xFF));
    U8(static_cast<std::uint8_t>(bits >> 8));
}

void ByteWriter::I32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) U8(static_cast<std::uint8_t>((bits >> shift) & 0xFF));
}

void ByteWriter::F64(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int shift = 0; shift < 64; shift += 8) U8(static_cast<std::uint8_t>((bits >> shift) & 0xFF));
}

void ByteWriter::Text(const std::string& utf8, std::size_t width) {
    std::string encoded = Utf8ToCp1251(utf8);
    encoded.resize(width, ' ');
    bytes_.insert(bytes_.end(), encoded.begin(), encoded.end());
}

void ByteWriter::Bytes(const std::uint8_t* data, std::size_t size) {
    if (size > 0) bytes_.insert(bytes_.end(), data, data + size);
}

ByteReader ByteReader::Window(std::int64_t begin, std::int64_t length) const {
    const auto parentEnd = static_cast<std::int64_t>(end_);
    std::int64_t first = begin < static_cast<std::int64_t>(begin_) ? static_cast<std::int64_t>(begin_) : begin;
    if (first > parentEnd) first = parentEnd;
    std::int64_t last = length < 0 ? first : begin + length;
    if (last > parentEnd) last = parentEnd;
    if (last < first) last = first;
    return ByteReader(data_, static_cast<std::size_t>(first), static_cast<std::size_t>(last));
}

const std::uint8_t* ByteReader::Take(std::size_t count) {
    if (!ok_ || count > end_ - pos_) {
        ok_ = false;
        return nullptr;
    }
    const std::uint8_t* at = data_ + pos_;
    pos_ += count;
    return at;
}

std::uint8_t ByteReader::U8() {
    const std::uint8_t* at = Take(1);
    return at ? at[0] : 0;
}

std::int16_t ByteReader::I16() {
    const std::uint8_t* at = Take(2);
    if (!at) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | (at[1] << 8)));
}

std::int32_t ByteReader::I32() {
    const std::uint8_t* at = Take(4);
    if (!at) return 0;
    std::uint32_t bits = 0;
    for (int k = 3; k >= 0; --k) bits = (bits << 8) | at[k];
    return static_cast<std::int32_t>(bits);
}

double ByteReader::F64() {
    const std::uint8_t* at = Take(8);
    if (!at) return 0;
    std::uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) bits = (bits << 8) | at[k];
    return std::bit_cast<double>(bits);
}

std::string ByteReader::Text(std::size_t width, bool trim) {
    const std::uint8_t* at = Take(width);
    if (!at) return {};
    std::string raw(reinterpret_cast<const char*>(at), width);
    if (trim) {
        const auto last = raw.find_last_not_of(' ');
        raw.erase(last == std::string::npos ? 0 : last + 1);
    }
    return Cp1251ToUtf8(raw);
}

std::vector<std::uint8_t> ByteReader::Bytes(std::int64_t count) {
    if (count < 0) {
        ok_ = false;
        return {};
    }
    const std::uint8_t* at = Take(static_cast<std::size_t>(count));
    if (!at) return {};
    return std::vector<std::uint8_t>(at, at + count);
}

void ByteReader::Seek(std::int64_t position) {
    if (position < static_cast<std::int64_t>(begin_) || position > static_cast<std::int64_t>(end_)) {
        ok_ = false;
        return;
    }
    pos_ = static_cast<std::size_t>(position);
}

}  // namespace velo
