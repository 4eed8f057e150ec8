#include "editor/scene_editor.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QComboBox>
#include <QPainter>
#include <QUndoCommand>

#include <cmath>

#include "editing/celestial_edits.h"
#include "editing/creation.h"
#include "editing/hit_test.h"
#include "editing/selection.h"
#include "editing/world_change.h"
#include "editor/main_window.h"
#include "editor/modes/modes.h"
#include "engine/driver.h"
#include "engine/fastening.h"
#include "model/world_ops.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "windows/ball_window.h"
#include "windows/bar_window.h"
#include "windows/celestial_parameters_window.h"
#include "windows/celestial_time_window.h"
#include "windows/curve_window.h"
#include "windows/group_window.h"
#include "windows/hbody_window.h"
#include "windows/laval_window.h"
#include "windows/movable_window.h"
#include "windows/optimize_window.h"
#include "windows/peg_window.h"
#include "windows/plane_window.h"
#include "windows/surface_window.h"

namespace velo {
namespace {

inline constexpr const char* DeleteStepName = "Удаление";
inline constexpr double WheelZoomFactor = 1.25;

// One step of the history: the records an edit changed, before and after.
class WorldEditCommand : public QUndoCommand {
public:
    WorldEditCommand(SceneEditor& editor, World& world, const QString& name, WorldChange change)
        : QUndoCommand(name), editor_(editor), world_(world), change_(std::move(change)) {}

    void undo() override {
        UndoChange(world_, change_);
        editor_.AfterHistoryStep(FixedToo(), change_.Time.has_value());
    }
    void redo() override {
        // The edit itself has already been made when the step is pushed.
        if (std::exchange(first_, false)) return;
        RedoChange(world_, change_);
        editor_.AfterHistoryStep(FixedToo(), change_.Time.has_value());
    }

private:
    bool FixedToo() const {
        return change_.TouchesFixedScene() || change_.Units || change_.Materials || change_.Celestial ||
               !change_.HBodies.empty();
    }

    SceneEditor& editor_;
    World& world_;
    WorldChange change_;
    bool first_ = true;
};

std::unique_ptr<EditMode> MakeMode(EditorHost& host, int mode) {
    switch (mode) {
    case ModeLaval: return MakeLavalMode(host);
    case ModeHand:
    case ModeWall: return MakeBarMode(host, mode);
    case ModePlane: return MakePlaneMode(host);
    case ModeBall:
    case ModeCylinder: return MakeBodyMode(host, mode);
    case ModeThread: return MakeThreadMode(host);
    case ModePeg: return MakeRodMode(host);
    case ModeSurface: return MakeSurfaceMode(host);
    case ModeParabola:
    case ModeHyperbola:
    case ModeEllipse: return MakeCurveMode(host, mode);
    case ModeProtractor: return MakeProtractorMode(host);
    case ModeRuler: return MakeRulerMode(host);
    case ModeGroup: return MakeGroupMode(host);
    case ModeMove: return MakeMoveMode(host);
    case ModeHBody: return MakeCelestialBodyMode(host);
    default: return MakeSelectMode(host);
    }
}

}  // namespace

SceneEditor::SceneEditor(frmMain& window) : QObject(&window), window_(window), mode_(MakeSelectMode(*this)) {
    history_.setUndoLimit(500);
    // Two or more movable objects alone: their window (modeless).
    RegisterPropertyWindow(-1, [this](int) {
        auto* movable = new prpMovable(window_.world(), WindowEdit(), &window_);
        movable->setAttribute(Qt::WA_DeleteOnClose);
        movable->show();
    });
    RegisterPropertyWindow(KindBall, [this](int number) {
        const World& w = window_.world();
        if (number < 1 || number > std::min(w.BallCount, BallCapacity) || !w.Balls[static_cast<std::size_t>(number)].Exists) return;
        auto* ball = new prpBall(Services(), number, &window_);
        ball->show();
    });
    RegisterPropertyWindow(KindThread, [this](int number) {
        auto* thread = new prpThread(window_.world(), number, &window_);
        thread->setAttribute(Qt::WA_DeleteOnClose);
        thread->open();
    });
    // Two or more objects with a fixed one among them: the group's window.
    RegisterPropertyWindow(-2, [this](int) {
        GroupWindowActions actions;
        actions.SelectLinked = [this] { SelectLinkedCommand(); };
        actions.MovableProperties = [this] {
            const auto movable = windows_.find(-1);
            if (movable != windows_.end()) movable->second(0);
        };
        actions.CopyText = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
        auto* group = new prpGroup(window_.world(), WindowEdit(), std::move(actions), &window_);
        group->setAttribute(Qt::WA_DeleteOnClose);
        group->open();
    });
    RegisterPropertyWindow(KindPeg, [this](int number) {
        const World& w = window_.world();
        if (number < 1 || number > std::min(w.PegCount, PegCapacity) || !w.Pegs[number].Exists) return;
        (new prpPeg(Services(), number, &window_))->show();
    });
    // The fixed objects' windows: one of each at a time, previewing the
    // working copy in the object's place.
    RegisterPropertyWindow(KindLaval, [this](int number) { prpLaval::Open(Services(), number, &window_); });
    for (const int kind : {KindHand, KindWall}) {
        RegisterPropertyWindow(kind, [this, kind](int number) { prpHandWall::Open(Services(), kind, number, &window_); });
    }
    RegisterPropertyWindow(KindPlane, [this](int number) { prpPlane::Open(Services(), number, &window_); });
    RegisterPropertyWindow(KindSurface, [this](int number) { prpSurface::Open(Services(), number, &window_); });
    RegisterPropertyWindow(KindSurface2, [this](int number) { prpSurface2::Open(Services(), number, &window_); });
    RegisterPropertyWindow(KindHBody, [this](int number) {
        const World& w = window_.world();
        if (number < 1 || number > std::min(w.HBodyCount, HBodyCapacity) || !w.HBodies[number].Exists) return;
        auto* body = new prpHBody(Services(), number, &window_);
        body->show();
    });
    window_.Scene()->SetOverlayPainter([this](QPainter& painter, const ViewTransform& view) { PaintOverlay(painter, view); });
}

// The history is emptied as it goes; nobody may hear of that while the
// window around it is half gone.
SceneEditor::~SceneEditor() { history_.blockSignals(true); }

const World& SceneEditor::CurrentWorld() const { return window_.world(); }

bool SceneEditor::Blocked() const { return window_.Running() || !window_.isEnabled(); }

void SceneEditor::ArmCommand(int mode) {
    if (Blocked()) return;
    const std::string refusal = CreationRefusal(window_.world(), mode);
    if (!refusal.empty()) {
        const bool noPoint = refusal == NoLavalMessage;
        window_.services_.Messages->Show(noPoint ? MessageIcon::Information : MessageIcon::Error, refusal);
        return;
    }
    Arm(mode);
}

void SceneEditor::Arm(int mode) {
    if (mode_) mode_->Cancel();
    if (!editName_.isEmpty()) EndEdit();
    mode_ = MakeMode(*this, mode);
    window_.MakeObj_ = static_cast<std::uint8_t>(mode_->Code());
    SetScenePointer(mode_->Pointer());
    ShowHint(QString());
    window_.UpdatePanels();
    RenderSettings settings = window_.Scene()->Settings();
    if (settings.AwaitingBody != (mode == ModeHBody)) {
        settings.AwaitingBody = mode == ModeHBody;
        window_.Scene()->SetRenderSettings(settings);
        window_.Scene()->MWRefresh();
    }
    window_.Scene()->update();
}

void SceneEditor::Press(const FieldMouseEvent& e) {
    if (Blocked()) return;
    World& w = window_.world();
    if (w.ProjectKind == ProjectNone) {
        if (e.Button == Qt::RightButton) window_.PopUpMenu("mnHelp");
        return;
    }
    const bool celestial = w.ProjectKind == ProjectCelestial;
    if (w.ProjectKind != ProjectMechanical && !celestial) return;
    // A celestial project knows selection and the creation of bodies only.
    if (celestial && ArmedMode() != ModeSelect && ArmedMode() != ModeHBody) return;
    // The middle button and Alt act on release only.
    if (e.Button == Qt::MiddleButton || (e.Modifiers & Qt::AltModifier)) return;
    pressed_ = true;
    if (e.Button == Qt::LeftButton && !(e.Modifiers & Qt::ControlModifier)) {
        ClearSelection(w);
        window_.MWRefresh(false);
    }
    const int armed = ArmedMode();
    if (mode_) mode_->Press(e);
    // A right press in the move mode selects instead: mode 0 takes it.
    if (armed == ModeMove && e.Button == Qt::RightButton && ArmedMode() == ModeSelect && mode_) mode_->Press(e);
    window_.UpdatePanels();
}

void SceneEditor::Move(const FieldMouseEvent& e) {
    const int kind = window_.world().ProjectKind;
    if (Blocked() || (kind != ProjectMechanical && kind != ProjectCelestial)) return;
    // The scene's tool tip names the celestial body under the pointer.
    const World& w = window_.world();
    const HitResult hit = kind == ProjectCelestial ? BodyAt(w, {e.FieldX, e.FieldY}) : HitResult{};
    const QString name =
        hit.Any() ? QString::fromStdString(BodyDisplayName(w.HBodies[hit.Number], hit.Number, "Небесное тело")) : QString();
    if (window_.Scene()->toolTip() != name) window_.Scene()->setToolTip(name);
    if (mode_) mode_->Move(e);
}

void SceneEditor::Release(const FieldMouseEvent& e) {
    const int kind = window_.world().ProjectKind;
    if (Blocked() || (kind != ProjectMechanical && kind != ProjectCelestial)) return;
    if (e.Button == Qt::MiddleButton || (e.Modifiers & Qt::AltModifier)) {
        if (OpenPropertiesAt(e)) return;
        switch (SettingNumber("MiddleMouseKey")) {
        case 1: window_.TriggerItem("mnParam"); break;
        case 2: window_.TriggerItem("mnTime"); break;
        default: break;
        }
        return;
    }
    if (!std::exchange(pressed_, false)) return;
    if (mode_) mode_->Release(e);
    window_.UpdatePanels();
    // The window opens after the mode has finished the second click, so that
    // a drag it began is one step of its own.
    if (std::exchange(doubleClicked_, false)) OpenPropertiesAt(e);
}

void SceneEditor::DoubleClick(const FieldMouseEvent& e) {
    doubleClicked_ = pressed_ && e.Button == Qt::LeftButton && ArmedMode() == ModeSelect &&
                     !(e.Modifiers & (Qt::ControlModifier | Qt::AltModifier));
}

bool SceneEditor::OpenPropertiesAt(const FieldMouseEvent& e) {
    const HitResult hit = ObjectAt(window_.world(), {e.FieldX, e.FieldY});
    if (!hit.Any()) return false;
    Select([&](World& w) {
        w.CurrentKind = static_cast<std::uint8_t>(hit.Kind == 11 || hit.Kind == 13 ? KindSurface2 : hit.Kind);
        w.CurrentNumber = hit.Number;
    });
    PropertiesCommand();
    return true;
}

void SceneEditor::Wheel(const FieldMouseEvent& e, int notches) {
    World& w = window_.world();
    if (notches == 0 || window_.Running() || w.ProjectKind != ProjectMechanical || !w.Params.ViewUnlocked) return;
    Parameters& p = w.Params;
    const double pointsPerPixel = w.PointsPerPixel;
    const double pixelX = (e.FieldX + p.FieldOriginX) / pointsPerPixel;
    const double pixelY = (p.FieldOriginY - e.FieldY) / pointsPerPixel;
    const double scale = p.FieldScale * std::pow(WheelZoomFactor, notches);
    if (!(scale > SmallestFieldScale && scale < LargestFieldScale)) return;
    p.FieldScale = scale;
    // The model point under the pointer stays under it.
    p.FieldOriginX = static_cast<std::int32_t>(std::lround(pixelX * pointsPerPixel - e.Model.X * scale));
    p.FieldOriginY = static_cast<std::int32_t>(std::lround(pixelY * pointsPerPixel + e.Model.Y * scale));
    MarkFixedSceneChanged(w);
    window_.MWRefresh(false);
}

WorldEdit SceneEditor::WindowEdit() {
    return [this](const QString& name, const std::function<void(World&)>& change) {
        Edit(name, change);
        window_.MWRefresh(false);
    };
}

WindowServices SceneEditor::Services() {
    WindowServices services;
    services.Scene = &window_.world();
    services.Edit = WindowEdit();
    services.Redraw = [this] { window_.MWRefresh(false); };
    services.RedrawMovable = [this] { window_.MWRefresh(false, false); };
    services.SetNewBodyRadius = [this](int kind, double radius) { LastRadius(kind) = radius; };
    services.CopyText = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };
    services.OpenGraph = [this](int kind, int number) { window_.OpenGraph(kind, number, false); };
    return services;
}

void SceneEditor::OptimizeCommand() {
    if (Blocked()) return;
    if (!optimize_) {
        optimize_ = new frmOptimize(WindowEdit(), &window_);
        connect(optimize_, &QDialog::finished, this, [this] { window_.MWRefresh(true); });
    }
    optimize_->show();
    optimize_->raise();
}

void SceneEditor::CelestialParametersCommand() {
    if (Blocked()) return;
    auto* parameters = new frmHParam(window_.world(), WindowEdit(), [this] {
        frmHTime time(window_.world(), WindowEdit(), &window_);
        return time.exec() == QDialog::Accepted;
    }, &window_);
    parameters->setAttribute(Qt::WA_DeleteOnClose);
    parameters->open();
}

void SceneEditor::CelestialTimeCommand() {
    if (Blocked()) return;
    auto* time = new frmHTime(window_.world(), WindowEdit(), &window_);
    time->setAttribute(Qt::WA_DeleteOnClose);
    time->open();
}

void SceneEditor::Edit(const QString& name, const std::function<void(World&)>& change) {
    BeginEdit(name);
    Live(change);
    EndEdit();
}

void SceneEditor::FinishGesture() {
    if (mode_) mode_->Cancel();
    pressed_ = false;
    EndEdit();
}

void SceneEditor::BeginEdit(const QString& name) {
    // A gesture still under way ends before another edit starts, so no step
    // of the history holds two edits.
    if (editStart_) EndEdit();
    editStart_ = std::make_unique<World>(window_.world());
    editName_ = name;
}

void SceneEditor::Live(const std::function<void(World&)>& change) {
    World& w = window_.world();
    if (!editStart_) BeginEdit(QStringLiteral("Изменение"));
    const std::uint64_t fixedEdits = w.FixedSceneEdits;
    change(w);
    // Only fixed objects need the lower layer painted again; moving bodies
    // are drawn over it.
    if (w.FixedSceneEdits != fixedEdits) {
        window_.MWRefresh(false);
    } else {
        for (int n = 1; n <= std::min(w.BallCount, BallCapacity); ++n) window_.Scene()->BallRefresh(n);
        for (int n = 1; n <= std::min(w.PegCount, PegCapacity); ++n) window_.Scene()->PegRefresh(n);
        window_.Scene()->RefreshMoving();
    }
}

void SceneEditor::EndEdit() {
    if (!editStart_) return;
    World& w = window_.world();
    const std::unique_ptr<World> before = std::move(editStart_);
    // Slot 0 holds a property window's preview, never the scene's own
    // state: a gesture that began while a window was still open (a press on
    // the scene closes it only afterwards) must not bring the preview back
    // on undo.
    before->Balls[0] = w.Balls[0];
    before->Pegs[0] = w.Pegs[0];
    before->HBodies[0] = w.HBodies[0];
    WorldChange change = DiffWorlds(*before, w);
    const QString name = std::exchange(editName_, QString());
    if (change.Empty()) return;
    // Whatever an edit did to a fixed object, the step sees it: no editing
    // routine has to remember to say so.
    if (change.TouchesFixedScene()) MarkFixedSceneChanged(w);
    w.Changed = true;
    change.Changed.second = true;
    history_.push(new WorldEditCommand(*this, w, name, std::move(change)));
    window_.RefreshCaption();
    window_.MWRefresh(false);
}

void SceneEditor::AfterHistoryStep(bool fixedToo, bool timeToo) {
    World& w = window_.world();
    w.Changed = true;
    window_.RefreshCaption();
    if (timeToo) window_.ShowTime();
    window_.MWRefresh(false, fixedToo);
}

void SceneEditor::Select(const std::function<void(World&)>& change) {
    change(window_.world());
    window_.MWRefresh(false);
}

void SceneEditor::Redraw() { window_.Scene()->update(); }
void SceneEditor::ShowHint(const QString& text) { window_.lblHL_->setText(text); }

void SceneEditor::ShowPointerPosition(Vec2 model) {
    FieldMouseEvent e;
    e.Model = model;
    window_.ShowPointer(e);
}

void SceneEditor::SetScenePointer(const QCursor& pointer) { window_.Scene()->setCursor(pointer); }

int SceneEditor::Layer() const { return window_.ZCoord_ ? std::max(0, window_.ZCoord_->currentIndex()) : 0; }

int SceneEditor::SettingNumber(const char* name) const {
    const SettingsAccess* settings = window_.services_.Settings;
    return settings ? settings->Number(name) : MemorySettings().Number(name);
}

bool SceneEditor::SettingFlag(const char* name) const {
    const SettingsAccess* settings = window_.services_.Settings;
    return settings ? settings->Flag(name) : MemorySettings().Flag(name);
}

void SceneEditor::PopUpObjectMenu() { window_.PopUpMenu("mnObj"); }

void SceneEditor::StartPointStale() { window_.SetItemEnabled("mnRecover", false); }

double& SceneEditor::LastRadius(int kind) { return lastRadius_[kind == KindCylinder ? 1 : 0]; }

// The top 53 bits as a fraction: the same numbers from the same seed with
// every standard library, unlike std::uniform_real_distribution.
double SceneEditor::Uniform() { return static_cast<double>(random_() >> 11) * 0x1.0p-53; }

void SceneEditor::PaintOverlay(QPainter& painter, const ViewTransform& view) const {
    if (mode_) mode_->Paint(painter, view);
}

void SceneEditor::Reset() {
    if (mode_) mode_->Cancel();
    editStart_.reset();
    editName_.clear();
    history_.clear();
    Arm(0);
}

void SceneEditor::SelectAllCommand() {
    if (Blocked()) return;
    const bool skipZero = SettingFlag("SelectNullHand");
    Select([&](World& w) { SelectAll(w, skipZero); });
}

void SceneEditor::SelectLinkedCommand() {
    if (Blocked()) return;
    Select([](World& w) { SelectLinked(w); });
}

void SceneEditor::CopyCommand() {
    if (Blocked()) return;
    Edit(QStringLiteral("Копирование"), [](World& w) { CopySelected(w); });
}

void SceneEditor::DeleteCommand() {
    if (Blocked()) return;
    Edit(QString::fromUtf8(DeleteStepName), [](World& w) { DeleteSelected(w); });
    window_.MWRefresh(true);
}

void SceneEditor::UndoDeleteCommand() {
    if (Blocked()) return;
    if (history_.canUndo() && history_.undoText() == QString::fromUtf8(DeleteStepName)) history_.undo();
}

void SceneEditor::FastenCommand() {
    if (Blocked()) return;
    Edit(QStringLiteral("Привязка"), [](World& w) { FastenCurrentObject(w); });
}

void SceneEditor::StopCommand() {
    Edit(QStringLiteral("Остановка"), [](World& w) { StopMotion(w); });
}

void SceneEditor::MarksCommand() {
    if (Blocked()) return;
    Edit(QStringLiteral("Пометки"), [](World& w) { ToggleMarksOfSelected(w); });
}

void SceneEditor::PropertiesCommand() {
    if (Blocked()) return;
    World& w = window_.world();
    w.Changed = true;
    const SelectionCounts counts = CountSelect(w);
    int kind = w.CurrentKind;
    int number = w.CurrentNumber;
    if (counts.Fixed + counts.Movable >= 2) {
        // The movable objects' window, or the group's when a fixed one is
        // among them.
        kind = counts.Fixed == 0 ? -1 : -2;
        number = 0;
    }
    lastRequest_ = {kind, number};
    const auto window = windows_.find(kind == KindCylinder ? KindBall : kind);
    if (window != windows_.end()) window->second(number);
}

}  // namespace velo
