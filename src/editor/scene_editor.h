// The scene editor of the main window: it arms the editing modes, forwards
// the scene's mouse events to the armed one after the common rules, runs the
// commands of the "Объект" and "Действия" menus, and keeps every edit as one
// step of the undo history.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <random>

#include "editor/modes/edit_mode.h"
#include "windows/window_edits.h"

namespace velo {

class frmMain;

class SceneEditor : public QObject, public EditorHost {
    Q_OBJECT
public:
    explicit SceneEditor(frmMain& window);
    ~SceneEditor() override;

    // Arms `mode` (MakeObj): the creation commands refuse a full table
    // (or a thread without a suspension point) with a message instead.
    void ArmCommand(int mode);
    int ArmedMode() const { return mode_ ? mode_->Code() : 0; }

    void Press(const FieldMouseEvent& event);
    void Move(const FieldMouseEvent& event);
    void Release(const FieldMouseEvent& event);
    // A left double click in the selection mode opens the properties of the
    // object under the pointer, once the second click is released.
    void DoubleClick(const FieldMouseEvent& event);
    // Zooms the view about the pointer by 1.25 a notch (refused while the
    // view is locked or the simulation runs).
    void Wheel(const FieldMouseEvent& event, int notches);

    // The commands of the menus.
    void SelectAllCommand();
    void SelectLinkedCommand();
    void CopyCommand();
    void DeleteCommand();
    void FastenCommand();
    void StopCommand();
    void MarksCommand();
    void UndoDeleteCommand();
    void PropertiesCommand();
    // "Оптимизировать...": the modeless optimisation window.
    void OptimizeCommand();
    // "Параметры имитации": the parameters window (mechanical projects).
    void ParametersCommand();
    // "Параметры имитации" and "Масштаб во времени" of a celestial project.
    void CelestialParametersCommand();
    void CelestialTimeCommand();
    // A window's way to change the World: one step of the history.
    WorldEdit WindowEdit();
    // Everything a property window needs: the scene for its preview, the
    // history, the redraw.
    WindowServices Services();

    // The property windows by kind code; a kind without a window gets an
    // information box. Windows register themselves here.
    using PropertyWindow = std::function<void(int number)>;
    void RegisterPropertyWindow(int kind, PropertyWindow open) { windows_[kind] = std::move(open); }
    // What "Свойства" opened last (kind, number), for the tests.
    std::pair<int, int> LastPropertiesRequest() const { return lastRequest_; }

    // Ends a gesture under way (its changes become their step), before an
    // undo, a redo or a run.
    void FinishGesture();

    // Forgets the history: a project opened, created or reverted.
    void Reset();
    QUndoStack& History() { return history_; }

    // EditorHost.
    const World& CurrentWorld() const override;
    void Edit(const QString& name, const std::function<void(World&)>& change) override;
    void BeginEdit(const QString& name) override;
    void Live(const std::function<void(World&)>& change) override;
    void EndEdit() override;
    void Select(const std::function<void(World&)>& change) override;
    void Redraw() override;
    void ShowHint(const QString& text) override;
    void ShowPointerPosition(Vec2 model) override;
    void SetScenePointer(const QCursor& pointer) override;
    void Arm(int mode) override;
    int Layer() const override;
    int SettingNumber(const char* name) const override;
    bool SettingFlag(const char* name) const override;
    void PopUpObjectMenu() override;
    void StartPointStale() override;
    double& LastRadius(int kind) override;
    double Uniform() override;
    // The random source starts from the system's entropy; tests fix it.
    void SeedRandom(std::uint64_t seed) { random_.seed(seed); }

    // Applied by the undo commands.
    // `fixedToo`: the step changed a fixed object, the parameters, units or
    // materials, so the fixed scene is drawn again; `timeToo`: it set T,
    // so the time label shows it again.
    void AfterHistoryStep(bool fixedToo, bool timeToo = false);

private:
    void PaintOverlay(QPainter& painter, const ViewTransform& view) const;
    bool Blocked() const;
    // Makes the object at the event's point current and opens its window;
    // false when there is none.
    bool OpenPropertiesAt(const FieldMouseEvent& event);

    frmMain& window_;
    QUndoStack history_;
    std::unique_ptr<EditMode> mode_;
    std::unique_ptr<World> editStart_;
    QString editName_;
    std::map<int, PropertyWindow> windows_;
    std::pair<int, int> lastRequest_{0, 0};
    std::array<double, 2> lastRadius_{0, 0};
    std::mt19937_64 random_{std::random_device{}()};
    bool pressed_ = false;
    bool doubleClicked_ = false;
    QPointer<QDialog> optimize_;
    QPointer<QDialog> parameters_;
};

}  // namespace velo
