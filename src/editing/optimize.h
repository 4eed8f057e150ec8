// "Оптимизировать...": the three clean-ups of the optimisation window, run
// in this order.
#pragma once

#include "model/world.h"

namespace velo {

// Deletes supports (from 1), walls, and free balls and cylinders that lie
// wholly outside the visible field; other kinds stay.
void RemoveObjectsOutsideField(World& world);

// Closes the gaps of deleted walls, inclined planes and polyline surfaces:
// the records after a gap move down and the count shrinks. Other tables
// keep their numbers.
void RenumberObjects(World& world);

// Every material from 1 on that no object uses loses its name (its slot
// becomes free), and the table is trimmed.
void RemoveUnusedMaterials(World& world);

}  // namespace velo
