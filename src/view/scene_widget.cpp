#include "view/scene_widget.h"

#include <QWheelEvent>

#include <random>

#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "model/world.h"

namespace velo {

NavigationKey NavigationKeyOf(const QKeyEvent& event) {
    if (!(event.modifiers() & Qt::KeypadModifier)) return NavigationKey::None;
    switch (event.key()) {
        case Qt::Key_0: case Qt::Key_Insert: return NavigationKey::Pad0;
        case Qt::Key_1: case Qt::Key_End: return NavigationKey::Pad1;
        case Qt::Key_2: case Qt::Key_Down: return NavigationKey::Pad2;
        case Qt::Key_3: case Qt::Key_PageDown: return NavigationKey::Pad3;
        case Qt::Key_4: case Qt::Key_Left: return NavigationKey::Pad4;
        case Qt::Key_5: case Qt::Key_Clear: return NavigationKey::Pad5;
        case Qt::Key_6: case Qt::Key_Right: return NavigationKey::Pad6;
        case Qt::Key_7: case Qt::Key_Home: return NavigationKey::Pad7;
        case Qt::Key_8: case Qt::Key_Up: return NavigationKey::Pad8;
        case Qt::Key_9: case Qt::Key_PageUp: return NavigationKey::Pad9;
        case Qt::Key_Plus: return NavigationKey::PadPlus;
        case Qt::Key_Minus: return NavigationKey::PadMinus;
        default: return NavigationKey::None;
    }
}

bool ControlIsSoleModifier(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers() & ~Qt::KeypadModifier;
    return mods == Qt::ControlModifier;
}

Metaworld::Metaworld(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void Metaworld::SetWorld(const World* world) {
    world_ = world;
    renderer_.ReleaseAll();
    if (world_) MWRefresh();
}

void Metaworld::SetRenderSettings(const RenderSettings& settings) {
    renderer_.SetSettings(settings);
}

void Metaworld::MWRefresh() {
    if (world_) renderer_.MWRefresh(*world_, size());
    update();
}

void Metaworld::MovableRefresh() {
    if (world_) renderer_.MovableRefresh(*world_, size());
    update();
}

void Metaworld::RefreshMoving() { update(); }

void Metaworld::BallRefresh(int number) {
    if (world_) renderer_.BallRefresh(*world_, number);
    update();
}

void Metaworld::PegRefresh(int number) {
    if (world_) renderer_.PegRefresh(*world_, number);
    update();
}

void Metaworld::ThreadHalfRefresh(int number) {
    if (world_) renderer_.ThreadHalfRefresh(*world_, number);
    update();
}

void Metaworld::ViewChangedElsewhere() { MWRefresh(); }

void Metaworld::FollowNavigation(const NavigationResult& result) {
    if (!world_) return;
    if (result.Redraw) MWRefresh();
    if (result.Panned || result.Zoomed) emit viewChanged();
    if (result.RepeatPointerMove) {
        // The field under the last pointer position has moved with the view.
        const FieldMouseEvent previous = lastPointer_;
        lastPointer_ = FieldEventAt(lastPixel_);
        lastPointer_.Buttons = previous.Buttons;
        lastPointer_.Modifiers = previous.Modifiers;
    }
}

QImage Metaworld::PictureToWorld(const QImage& picture, const QString& tempFolder) {
    sourceBackground_ = picture;
    if (picture.isNull()) {
        renderer_.SetBackground(QImage());
        return {};
    }
    emit hintChanged(QStringLiteral("Коррекция фона ..."));
    const QImage fitted = FitBackground(picture, size());
    if (!tempFolder.isEmpty()) fitted.save(QDir(tempFolder).filePath(QStringLiteral("Back.bmp")), "BMP");
    renderer_.SetBackground(fitted);
    emit hintChanged(QString());
    return fitted;
}

FieldMouseEvent Metaworld::FieldEventAt(QPointF pixel) const {
    FieldMouseEvent event;
    ViewTransform view;
    if (world_) view = ViewTransform::FromParameters(world_->Params, width());
    event.FieldX = view.FieldX(pixel.x());
    event.FieldY = view.FieldY(pixel.y());
    event.Model = FieldToModel({event.FieldX, event.FieldY}, view.FieldScale);
    return event;
}

FieldMouseEvent Metaworld::FromMouse(const QMouseEvent& mouse) {
    FieldMouseEvent event = FieldEventAt(mouse.position());
    lastPixel_ = mouse.position();
    event.Button = mouse.button();
    event.Buttons = mouse.buttons();
    event.Modifiers = mouse.modifiers();
    return event;
}

QImage Metaworld::Snapshot() {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (world_) {
        QPainter painter(&image);
        renderer_.PaintScene(painter, *world_);
        if (overlay_) overlay_(painter, renderer_.View());
    }
    return image;
}

int Metaworld::heightForWidth(int width) const {
    return static_cast<int>(std::lround(width * 0.7));
}

QSize Metaworld::sizeHint() const { return {800, 560}; }

void Metaworld::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!world_) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    if (renderer_.LowerLayer().size() != size()) {
        renderer_.MWRefresh(*world_, size());
    }
    renderer_.PaintScene(painter, *world_);
    if (overlay_) overlay_(painter, renderer_.View());
}

void Metaworld::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!world_) return;
    // A new picture size refits the background and redraws; the window that
    // owns the World clears the selection on this signal.
    if (!sourceBackground_.isNull()) PictureToWorld(sourceBackground_, QString());
    MWRefresh();
    emit sceneResized();
}

void Metaworld::mousePressEvent(QMouseEvent* event) {
    lastPointer_ = FromMouse(*event);
    emit fieldMousePressed(lastPointer_);
}

void Metaworld::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    const int notches = wheelRemainder_ / 120;
    wheelRemainder_ -= notches * 120;
    if (notches != 0) {
        FieldMouseEvent field = FieldEventAt(event->position());
        field.Modifiers = event->modifiers();
        emit fieldWheelTurned(field, notches);
    }
    event->accept();
}

void Metaworld::mouseMoveEvent(QMouseEvent* event) {
    lastPointer_ = FromMouse(*event);
    emit fieldMouseMoved(lastPointer_);
}

void Metaworld::mouseReleaseEvent(QMouseEvent* event) {
    lastPointer_ = FromMouse(*event);
    emit fieldMouseReleased(lastPointer_);
}

void Metaworld::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt sends the second press of a double click only here: it is still a
    // press for the editing modes.
    lastPointer_ = FromMouse(*event);
    emit fieldMousePressed(lastPointer_);
    emit fieldMouseDoubleClicked(lastPointer_);
}

}  // namespace velo
