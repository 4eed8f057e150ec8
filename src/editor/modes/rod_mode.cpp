// Mode 7: a rod drawn from the press to the release, hung on the suspension
// point it crosses, or on the nearest one.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "editing/creation.h"
#include "editor/modes/modes.h"
#include "engine/geometry.h"

namespace velo {
namespace {

class RodMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return ModePeg; }
    QCursor Pointer() const override { return PointerFor(ModePeg); }

    void Press(const FieldMouseEvent& e) override {
        if (!Left(e) && !Right(e)) return;
        from_ = to_ = e.Model;
        active_ = true;
        right_ = Right(e);
        host().SetScenePointer(QCursor(Qt::BlankCursor));
    }
    void Move(const FieldMouseEvent& e) override {
        if (!active_) return;
        to_ = e.Model;
        host().ShowHint(LengthHint(Distance(from_, to_)));
        host().Redraw();
    }
    void Release(const FieldMouseEvent& e) override {
        if (!active_) return;
        active_ = false;
        to_ = e.Model;
        host().SetScenePointer(Pointer());
        if (Distance(from_, to_) == 0) return;
        const int layer = host().Layer();
        host().Edit(QStringLiteral("Стержень"), [&](World& w) { CreateRod(w, from_, to_, layer); });
        if (right_) host().PopUpObjectMenu();
    }
    void Cancel() override { active_ = false; }
    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (!active_) return;
        const double width = std::max(1.0, std::floor(NewRodWidth * view.FieldScale / view.PointsPerPixel));
        painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(ToPixel(view, from_), ToPixel(view, to_));
    }

private:
    bool active_ = false, right_ = false;
    Vec2 from_, to_;
};

}  // namespace

std::unique_ptr<EditMode> MakeRodMode(EditorHost& host) { return std::make_unique<RodMode>(host); }

}  // namespace velo
