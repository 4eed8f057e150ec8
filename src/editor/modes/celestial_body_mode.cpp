// Mode 20: a press makes a celestial body under the pointer, with a random
// velocity and colour from the editor's random source; the editor then
// returns to mode 0.
#include "editing/celestial_edits.h"
#include "editing/creation.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class CelestialBodyMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return ModeHBody; }
    QCursor Pointer() const override { return PointerFor(ModeHBody); }

    void Press(const FieldMouseEvent& e) override {
        const World& w = host().CurrentWorld();
        const double pixel = w.PointsPerPixel;
        host().Edit(QStringLiteral("Небесное тело"), [&](World& world) {
            CreateCelestialBody(world, {e.FieldX, e.FieldY}, pixel, [this] { return host().Uniform(); });
        });
        host().StartPointStale();
        if (Right(e)) host().PopUpObjectMenu();
        host().Arm(0);
    }
};

}  // namespace

std::unique_ptr<EditMode> MakeCelestialBodyMode(EditorHost& host) { return std::make_unique<CelestialBodyMode>(host); }

}  // namespace velo
