// Mode 1: every press makes a suspension point at the pointer.
#include "editing/creation.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

class LavalMode : public EditMode {
public:
    using EditMode::EditMode;
    int Code() const override { return ModeLaval; }
    QCursor Pointer() const override { return PointerFor(ModeLaval); }
    void Press(const FieldMouseEvent& e) override {
        host().Edit(QStringLiteral("Подвес"), [&](World& w) { CreateLaval(w, e.Model); });
        if (Right(e)) host().PopUpObjectMenu();
    }
};

}  // namespace

std::unique_ptr<EditMode> MakeLavalMode(EditorHost& host) { return std::make_unique<LavalMode>(host); }

}  // namespace velo
