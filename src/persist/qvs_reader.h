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
// Section 2 at `offset`. Returns the offset where section 3 starts.
std::int64_t ReadParameters(ByteReader& in, World& world, std::int64_t offset);

struct ObjectSectionReport {
    bool UnknownMaterial = false;  // some object's Material was beyond MaterialCount
};
// Section 3 at `offset`, up to the end of the records of every kind
// described (also kinds above 9, which are skipped). Leaves the reader
// right after the last record.
ObjectSectionReport ReadObjects(ByteReader& in, World& world, std::int64_t offset);

}  // namespace velo
