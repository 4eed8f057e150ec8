// The start point: a snapshot of the World at simulated time 0 in the
// instance folder, which "Стартовые условия" brings back. It is a
// simulation file with both embedded lengths 0: the background and the
// description stay in the working copies of the instance folder.
#pragma once

#include <filesystem>
#include <string>

#include "model/messages.h"
#include "model/world.h"

namespace velo {

// T = 0; in a mechanical project the start point file is replaced by one
// written from the current World, in one step: until the new file is
// whole the old one stays. `previousInUse` says that the file at hand is
// the start point the restore command brings back. Returns true when a
// start point of this project exists afterwards (the restore command may
// be enabled): the new one, or the one in use when the new one could not
// be written; false in other project kinds and when there is none. A
// failure is shown through the messenger with what the restore command
// does now.
bool WriteStartPoint(World& world, const std::filesystem::path& file, const std::string& authorText,
                     bool previousInUse, Messenger& messenger);

// When the file exists: the World is replaced by the snapshot's units,
// materials, parameters and objects (the header is not checked), T = 0 and
// the project is marked changed; returns true. Without the file nothing
// happens and the result is false.
bool RestoreStartPoint(World& world, const std::filesystem::path& file, Messenger& messenger);

}  // namespace velo
