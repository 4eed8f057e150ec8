// Export of a recording and of the collision log as CSV: UTF-8, comma
// separated, one header line naming each column with its unit, numbers with
// a decimal point whatever the locale, in the shortest form that reads back
// to the same double.
//
// Spreadsheet programs on Windows read a CSV file as the system's narrow
// code page unless it begins with the UTF-8 byte order mark: the writers
// put it first when asked (the program's export does; the command-line
// tool only with --bom, its files being read by scripts).
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

#include "model/world.h"
#include "record/collision_log.h"
#include "record/recorder.h"

namespace velo {

// "Шар №3", "Цилиндр №3" (by the ball's shape now), "Стержень №2", "Сцена".
std::string SeriesObjectName(const World& world, const SeriesKey& key);
// "Шар №3: x" — for legends.
std::string SeriesTitle(const World& world, const SeriesKey& key);
// "Шар №3: x (м)" — a column of the CSV, the label of an axis.
std::string SeriesHeader(const World& world, const SeriesKey& key);

inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
void WriteByteOrderMark(std::ostream& out);

// The time column, then one column per series. A row per sample; a series
// added later has empty cells before its first sample, and a missing
// object's NaN is written as an empty cell. Values as DisplayValue gives
// them (angles in the project's angle unit).
void WriteRecordingCsv(std::ostream& out, const Recorder& recorder, const World& world, bool byteOrderMark = false);

// The same a line at a time, for a writer that streams its rows: the
// header of the series `keys`, and one row of their `values` (in the keys'
// order, as stored: angles in radians) at `time`.
void WriteRecordingHeader(std::ostream& out, std::span<const SeriesKey> keys, const World& world,
                          bool byteOrderMark = false);
void WriteRecordingRow(std::ostream& out, double time, std::span<const SeriesKey> keys, std::span<const double> values,
                       const World& world);

// One row per event: step, time, the two objects (kind name and number),
// normal and tangential impulse, the velocities before and after.
void WriteCollisionCsv(std::ostream& out, const CollisionLog& log, const World& world, bool byteOrderMark = false);
void WriteCollisionHeader(std::ostream& out, const World& world, bool byteOrderMark = false);
void WriteCollisionRow(std::ostream& out, const ImpulseEvent& event, const World& world);

}  // namespace velo
