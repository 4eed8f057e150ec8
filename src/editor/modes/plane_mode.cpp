// Mode 4: an inclined plane from the press to the release.
#include <QPainter>

#include "editing/creation.h"
#include "editor/modes/modes.h"
#include "engine/geometry.h"

namespace velo {
namespace {

class PlaneMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return ModePlane; }
    QCursor Pointer() const override { return PointerFor(ModePlane); }

    void Press(const FieldMouseEvent& e) override {
        p1_ = p2_ = e.Model;
        active_ = true;
        right_ = Right(e);
        host().ShowHint(LengthHint(0));
    }
    void Move(const FieldMouseEvent& e) override {
        if (!active_) return;
        p2_ = e.Model;
        host().ShowHint(LengthHint(Distance(p1_, p2_)));
        host().Redraw();
    }
    void Release(const FieldMouseEvent& e) override {
        if (!active_) return;
        active_ = false;
        p2_ = e.Model;
        if (Distance(p1_, p2_) == 0) return;  // a click alone makes no plane
        host().Edit(QStringLiteral("Плоскость"), [&](World& w) { CreatePlane(w, p1_, p2_); });
        if (right_) host().PopUpObjectMenu();
    }
    void Cancel() override { active_ = false; }
    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (!active_) return;
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(ToPixel(view, p1_), ToPixel(view, p2_));
    }

private:
    bool active_ = false, right_ = false;
    Vec2 p1_, p2_;
};

}  // namespace

std::unique_ptr<EditMode> MakePlaneMode(EditorHost& host) { return std::make_unique<PlaneMode>(host); }

}  // namespace velo
