// The section readers of the simulation file, usable one by one. Each reads
// from a ByteReader over the whole file and clears the reader's flag when
// the data are impossible (a count above a table's capacity, a negative
// size, a record that runs past the end of the file): the caller then
// refuses the file as damaged.
#pragma once

#include <cstdint>
#include <string>

#include "model/world.h"
#include "persist/byte_io.h"

namespace velo {

struct QvsHeader {
    std::string Signature;  // trailing blanks removed
    std::uint8_t RequiredVersion = 0;
    std::int16_t RequiredBuild = 0;
    std::uint8_t RecommendedVersion = 0;
    std::int16_t RecommendedBuild = 0;
    std::uint8_t WriterVersion = 0;
    std::int16_t WriterBuild = 0;
    std::string AuthorText;  // as on disk, 80 characters
};

// Signature and the two version records (the first 38 bytes), then the
// writer record, the author text and the filler.
QvsHeader ReadQvsHeader(ByteReader& in);

// Section 1 at offset 128. Returns the offset where section 2 starts.
std::int64_t ReadUnitsAndMaterials(ByteReader& in, World& world);

// Section 1 in two steps, so that a file refused later leaves the units and
// the material table as they were: first its extent and the head of its
// material table, checked, without touching the World; then its content.
struct UnitsSection {
    std::int64_t Content = 0;  // offset of the content, after L1
    std::int32_t Declared = 0;  // L1
    std::int64_t Next = 0;  // where section 2 starts
    // The material table is read; otherwise it stays as it was.
    bool HasTable = false;
    std::uint8_t MaterialCount = 0;
    std::int32_t MaterialSize = 0;
    std::int32_t PairSize = 0;
};
UnitsSection LocateUnitsAndMaterials(ByteReader& in);
void ApplyUnitsAndMaterials(ByteReader& in, const UnitsSection& section, World& world);
// Section 2 at `offset`. Returns the offset where section 3 starts.
std::int64_t ReadParameters(ByteReader& in, World& world, std::int64_t offset);

struct ObjectSectionReport {
    bool UnknownMaterial = false;  // some object's Material was beyond MaterialCount
};
// Section 3 at `offset`, up to the end of the records of every kind
// described (also kinds above 9, which are skipped). Leaves the reader
// right after the last record. A material above `materialCount` becomes
// the ideal material.
ObjectSectionReport ReadObjects(ByteReader& in, World& world, std::int64_t offset, int materialCount);

}  // namespace velo
