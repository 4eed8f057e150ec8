// Mode 6: the first press picks the suspension point nearest to the needle
// of the pointer (27 pixels right of and 22 pixels below it), the second
// press fixes the free end at the needle and lays the thread out as a
// hanging chain; the editor returns to mode 0.
#include <QPainter>

#include "editing/creation.h"
#include "editor/modes/modes.h"
#include "engine/chain_layout.h"
#include "engine/geometry.h"

namespace velo {
namespace {

class ThreadMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return ModeThread; }
    QCursor Pointer() const override { return PointerFor(ModeThread); }

    void Press(const FieldMouseEvent& e) override {
        const World& w = host().CurrentWorld();
        needle_ = Needle(w, e.Model);
        if (stage_ == 0) {
            laval_ = NearestLaval(w, needle_);
            if (laval_ == 0) return;
            stage_ = 1;
            host().SetScenePointer(PointerFor(-ModeThread));
            host().Redraw();
            return;
        }
        const int laval = laval_;
        const Vec2 end = needle_;
        stage_ = 0;
        host().Edit(QStringLiteral("Нить"), [&](World& world) { CreateThread(world, laval, end); });
        host().StartPointStale();
        if (Right(e)) host().PopUpObjectMenu();
        host().Arm(0);
    }

    void Move(const FieldMouseEvent& e) override {
        if (stage_ == 0) return;
        const World& w = host().CurrentWorld();
        needle_ = Needle(w, e.Model);
        host().ShowHint(LengthHint(Distance(w.Lavals[laval_].Position, needle_)));
        host().Redraw();
    }

    void Cancel() override { stage_ = 0; }

    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (stage_ == 0) return;
        painter.setPen(QPen(Qt::darkGray, 1));
        painter.drawLine(ToPixel(view, host().CurrentWorld().Lavals[laval_].Position), ToPixel(view, needle_));
    }

private:
    static Vec2 Needle(const World& w, Vec2 pointer) {
        const double pixel = w.PointsPerPixel / w.Params.FieldScale;
        return pointer + Vec2{27 * pixel, -22 * pixel};
    }

    int stage_ = 0;
    int laval_ = 0;
    Vec2 needle_;
};

}  // namespace

std::unique_ptr<EditMode> MakeThreadMode(EditorHost& host) { return std::make_unique<ThreadMode>(host); }

}  // namespace velo
