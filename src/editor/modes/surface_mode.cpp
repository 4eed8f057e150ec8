// Mode 8: every left press adds a vertex of a polyline surface; a right
// press, once there is a vertex, ends it. Another mode chosen before the end
// drops the vertices.
#include <QPainter>

#include <vector>

#include "editing/creation.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class SurfaceMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return ModeSurface; }
    QCursor Pointer() const override { return PointerFor(ModeSurface); }

    void Press(const FieldMouseEvent& e) override {
        if (Left(e)) {
            if (static_cast<int>(points_.size()) < SurfacePointCapacity) points_.push_back(e.Model);
            if (points_.size() == 1) host().StartPointStale();
            pointer_ = e.Model;
            host().Redraw();
            return;
        }
        if (!Right(e) || points_.empty()) return;
        const std::vector<Vec2> points = std::move(points_);
        points_.clear();
        host().Edit(QStringLiteral("Поверхность"), [&](World& w) { CreateSurface(w, points, false); });
        host().PopUpObjectMenu();  // ended by a right press
    }
    void Move(const FieldMouseEvent& e) override {
        if (points_.empty()) return;
        pointer_ = e.Model;
        host().Redraw();
    }
    void Cancel() override { points_.clear(); }
    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (points_.empty()) return;
        painter.setPen(QPen(Qt::black, 1));
        for (std::size_t k = 1; k < points_.size(); ++k) {
            painter.drawLine(ToPixel(view, points_[k - 1]), ToPixel(view, points_[k]));
        }
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(ToPixel(view, points_.back()), ToPixel(view, pointer_));
    }

private:
    std::vector<Vec2> points_;
    Vec2 pointer_;
};

}  // namespace

std::unique_ptr<EditMode> MakeSurfaceMode(EditorHost& host) { return std::make_unique<SurfaceMode>(host); }

}  // namespace velo
