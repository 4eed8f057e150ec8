// frmEffects, "Настройка видеоэффектов": the intermediate frames of a
// window that fades in, out or to another transparency, and the highest
// frame rate. Kept for this run only.
#pragma once

#include "windows/settings_dialog.h"

class QSlider;

namespace velo {

class NumberField;

class frmEffects : public SettingsDialog {
    Q_OBJECT
public:
    explicit frmEffects(SettingsAccess& settings, QWidget* parent = nullptr);

protected:
    void Store() override;

private:
    QSlider* sldShow_ = nullptr;
    QSlider* sldHide_ = nullptr;
    QSlider* sldTransparency_ = nullptr;
    NumberField* txtFps_ = nullptr;
};

}  // namespace velo
