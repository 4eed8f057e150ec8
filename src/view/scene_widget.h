// Metaworld: the scene of the main window. It shows the 10000 x 7000 field
// across its whole width (the main window gives it a 10 : 7 size, see
// FitField), paints the cached lower layer and the upper layer, and hands
// mouse events to the editor in field coordinates.
#pragma once

#include <functional>

#include <QImage>
#include <QString>
#include <QWidget>

#include "view/view_transform.h"
#include "view/world_renderer.h"

class QKeyEvent;

namespace velo {

struct World;

// A mouse event on the scene in field and model coordinates.
struct FieldMouseEvent {
    double FieldX = 0;
    double FieldY = 0;
    Vec2 Model;
    Qt::MouseButton Button = Qt::NoButton;   // the button that changed
    Qt::MouseButtons Buttons = Qt::NoButton; // buttons held
    Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
};

class Metaworld : public QWidget {
    Q_OBJECT
public:
    explicit Metaworld(QWidget* parent = nullptr);

    // The World the scene shows; owned by the main window. The scene only
    // reads it.
    void SetWorld(const World* world);
    const World* SceneWorld() const { return world_; }

    void SetRenderSettings(const RenderSettings& settings);
    const RenderSettings& Settings() const { return renderer_.Settings(); }
    WorldRenderer& Renderer() { return renderer_; }

    // Full redraw: lower layer and every upper-layer element.
    void MWRefresh();
    // A redraw after a change of movable objects only (the fixed scene kept).
    void MovableRefresh();
    // Repaint of the moving objects over the cached lower layer (one tick).
    void RefreshMoving();
    void BallRefresh(int number);
    void PegRefresh(int number);
    void ThreadHalfRefresh(int number);

    // Re-establishes the field after a change of scale or origin made
    // elsewhere (parameters window, file loading): PointsPerPixel and a full
    // redraw keeping the selection.
    void ViewChangedElsewhere();

    // Follows a navigation key that the World's owner has applied to the
    // view parameters (ApplyNavigationKey): redraws when asked, emits
    // viewChanged() for pans and zooms, and moves LastPointer() with the
    // view when RepeatPointerMove is set.
    void FollowNavigation(const NavigationResult& result);
    int PanStep() const { return panStep_; }
    void SetPanStep(int step) { panStep_ = step; }

    // Fits `picture` to the scene as its background and saves it as
    // "Back.bmp" in `tempFolder` (when not empty). A null picture removes the
    // background. Returns the fitted picture (the owner of the World
    // estimates the ambient light from it).
    QImage PictureToWorld(const QImage& picture, const QString& tempFolder);

    // Field point under a pixel of the scene, and the last pointer position.
    FieldMouseEvent FieldEventAt(QPointF pixel) const;
    const FieldMouseEvent& LastPointer() const { return lastPointer_; }

    // Extra drawing over the upper layer (the editor's rubber bands and tools).
    using OverlayPainter = std::function<void(QPainter&, const ViewTransform&)>;
    void SetOverlayPainter(OverlayPainter overlay) { overlay_ = std::move(overlay); }

    // Renders the current scene (lower and upper layer) into an image.
    QImage Snapshot();

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

signals:
    // The scene has a new size and has been redrawn.
    void sceneResized();
    void fieldMousePressed(const velo::FieldMouseEvent& event);
    void fieldMouseMoved(const velo::FieldMouseEvent& event);
    void fieldMouseReleased(const velo::FieldMouseEvent& event);
    // The second press of a double click: sent after its fieldMousePressed.
    void fieldMouseDoubleClicked(const velo::FieldMouseEvent& event);
    // The wheel turned by `notches` (positive away from the user).
    void fieldWheelTurned(const velo::FieldMouseEvent& event, int notches);
    // A hint for lblHL ("Коррекция фона ..." while the background is fitted).
    void hintChanged(const QString& text);
    // Scale or origin changed by the keyboard.
    void viewChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    FieldMouseEvent FromMouse(const QMouseEvent& event);

    const World* world_ = nullptr;
    int wheelRemainder_ = 0;  // eighths of a degree not yet a whole notch
    WorldRenderer renderer_;
    int panStep_ = InitialPanStep;
    FieldMouseEvent lastPointer_;
    QPointF lastPixel_;
    QImage sourceBackground_;
    OverlayPainter overlay_;
};

// Navigation key of a key event (keypad keys only), and whether Ctrl is its
// sole modifier (the keypad flag does not count).
NavigationKey NavigationKeyOf(const QKeyEvent& event);
bool ControlIsSoleModifier(const QKeyEvent& event);

}  // namespace velo
