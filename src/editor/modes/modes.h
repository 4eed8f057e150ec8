// The editing modes, one file each.
#pragma once

#include <memory>

#include "editor/modes/edit_mode.h"

namespace velo {

std::unique_ptr<EditMode> MakeSelectMode(EditorHost& host);
std::unique_ptr<EditMode> MakeMoveMode(EditorHost& host);
std::unique_ptr<EditMode> MakeGroupMode(EditorHost& host);
std::unique_ptr<EditMode> MakeLavalMode(EditorHost& host);
// Support (mode 2) or wall (mode 3).
std::unique_ptr<EditMode> MakeBarMode(EditorHost& host, int mode);
std::unique_ptr<EditMode> MakePlaneMode(EditorHost& host);
// Ball (mode 5) or cylinder (mode 10).
std::unique_ptr<EditMode> MakeBodyMode(EditorHost& host, int mode);
std::unique_ptr<EditMode> MakeThreadMode(EditorHost& host);
std::unique_ptr<EditMode> MakeRodMode(EditorHost& host);
std::unique_ptr<EditMode> MakeSurfaceMode(EditorHost& host);
// Parabola (9), hyperbola (11) or ellipse (13).
std::unique_ptr<EditMode> MakeCurveMode(EditorHost& host, int mode);
std::unique_ptr<EditMode> MakeRulerMode(EditorHost& host);
std::unique_ptr<EditMode> MakeCelestialBodyMode(EditorHost& host);
std::unique_ptr<EditMode> MakeProtractorMode(EditorHost& host);

// Pointers of the modes, drawn by the program.
QCursor PointerFor(int mode);

}  // namespace velo
