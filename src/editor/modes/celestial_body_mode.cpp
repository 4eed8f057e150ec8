// Mode 20: a press makes a celestial body under the pointer, with a random
// velocity and colour; the editor then returns to mode 0.
#include <random>

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
            CreateCelestialBody(world, {e.FieldX, e.FieldY}, pixel, [this] { return uniform_(random_); });
        });
        host().StartPointStale();
        if (Right(e)) host().PopUpObjectMenu();
        host().Arm(0);
    }

private:
    std::mt19937_64 random_{std::random_device{}()};
    std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

}  // namespace

std::unique_ptr<EditMode> MakeCelestialBodyMode(EditorHost& host) { return std::make_unique<CelestialBodyMode>(host); }

}  // namespace velo
