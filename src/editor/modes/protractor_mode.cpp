// Mode 12: the reference arm runs right from the pointer; the press starts
// the measuring arm, whose direction is shown in the angle unit; the
// release ends the measurement and returns the editor to mode 0.
#include <QPainter>

#include <cmath>

#include "editing/creation.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class ProtractorMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return ModeProtractor; }
    QCursor Pointer() const override { return QCursor(Qt::BlankCursor); }

    void Press(const FieldMouseEvent& e) override {
        from_ = to_ = e.Model;
        measuring_ = true;
        host().SetScenePointer(PointerFor(ModePeg));
        host().ShowHint(QStringLiteral("a = 0"));
        host().Redraw();
    }
    void Move(const FieldMouseEvent& e) override {
        if (!measuring_) {
            from_ = e.Model;
            reference_ = true;
            host().Redraw();
            return;
        }
        to_ = e.Model;
        const double unit = host().CurrentWorld().Units.AngleUnit;
        const double angle = DirectionAngle(from_, to_) / (unit > 0 ? unit : 1);
        host().ShowHint(QStringLiteral("a = ") + QString::number(angle, 'g', 7));
        host().Redraw();
    }
    void Release(const FieldMouseEvent&) override {
        if (!measuring_) return;
        measuring_ = false;
        reference_ = false;
        host().Arm(0);
    }
    void Cancel() override { measuring_ = reference_ = false; }
    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (!reference_ && !measuring_) return;
        painter.setPen(QPen(Qt::darkGreen, 1));
        const QPointF start = ToPixel(view, from_);
        painter.drawLine(start, QPointF(painter.device()->width(), start.y()));
        if (measuring_) painter.drawLine(start, ToPixel(view, to_));
    }

private:
    bool measuring_ = false, reference_ = false;
    Vec2 from_, to_;
};

}  // namespace

std::unique_ptr<EditMode> MakeProtractorMode(EditorHost& host) { return std::make_unique<ProtractorMode>(host); }

}  // namespace velo
