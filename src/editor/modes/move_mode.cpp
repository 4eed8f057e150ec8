// Mode 254: the object pressed follows the pointer and lands at the pointer
// less the offset at which it was taken.
#include "editing/hit_test.h"
#include "editing/moving.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class MoveMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return 254; }

    void Press(const FieldMouseEvent& e) override {
        const HitResult hit = ObjectAt(host().CurrentWorld(), {e.FieldX, e.FieldY});
        if (Right(e)) {
            // A right press selects instead, as in mode 0.
            host().Arm(0);
            return;
        }
        if (!hit.Any()) return;
        grab_ = GrabObject(host().CurrentWorld(), hit, e.Model);
        if (!grab_.Object.Any()) return;
        host().Select([&](World& w) {
            w.CurrentKind = static_cast<std::uint8_t>(hit.Kind == 11 || hit.Kind == 13 ? 9 : hit.Kind);
            w.CurrentNumber = hit.Number;
        });
        host().BeginEdit(QStringLiteral("Перемещение"));
        host().SetScenePointer(QCursor(Qt::BlankCursor));
    }

    void Move(const FieldMouseEvent& e) override {
        if (!grab_.Object.Any()) return;
        host().Live([&](World& w) { PlaceGrabbed(w, grab_, e.Model); });
        host().ShowPointerPosition(e.Model - grab_.Offset);
    }

    void Release(const FieldMouseEvent& e) override {
        if (!grab_.Object.Any()) return;
        host().Live([&](World& w) { PlaceGrabbed(w, grab_, e.Model); });
        Cancel();
    }

    void Cancel() override {
        if (!grab_.Object.Any()) return;
        grab_ = {};
        host().EndEdit();
        host().SetScenePointer(Pointer());
    }

private:
    Grab grab_;
};

}  // namespace

std::unique_ptr<EditMode> MakeMoveMode(EditorHost& host) { return std::make_unique<MoveMode>(host); }

}  // namespace velo
