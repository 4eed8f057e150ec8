// The whole World as JSON, for the command-line tool's dump and for tests.
//
// Layout: top-level keys Header, Units, Parameters, Materials, T and one
// array per table (Laval, Hand, Wall, Plane, Ball, Thread, Peg, Surface,
// Surface2). Each array element holds "number" and every field of the record
// under the record's own field name; deleted records are included (Exists
// false) for numbers 1..count, 0..count for supports.
//  - 2-vectors are [x, y]; flags are booleans; bytes and integers are numbers.
//  - Reals are printed with the shortest text that reads back to the same
//    double. Non-finite reals, which JSON cannot hold, are the strings "NaN",
//    "Infinity" and "-Infinity".
//  - A polyline surface lists its PointCount vertices; a thread lists points
//    0..SegmentCount and its per-segment arrays for segments 1..SegmentCount.
//  - Materials holds MaterialCount, Items (0..MaterialCount) and the six pair
//    tables as matrices: Restitution[i][j] is the value of the ordered pair
//    (i moving, j other) for i, j = 0..MaterialCount.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "model/world.h"

namespace velo {

// What the file header said; not part of the World itself.
struct JsonHeaderInfo {
    std::string Signature;
    std::string AuthorText;
    int RequiredVersion = 0;
    int RequiredBuild = 0;
    int RecommendedVersion = 0;
    int RecommendedBuild = 0;
    int WriterVersion = 0;
    int WriterBuild = 0;
};

nlohmann::ordered_json WorldToJson(const World& world, const JsonHeaderInfo& header);

// A real as JSON: a number, or one of the strings above when not finite.
nlohmann::ordered_json RealToJson(double value);

}  // namespace velo
