// Creating, deleting and resetting objects of the World.
#pragma once

#include <string>

#include "model/world.h"

namespace velo {

// Table access by kind.
std::int32_t& CountOf(World& world, int kind);
std::int32_t CountOf(const World& world, int kind);
int CapacityOf(int kind);

// New object of the given kind (1..10; 10 is a cylinder in the ball table).
// Refuses at capacity (with the kind's message where it has one, silently
// otherwise) and a thread with no suspension point, leaving the World
// unchanged. On success increments the count, sets CurrentKind and
// CurrentNumber and initialises the record with the creation defaults; the
// caller fills in the geometry.
struct NewObjectResult {
    int Number = 0;          // 0 when refused
    std::string Message;     // refusal text; may be empty for silent refusals
    bool Ok() const { return Number > 0; }
};
NewObjectResult NewObject(World& world, int kind);

// Clears Exists of the object and releases the references to it.
void DeleteObject(World& world, int kind, int number);

// Tells the step that a fixed object (suspension point, support, wall,
// plane or surface) has changed, a vertex moved in place among them. Every
// routine that edits a fixed object calls it; creating, deleting and
// clearing do so themselves.
void MarkFixedSceneChanged(World& world);

// Clears Selected of every object, supports from the ZeroSupport on, and
// makes no object current.
void ClearSelection(World& world);

// Empties every table (counts 0, ZeroSupport off, polyline vertices
// released) and marks the project unchanged. Other fields keep their values.
void ClearWorld(World& world);

// Defaults of a new mechanical project.
void DefaultWorld(World& world);

// Common ending of the capacity messages.
extern const char* const CapacityMessageEnding;
inline constexpr const char* NoLavalMessage = "Нет ни одного подвеса";

}  // namespace velo
