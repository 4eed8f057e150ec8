// How a window changes the World: through the editor's history, as one step.
#pragma once

#include <QString>

#include <functional>

#include "model/world.h"

namespace velo {

using WorldEdit = std::function<void(const QString& name, const std::function<void(World&)>& change)>;

// What the main window gives a property window.
struct WindowServices {
    // The scene. A window may write only its preview here (the working copy
    // in slot 0, the hidden original, a fixed object's preview) and must put
    // it back before it closes or edits.
    World* Scene = nullptr;
    // Accepted changes: one step of the history, then a redraw.
    WorldEdit Edit;
    // Redraws the whole scene after a preview change.
    std::function<void()> Redraw;
    // Redraws the movable objects only, the fixed scene's picture kept: for
    // previews of balls, cylinders and rods.
    std::function<void()> RedrawMovable;
    // The radius new balls (kind 5) or cylinders (kind 10) are made with.
    std::function<void(int kind, double radius)> SetNewBodyRadius;
    std::function<void(const QString& text)> CopyText;
    // "График…" of the ball and rod windows: a graph window of the object
    // (kind and number), opened without taking the focus.
    std::function<void(int kind, int number)> OpenGraph;
};

}  // namespace velo
