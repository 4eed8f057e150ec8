// Mode 250: the rubber rectangle selects the suspension points, balls and
// cylinders inside it, live; the release returns to mode 0.
#include <QPainter>

#include "editing/selection.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class GroupMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return 250; }
    QCursor Pointer() const override { return PointerFor(250); }

    void Press(const FieldMouseEvent& e) override {
        from_ = to_ = e.Model;
        active_ = true;
        host().Redraw();
    }
    void Move(const FieldMouseEvent& e) override {
        if (!active_) return;
        to_ = e.Model;
        host().Select([&](World& w) { SelectInRectangle(w, from_, to_); });
    }
    void Release(const FieldMouseEvent&) override {
        if (!active_) return;
        active_ = false;
        host().Arm(0);
    }
    void Cancel() override { active_ = false; }
    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (!active_) return;
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(ToPixel(view, from_), ToPixel(view, to_)).normalized());
    }

private:
    bool active_ = false;
    Vec2 from_, to_;
};

}  // namespace

std::unique_ptr<EditMode> MakeGroupMode(EditorHost& host) { return std::make_unique<GroupMode>(host); }

}  // namespace velo
