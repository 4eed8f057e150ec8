// The automatic copies written whenever a run starts: the whole World with
// its embedded files, in the autosave folder, read-only, never deleted.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "model/messages.h"
#include "model/world.h"
#include "persist/qvs_file.h"

namespace velo {

inline constexpr const char* CantAutosaveMessage = "Can't autosave";

// "autosave_" + local date and time as yyyymmdd_hhmmss + ".qvs" in the
// folder. When that name is taken (a second copy within the same second)
// "_2", "_3", ... is added before ".qvs".
std::filesystem::path AutosavePath(const std::filesystem::path& folder,
                                   std::chrono::system_clock::time_point now);

// Creates the folder when missing and writes the copy; returns its path.
// When the folder cannot be made or the copy cannot be written, warns with
// "Can't autosave" (and the reason) and returns nothing; the run starts
// anyway. World::Changed is not touched.
std::optional<std::filesystem::path> WriteAutosave(World& world,
                                                   const std::filesystem::path& folder,
                                                   const QvsSaveOptions& options,
                                                   std::chrono::system_clock::time_point now,
                                                   Messenger& messenger);

}  // namespace velo
