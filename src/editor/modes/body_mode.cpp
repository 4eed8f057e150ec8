// Modes 5 and 10: every press makes a ball or a cylinder at the pointer, of
// the size the "BallSize" setting chooses (0: the last radius of that shape).
#include "editing/creation.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class BodyMode : public EditMode {
public:
    BodyMode(EditorHost& host, int mode) : EditMode(host), mode_(mode) {}
    int Code() const override { return mode_; }
    QCursor Pointer() const override { return PointerFor(mode_); }

    void Press(const FieldMouseEvent& e) override {
        if (!Left(e) && !Right(e)) return;
        const World& world = host().CurrentWorld();
        const int kind = mode_ == ModeCylinder ? KindCylinder : KindBall;
        const int size = host().SettingNumber("BallSize");
        double& last = host().LastRadius(kind);
        const double pixelRadius = world.PointsPerPixel / world.Params.FieldScale;
        const double radius = size == 0 && last > 0 ? last : BallSizePixels(size) * pixelRadius;
        last = radius;
        const bool marked = !host().SettingFlag("NoCreateMarkedObjects");
        const int layer = host().Layer();
        host().Edit(kind == KindCylinder ? QStringLiteral("Цилиндр") : QStringLiteral("Шар"),
                    [&](World& w) { CreateBody(w, kind, e.Model, radius, layer, marked); });
        host().StartPointStale();
        if (Right(e)) host().PopUpObjectMenu();
    }

private:
    int mode_;
};

}  // namespace

std::unique_ptr<EditMode> MakeBodyMode(EditorHost& host, int mode) { return std::make_unique<BodyMode>(host, mode); }

}  // namespace velo
