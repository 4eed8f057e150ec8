// The editing modes of the scene (MakeObj). The main window arms one mode at
// a time and forwards the scene's mouse events to it, in field and model
// coordinates; each mode is a small object of its own file. A mode changes
// the World only through the host's Edit, so every change it makes is one
// step of the undo history.
#pragma once

#include <QCursor>
#include <QString>

#include <functional>

#include "model/world.h"
#include "view/scene_widget.h"
#include "view/view_transform.h"

class QPainter;

namespace velo {

// What a mode may ask of the window that arms it.
class EditorHost {
public:
    virtual ~EditorHost() = default;
    virtual const World& CurrentWorld() const = 0;
    // Runs `change` on the World as one step of the undo history named
    // `name`, marks the project changed and redraws the scene in full.
    virtual void Edit(const QString& name, const std::function<void(World&)>& change) = 0;
    // The same spread over a gesture: changes shown live while the button is
    // held become one step when the gesture ends (nothing when they changed
    // nothing).
    virtual void BeginEdit(const QString& name) = 0;
    virtual void Live(const std::function<void(World&)>& change) = 0;
    virtual void EndEdit() = 0;
    // A change that is not an edit of the project (the selection).
    virtual void Select(const std::function<void(World&)>& change) = 0;
    virtual void Redraw() = 0;  // the rubber band moved
    virtual void ShowHint(const QString& text) = 0;
    virtual void ShowPointerPosition(Vec2 model) = 0;
    virtual void SetScenePointer(const QCursor& pointer) = 0;
    virtual void Arm(int mode) = 0;
    virtual int Layer() const = 0;  // the layer chosen in ZCoord
    // A preference, at the settings table's default when the window has none.
    virtual int SettingNumber(const char* name) const = 0;
    virtual bool SettingFlag(const char* name) const = 0;
    virtual void PopUpObjectMenu() = 0;
    // A creation that changes the scene makes the stored start point stale.
    virtual void StartPointStale() = 0;
    // Remembered radius of the last ball (kind 5) or cylinder (kind 10).
    virtual double& LastRadius(int kind) = 0;
    // A uniform number in [0, 1) from the editor's random source (the
    // velocity and colour of a new celestial body).
    virtual double Uniform() = 0;
};

class EditMode {
public:
    explicit EditMode(EditorHost& host) : host_(host) {}
    virtual ~EditMode() = default;
    EditMode(const EditMode&) = delete;
    EditMode& operator=(const EditMode&) = delete;

    virtual int Code() const = 0;
    virtual QCursor Pointer() const { return QCursor(Qt::ArrowCursor); }
    virtual void Press(const FieldMouseEvent&) {}
    virtual void Move(const FieldMouseEvent&) {}
    virtual void Release(const FieldMouseEvent&) {}
    // The rubber band of a gesture under way, over the scene.
    virtual void Paint(QPainter&, const ViewTransform&) const {}
    // Another mode is armed: a gesture under way is dropped.
    virtual void Cancel() {}

protected:
    EditorHost& host() const { return host_; }
    static bool Left(const FieldMouseEvent& e) { return e.Button == Qt::LeftButton; }
    static bool Right(const FieldMouseEvent& e) { return e.Button == Qt::RightButton; }

private:
    EditorHost& host_;
};

// A model point on the scene's pixels.
inline QPointF ToPixel(const ViewTransform& view, Vec2 model) {
    return {view.PixelX(model.X * view.FieldScale), view.PixelY(model.Y * view.FieldScale)};
}

// "L = " and a length in length units, as the hint line shows it.
QString LengthHint(double length);

}  // namespace velo
