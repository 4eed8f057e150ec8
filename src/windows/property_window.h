// The frame shared by the property windows of single objects: modeless,
// editing a working copy that the scene previews. "ОК" takes the preview
// away and writes the copy into the World as one step of the history;
// "Отмена", closing the window, or another window of the program taking the
// focus (a click on the scene) takes the preview away and changes nothing.
#pragma once

#include <QDialog>

#include "windows/window_edits.h"

class QDialogButtonBox;

namespace velo {

class PropertyWindow : public QDialog {
    Q_OBJECT
public:
    PropertyWindow(WindowServices services, QWidget* parent);

    void accept() override;
    void reject() override;

protected:
    // Takes the preview out of the scene (the working copy hidden, the
    // original shown again); called once, before any edit and on closing.
    virtual void RemovePreview(World& world) = 0;
    // Writes the accepted copy into the World (inside the history step).
    virtual void ApplyCopy(World& world) = 0;
    // The name of the history step.
    virtual QString EditName() const = 0;
    // What closing leaves selected and current, after the copy was written
    // or discarded (selection is no step of the history); true when it
    // changed anything to redraw.
    virtual bool SelectOnClosing(World&) { return false; }

    World& Scene() { return *services_.Scene; }
    const WindowServices& Services() const { return services_; }
    // Redraws the scene after the working copy changed.
    void Preview();
    // Whether the preview stands among the fixed objects (their picture must
    // be drawn again) or among the movable ones only.
    virtual bool PreviewsFixedObject() const { return true; }
    // "ОК" and "Отмена" with their Russian captions.
    QDialogButtonBox* MakeOkCancel();
    // A window of this one's own (a companion window): while it has the
    // focus this window keeps its edits, and when it passes the focus to
    // another window of the program, the edits are discarded as for this
    // window itself.
    void WatchOwnedWindow(QWidget* owned);

    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Close(bool apply);
    void RemovePreviewSafely();
    void CheckFocusLost();

    WindowServices services_;
    bool closed_ = false;
};

}  // namespace velo
