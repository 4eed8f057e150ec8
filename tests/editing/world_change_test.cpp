// Undo and redo of an edit through the records it changed.
#include <gtest/gtest.h>

#include <memory>

#include "../../examples/example_scenes.h"
#include "celestial/bodies.h"
#include "editing/world_change.h"
#include "model/world_ops.h"
#include "persist/world_json.h"

namespace velo {
namespace {

std::string Json(const World& w) { return WorldToJson(w, {}).dump(); }

TEST(WorldChange, UndoAndRedoGiveBackEveryField) {
    using Edit = void (*)(World&);
    const Edit edits[] = {
        [](World& w) { DeleteObject(w, KindBall, 1); },
        [](World& w) { NewObject(w, KindBall); w.Balls[w.BallCount].Position = {1, 2}; },
        [](World& w) { w.Params.Gravity = 1.62; w.Units.LengthUnitName = "см"; },
        [](World& w) { w.Materials.Items[1].Name = "сталь 2"; w.Materials.Restitution[5] = 0.25; },
        [](World& w) {
            const int n = NewObject(w, KindSurface).Number;
            w.Surfaces[n].Points.assign(SurfacePointCapacity, Vec2{});
            w.Surfaces[n].PointCount = 2;
            w.Surfaces[n].Points[1] = {3, 4};
            w.Surfaces[n].Exists = true;
        },
        [](World& w) { ClearSelection(w); w.Changed = true; },
        [](World& w) { w.T += 12.5; w.Celestial.CelestialTimeScale = 7; },  // an imported scene
    };
    for (const ExampleScene& scene : ExampleScenes()) {
        for (Edit edit : edits) {
            auto before = std::make_unique<World>();
            BuildExample(*before, scene);
            auto after = std::make_unique<World>(*before);
            edit(*after);
            const WorldChange change = DiffWorlds(*before, *after);

            auto undone = std::make_unique<World>(*after);
            UndoChange(*undone, change);
            EXPECT_EQ(Json(*undone), Json(*before)) << scene.FileName;
            auto redone = std::make_unique<World>(*undone);
            RedoChange(*redone, change);
            EXPECT_EQ(Json(*redone), Json(*after)) << scene.FileName;
        }
    }
}

TEST(WorldChange, KeepsOnlyWhatChanged) {
    auto before = std::make_unique<World>();
    DefaultWorld(*before);
    for (int k = 0; k < BallCapacity; ++k) NewObject(*before, KindBall);
    auto after = std::make_unique<World>(*before);
    EXPECT_TRUE(DiffWorlds(*before, *after).Empty());
    for (int n = 1; n <= BallCapacity; ++n) DeleteObject(*after, KindBall, n);
    const WorldChange change = DiffWorlds(*before, *after);
    EXPECT_EQ(change.Balls.size(), static_cast<std::size_t>(BallCapacity));
    EXPECT_TRUE(change.Pegs.empty());
    // A record and a few bytes per deleted ball.
    EXPECT_LT(change.Bytes(), BallCapacity * (sizeof(Ball) + 128));
}

TEST(WorldChange, KeepsTheCelestialZoomUnlessTheStepSetTheView) {
    auto before = std::make_unique<World>();
    DefaultWorld(*before);
    auto after = std::make_unique<World>(*before);
    after->Celestial.CelestialTimeScale = 60;
    const WorldChange constants = DiffWorlds(*before, *after);
    StepViewAngleH(after->Celestial, true);  // the keypad zoom, no step
    const CelestialParameters zoomed = after->Celestial;
    UndoChange(*after, constants);
    EXPECT_EQ(after->Celestial.CelestialTimeScale, 3600);
    EXPECT_EQ(after->Celestial.ViewAngleH, zoomed.ViewAngleH);
    EXPECT_EQ(after->Celestial.ObserverDistance, zoomed.ObserverDistance);

    // A step that set the view takes it back.
    auto viewed = std::make_unique<World>(*before);
    SetViewAngleH(viewed->Celestial, 1);
    const WorldChange view = DiffWorlds(*before, *viewed);
    StepViewAngleH(viewed->Celestial, true);
    UndoChange(*viewed, view);
    EXPECT_EQ(viewed->Celestial, before->Celestial);
}

}  // namespace
}  // namespace velo
