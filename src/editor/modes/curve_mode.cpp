// Modes 9, 11 and 13: a parabola, hyperbola or ellipse. Stage 0: a left
// press fixes the centre; stage 1: the drag draws the axis, whose direction
// becomes the rotation; stage 2: the pointer shapes the arc, which passes
// through it, previewed exactly as it will be drawn; a press makes it and
// returns the editor to mode 0.
#include <QPainter>

#include "editing/creation.h"
#include "editor/modes/modes.h"
#include "engine/geometry.h"
#include "view/world_renderer.h"

namespace velo {
namespace {

class CurveMode : public EditMode {
public:
    CurveMode(EditorHost& host, int mode) : EditMode(host), mode_(mode) {}
    int Code() const override { return mode_; }
    QCursor Pointer() const override { return PointerFor(mode_); }

    void Press(const FieldMouseEvent& e) override {
        if (stage_ == 0) {
            if (!Left(e)) {
                host().Arm(0);
                return;
            }
            centre_ = axisEnd_ = e.Model;
            stage_ = 1;
            host().StartPointStale();
            host().Redraw();
            return;
        }
        if (stage_ == 1) {
            stage_ = 0;
            host().Arm(0);
            return;
        }
        Surface2 shape = shape_;
        stage_ = 0;
        host().Edit(QStringLiteral("Поверхность второго порядка"), [&](World& w) { CreateCurve(w, shape); });
        if (Right(e)) host().PopUpObjectMenu();
        host().Arm(0);
    }

    void Move(const FieldMouseEvent& e) override {
        if (stage_ == 1) {
            axisEnd_ = e.Model;
            host().Redraw();
        } else if (stage_ == 2) {
            ShapeCurveThrough(shape_, axisLength_, e.Model);
            host().Redraw();
        }
    }

    void Release(const FieldMouseEvent& e) override {
        if (stage_ != 1) return;
        axisEnd_ = e.Model;
        axisLength_ = Distance(centre_, axisEnd_);
        const World& w = host().CurrentWorld();
        if (axisLength_ == 0) axisLength_ = 30 * w.PointsPerPixel / w.Params.FieldScale;
        shape_ = CurveAt((mode_ - 7) / 2, centre_, DirectionAngle(centre_, axisEnd_), axisLength_);
        shape_.Material = w.Params.DefaultMaterial;
        shape_.HalfThickness = w.Params.DefaultHalfThickness;
        shape_.Exists = true;
        ShapeCurveThrough(shape_, axisLength_, e.Model);
        stage_ = 2;
        host().Redraw();
    }

    void Cancel() override { stage_ = 0; }

    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (stage_ == 1) {
            painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
            painter.drawLine(ToPixel(view, centre_), ToPixel(view, axisEnd_));
        } else if (stage_ == 2) {
            const DrawContext context{painter, host().CurrentWorld(), view, RenderSettings{}};
            DrawSurface2(context, shape_, ChangeableMarker);
        }
    }

private:
    int mode_;
    int stage_ = 0;
    Vec2 centre_, axisEnd_;
    double axisLength_ = 0;
    Surface2 shape_;
};

}  // namespace

std::unique_ptr<EditMode> MakeCurveMode(EditorHost& host, int mode) { return std::make_unique<CurveMode>(host, mode); }

}  // namespace velo
