// A celestial scene as JSON: celestial projects are not kept in simulation
// files, so this is how a person keeps one and how the command-line tool
// reads and writes one.
//
// Layout (every key in the place shown; no others):
//   {
//     "format": "velocitronimatics-celestial", "version": 1,
//     "T": 0,                                  (optional, default 0)
//     "parameters": {
//       "GravitationalConstant": 6.672e-11, "LightSpeed": 299792458,
//       "PlanckConstant": 6.6262e-34, "BoltzmannConstant": 1.3807e-23,
//       "CelestialTimeScale": 3600,
//       "ViewAngleH": 1.920140724811376        (radians, 0.1 to 3; the
//     },                                        vertical angle and the
//                                               projection distance follow)
//     "bodies": [
//       { "Name": "Sun",                       (optional; up to 16 characters)
//         "Radius": 6.96e8,                    (metres, 1e-40 to 1e40)
//         "DensityFormula": "1408",            (as typed in the body window)
//         "Density": 1408,                     (optional: the formula's mean)
//         "Position": [0, 0, -3e11],           (metres, x y z)
//         "Velocity": [0, 0, 0],               (metres per second)
//         "Colour": "#FFD040" },               (red, green, blue)
//       ...
//     ]
//   }
// The bodies are numbered 1, 2, ... in the order of the list; deleted
// bodies are not written. Units are those of the International System.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "model/world.h"
#include "persist/qvs_file.h"

namespace velo {

inline constexpr const char* CelestialSceneFormat = "velocitronimatics-celestial";
inline constexpr int CelestialSceneVersion = 1;

// The longest scene file read: 200 bodies as this program writes them take
// about 70 KB, so a megabyte leaves room for long density formulas and any
// layout, while a larger file (or a pipe or a device) never ties up the
// reader's time and memory.
inline constexpr std::size_t MaxCelestialSceneSize = std::size_t{1} << 20;

struct CelestialJsonText {
    bool Ok = false;
    std::string Text;     // the JSON, indented, ending in a line break
    std::string Message;  // why it could not be written; empty on success
};

// The celestial parameters, T and the existing bodies of the World. Fails
// when one of the values is not a finite number, which JSON cannot hold.
CelestialJsonText CelestialSceneToJson(const World& world);

struct CelestialReadResult {
    bool Ok = false;
    std::string Message;  // what is wrong with the text; empty on success
};

// Reads a scene. On success `world` becomes a new celestial project (the
// defaults of a new project, then the file's parameters, T and bodies, each
// body existing, movable and not selected, with its volume and mass). On
// failure `world` is left exactly as it was.
CelestialReadResult CelestialSceneFromJson(const std::string& text, World& world);

// The same for files; the save is atomic, as for simulation files. Only a
// regular file of at most MaxCelestialSceneSize bytes is read: a folder, a
// pipe, a device or a longer file is refused with a message that says so.
SaveResult SaveCelestialScene(const World& world, const std::filesystem::path& path);
SaveResult SaveCelestialScene(const World& world, AtomicFile& file);
CelestialReadResult LoadCelestialScene(const std::filesystem::path& path, World& world);

}  // namespace velo
