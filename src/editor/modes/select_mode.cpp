// Mode 0: a press selects the object under the pointer (Ctrl+press toggles
// it); with "AllowMoving" a ball or cylinder pressed is dragged along,
// keeping the offset between the pointer and its centre.
#include "editing/hit_test.h"
#include "editing/moving.h"
#include "editing/selection.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class SelectMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return 0; }

    void Press(const FieldMouseEvent& e) override {
        const HitResult hit = ObjectAt(host().CurrentWorld(), {e.FieldX, e.FieldY});
        if (!hit.Any()) return;
        host().Select([&](World& w) { ToggleSelected(w, hit.Kind, hit.Number); });
        if (Right(e)) {
            host().PopUpObjectMenu();
            return;
        }
        const bool body = hit.Kind == KindBall || hit.Kind == KindCylinder;
        if (Left(e) && body && host().SettingFlag("AllowMoving")) {
            grab_ = GrabObject(host().CurrentWorld(), hit, e.Model);
            if (grab_.Object.Any()) host().BeginEdit(QStringLiteral("Перемещение"));
        }
    }

    void Move(const FieldMouseEvent& e) override {
        if (!grab_.Object.Any()) return;
        host().Live([&](World& w) { PlaceGrabbed(w, grab_, e.Model); });
    }

    void Release(const FieldMouseEvent&) override { Cancel(); }

    void Cancel() override {
        if (!grab_.Object.Any()) return;
        grab_ = {};
        host().EndEdit();
    }

private:
    Grab grab_;
};

}  // namespace

std::unique_ptr<EditMode> MakeSelectMode(EditorHost& host) { return std::make_unique<SelectMode>(host); }

}  // namespace velo
