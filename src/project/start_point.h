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

// T = 0; in a mechanical project the start point file is deleted and
// written anew from the current World. Returns true when a start point of
// this project exists afterwards (the restore command may be enabled);
// false in other project kinds and when the file could not be written, in
// which case the reason was shown through the messenger.
bool WriteStartPoint(World& world, const std::filesystem::path& file, const std::string& authorText,
                     Messenger& messenger);

// When the file exists: the World is replaced by the snapshot's units,
// materials, parameters and objects (the header is not checked), T = 0 and
// the project is marked changed; returns true. Without the file nothing
// happens and the result is false.
bool RestoreStartPoint(World& world, const std::filesystem::path& file, Messenger& messenger);

}  // namespace velo
