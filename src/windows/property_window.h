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

    World& Scene() { return *services_.Scene; }
    const WindowServices& Services() const { return services_; }
    // Redraws the scene after the working copy changed.
    void Preview();
    // "ОК" and "Отмена" with their Russian captions.
    QDialogButtonBox* MakeOkCancel();

    void changeEvent(QEvent* event) override;

private:
    void Close(bool apply);
    void RemovePreviewSafely();

    WindowServices services_;
    bool closed_ = false;
};

}  // namespace velo
