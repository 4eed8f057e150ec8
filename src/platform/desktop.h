// Where the program's own files are, and handing a document to the desktop.
#pragma once

#include <filesystem>

class QIcon;

namespace velo {

// The folder holding "Language", "Help", "Graphics" and the template
// "New.qvs" for a program in `programDir`: the program's own folder (the
// build tree, a program unpacked in one folder), or, for a program installed
// as "<prefix>/bin/velocitronimatics", "<prefix>/share/velocitronimatics".
std::filesystem::path ProgramDataFolder(const std::filesystem::path& programDir);

// The program's icon, for its windows: "Graphics/Icons/velocitronimatics.svg"
// of the data folder (read by Qt's SVG plugin), else the desktop theme's
// icon of that name; null when neither is there.
QIcon ProgramIcon(const std::filesystem::path& dataFolder);

// Opens a file with the desktop's program for it (an HTML page in the web
// browser); false when the desktop could not.
bool OpenWithDesktop(const std::filesystem::path& file);

}  // namespace velo
