// The section writers of the simulation file, usable one by one (the start
// point and the template write only some of them).
#pragma once

#include <string>

#include "model/world.h"
#include "persist/byte_io.h"
#include "persist/qvs_file.h"

namespace velo {

// Record sizes of the object kinds 1..9 as this program writes them.
inline constexpr std::int32_t LavalRecordSize = 26;
inline constexpr std::int32_t HandWallRecordSize = 35;
inline constexpr std::int32_t PlaneRecordSize = 44;
inline constexpr std::int32_t BallRecordSize = 192;
inline constexpr std::int32_t ThreadRecordSize = 0;
inline constexpr std::int32_t PegRecordSize = 212;
inline constexpr std::int32_t SurfaceRecordSize = 19;  // plus 16 per vertex
inline constexpr std::int32_t Surface2RecordSize = 70;
inline constexpr std::int32_t MaterialRecordSize = 36;
inline constexpr std::int32_t PairRecordSize = 48;
inline constexpr std::int32_t ParameterSectionLength = 160;
inline constexpr int HeaderSize = 128;
inline constexpr int AuthorTextWidth = 80;

// The declared length of section 1 for a table of materials 0..n: three
// bytes more than the content, which ends in three zero bytes.
constexpr std::int32_t UnitsSectionLength(int n) { return (48 * n + 36) * (n + 1) + 70; }

// The 128-byte header of a mechanical file.
void WriteQvsHeader(ByteWriter& out, const std::string& authorText);
// Section 1: L1, the unit block and the material table.
void WriteUnitsAndMaterials(ByteWriter& out, const World& world);
// Section 2: L2 and the parameter record.
void WriteParameters(ByteWriter& out, const World& world);
// Section 3: all nine kinds, deleted objects included. Normalises every
// ball and rod right before writing it.
void WriteObjects(ByteWriter& out, World& world);
// Section 3 of the template: suspension points and supports, counts 0, the
// ZeroSupport record.
void WriteTemplateObjects(ByteWriter& out, const World& world);
// Writes the bytes to a temporary file beside `path` and renames it over
// `path` only when all of them were written.
SaveResult WriteFileAtomically(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// Lb, the background, Ld, the description.
void WriteEmbedded(ByteWriter& out, const std::vector<std::uint8_t>& background,
                   const std::vector<std::uint8_t>& description);

}  // namespace velo
