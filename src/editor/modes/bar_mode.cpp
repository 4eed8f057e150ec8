// Modes 2 and 3: a support or a wall. The press starts it 16 pixels before
// the pointer along its axis, the drag stretches it to the pointer showing
// its length, the release makes it. After a support the editor returns to
// mode 0; the wall mode stays.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "editing/creation.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class BarMode : public EditMode {
public:
    BarMode(EditorHost& host, int mode) : EditMode(host), mode_(mode) {}
    int Code() const override { return mode_; }
    QCursor Pointer() const override { return PointerFor(mode_); }

    void Press(const FieldMouseEvent& e) override {
        if (!Left(e) && !Right(e)) return;
        const World& w = host().CurrentWorld();
        const double pixel = w.PointsPerPixel / w.Params.FieldScale;
        coord_ = Wall() ? e.Model.X : e.Model.Y;
        from_ = Along(e.Model) - 16 * pixel;
        to_ = Along(e.Model) + 16 * pixel;
        half_ = w.Params.DefaultHalfThickness;
        right_ = Right(e);
        active_ = true;
        host().ShowHint(LengthHint(to_ - from_));
        host().Redraw();
    }

    void Move(const FieldMouseEvent& e) override {
        if (!active_) return;
        to_ = Along(e.Model);
        host().ShowHint(LengthHint(std::fabs(to_ - from_)));
        host().Redraw();
    }

    void Release(const FieldMouseEvent&) override {
        if (!active_) return;
        active_ = false;
        const int kind = Wall() ? KindWall : KindHand;
        host().Edit(Wall() ? QStringLiteral("Стена") : QStringLiteral("Опора"),
                    [&](World& w) { CreateBar(w, kind, coord_, from_, to_); });
        if (right_) host().PopUpObjectMenu();
        if (!Wall()) host().Arm(0);
    }

    void Cancel() override { active_ = false; }

    void Paint(QPainter& painter, const ViewTransform& view) const override {
        if (!active_) return;
        const double low = std::min(from_, to_), high = std::max(from_, to_);
        const Vec2 a = Wall() ? Vec2{coord_ - half_, low} : Vec2{low, coord_ - half_};
        const Vec2 b = Wall() ? Vec2{coord_ + half_, high} : Vec2{high, coord_ + half_};
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(ToPixel(view, a), ToPixel(view, b)).normalized().adjusted(0, 0, 1, 1));
    }

private:
    bool Wall() const { return mode_ == ModeWall; }
    double Along(Vec2 p) const { return Wall() ? p.Y : p.X; }

    int mode_;
    bool active_ = false;
    bool right_ = false;
    double coord_ = 0, from_ = 0, to_ = 0, half_ = 0;
};

}  // namespace

std::unique_ptr<EditMode> MakeBarMode(EditorHost& host, int mode) { return std::make_unique<BarMode>(host, mode); }

}  // namespace velo
