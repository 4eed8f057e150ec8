// Mode 14: the ruler shows the length of the segment dragged out.
#include <QPainter>

#include "editor/modes/modes.h"
#include "engine/geometry.h"

namespace velo {
namespace {

class RulerMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return 14; }
    QCursor Pointer() const override { return PointerFor(14); }

    void Press(const FieldMouseEvent& e) override {
        from_ = to_ = e.Model;
        active_ = true;
        host().ShowHint(LengthHint(0));
        host().Redraw();
    }
    void Move(const FieldMouseEvent& e) override {
        if (!active_) return;
        to_ = e.Model;
        host().ShowHint(LengthHint(Distance(from_, to_)));
        host().Redraw();
    }
    void Release(const FieldMouseEvent&) override {
        active_ = false;
        host().Redraw();
    }
    void Cancel() override { active_ = false; }
    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (!active_) return;
        painter.setPen(QPen(Qt::blue, 1));
        painter.drawLine(ToPixel(view, from_), ToPixel(view, to_));
    }

private:
    bool active_ = false;
    Vec2 from_, to_;
};

}  // namespace

std::unique_ptr<EditMode> MakeRulerMode(EditorHost& host) { return std::make_unique<RulerMode>(host); }

}  // namespace velo
