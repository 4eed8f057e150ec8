// Little-endian byte buffers for the simulation file. The reader carries a
// sticky "ok" flag: a read past the end of its window returns zero and
// clears the flag, so a parser can run a whole record and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velo {

class ByteWriter {
public:
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void I16(std::int16_t value);
    void I32(std::int32_t value);
    void F64(double value);
    // A flag on disk: 0 false, -1 (0xFFFF) true.
    void Flag(bool value) { I16(value ? std::int16_t{-1} : std::int16_t{0}); }
    // A fixed text of `width` Windows-1251 characters, blank-padded.
    void Text(const std::string& utf8, std::size_t width);
    void Bytes(const std::uint8_t* data, std::size_t size);
    void Bytes(const std::vector<std::uint8_t>& data) { Bytes(data.data(), data.size()); }
    void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

    std::size_t Size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& Data() const { return bytes_; }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads a window [begin, end) of a byte array. Positions are absolute
// offsets into the array.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), begin_(0), end_(size), pos_(0) {}
    // A window of another reader; the window is cut to the parent's end.
    ByteReader Window(std::int64_t begin, std::int64_t length) const;

    std::uint8_t U8();
    std::int16_t I16();
    std::int32_t I32();
    double F64();
    bool Flag() { return I16() != 0; }
    // A fixed text of `width` Windows-1251 characters as UTF-8, with
    // trailing blanks removed when `trim` is set.
    std::string Text(std::size_t width, bool trim = true);
    std::vector<std::uint8_t> Bytes(std::int64_t count);

    // True when `count` more bytes lie inside the window.
    bool Has(std::int64_t count) const { return count >= 0 && count <= Remaining(); }
    std::int64_t Remaining() const { return static_cast<std::int64_t>(end_) - static_cast<std::int64_t>(pos_); }
    std::int64_t Position() const { return static_cast<std::int64_t>(pos_); }
    std::int64_t End() const { return static_cast<std::int64_t>(end_); }
    // Moves to an absolute position inside the window (the end included);
    // anywhere else clears the flag.
    void Seek(std::int64_t position);
    void Skip(std::int64_t count) { Seek(Position() + count); }

    bool Ok() const { return ok_; }
    void Fail() { ok_ = false; }

private:
    ByteReader(const std::uint8_t* data, std::size_t begin, std::size_t end)
        : data_(data), begin_(begin), end_(end), pos_(begin) {}
    const std::uint8_t* Take(std::size_t count);

    const std::uint8_t* data_;
    std::size_t begin_;
    std::size_t end_;
    std::size_t pos_;
    bool ok_ = true;
};

}  // namespace velo
