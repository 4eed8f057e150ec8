#include "windows/property_window.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

namespace velo {

PropertyWindow::PropertyWindow(WindowServices services, QWidget* parent) : QDialog(parent), services_(std::move(services)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    // One preview at a time: a window still open on the same scene puts its
    // preview back before this one takes its copy of the World.
    if (parent) {
        for (PropertyWindow* open : parent->findChildren<PropertyWindow*>(Qt::FindDirectChildrenOnly)) {
            if (open != this && open->services_.Scene == services_.Scene) open->reject();
        }
    }
}

void PropertyWindow::RemovePreviewSafely() {
    closed_ = true;
    RemovePreview(*services_.Scene);
}

void PropertyWindow::Preview() {
    if (!PreviewsFixedObject() && services_.RedrawMovable) {
        services_.RedrawMovable();
    } else if (services_.Redraw) {
        services_.Redraw();
    }
}

QDialogButtonBox* PropertyWindow::MakeOkCancel() {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return box;
}

void PropertyWindow::accept() { Close(true); }
void PropertyWindow::reject() { Close(false); }

void PropertyWindow::Close(bool apply) {
    if (closed_) return;
    RemovePreviewSafely();
    if (apply && services_.Edit) {
        services_.Edit(EditName(), [this](World& world) { ApplyCopy(world); });
    } else {
        Preview();
    }
    if (SelectOnClosing(*services_.Scene) && services_.Redraw) services_.Redraw();
    if (apply) {
        QDialog::accept();
    } else {
        QDialog::reject();
    }
}

// Losing the focus to another window of the program discards the edits, as
// "Отмена" does. Windows opened from this one (a menu, the colour dialog, a
// message) and other programs do not count.
void PropertyWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) CheckFocusLost();
}

void PropertyWindow::WatchOwnedWindow(QWidget* owned) { owned->installEventFilter(this); }

bool PropertyWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ActivationChange) CheckFocusLost();
    return QDialog::eventFilter(watched, event);
}

// The preview may stand in the record's own place, so it must be gone before
// the window that took the focus gets its first event: a press on the scene
// arrives in the same round of events as the focus change, and a gesture
// started on the preview would take the working copy into the history. When
// the newly active window is not known yet, the check waits for the next
// round of events.
void PropertyWindow::CheckFocusLost() {
    if (closed_ || isActiveWindow() || !isVisible()) return;
    const auto lostToAnother = [this] {
        QWidget* active = QApplication::activeWindow();
        if (!active || active == this) return false;
        for (QWidget* w = active; w; w = w->parentWidget()) {
            if (w == this) return false;
        }
        return true;
    };
    if (QApplication::activeWindow()) {
        if (lostToAnother()) reject();
        return;
    }
    QTimer::singleShot(0, this, [this, lostToAnother] {
        if (closed_ || isActiveWindow()) return;
        if (lostToAnother()) reject();
    });
}

}  // namespace velo
