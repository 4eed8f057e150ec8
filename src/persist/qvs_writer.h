// The section writers of the simulation file, usable one by one (the start
// point and the template write only some of them).
#pragma once

#include <string>

#include "model/world.h"
#include "persist/byte_io.h"
#include "persist/qvs_file.h"

namespace velo {

// The 128-byte header of a mechanical file.
void WriteQvsHeader(ByteWriter& out, const std::string& authorText);
// Section 1: L1, the unit block and the material table.
void WriteUnitsAndMaterials(ByteWriter& out, const World& world);
// Section 2: L2 and the parameter record.
void WriteParameters(ByteWriter& out, const World& world);
// Section 3: all nine kinds, deleted objects included. Every ball and rod
// is written as its normalisation gives it, without changing the World.
void WriteObjects(ByteWriter& out, const World& world);
// Section 3 of the template: suspension points and supports, counts 0, the
// ZeroSupport record.
void WriteTemplateObjects(ByteWriter& out, const World& world);

// Lb, the background, Ld, the description.
void WriteEmbedded(ByteWriter& out, const std::vector<std::uint8_t>& background,
                   const std::vector<std::uint8_t>& description);

}  // namespace velo
