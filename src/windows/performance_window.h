// frmPerformance, "Настройка производительности": the driver's step limit
// per tick and timer interval, the shading of balls and the anti-aliased
// drawing of fixed objects.
#pragma once

#include <functional>

#include "windows/settings_dialog.h"

class QCheckBox;
class QLabel;
class QSlider;

namespace velo {

class NumberField;

struct PerformanceWindowServices {
    double LastTps = 0;                 // steps per second of the last run; 0 before any
    bool TransparencySupported = true;  // the watermark needs it
    std::function<void()> Redraw;       // the scene after "ОК"
};

class frmPerformance : public SettingsDialog {
    Q_OBJECT
public:
    frmPerformance(SettingsAccess& settings, PerformanceWindowServices services, QWidget* parent = nullptr);

protected:
    void Store() override;

private:
    PerformanceWindowServices services_;
    NumberField* Text1_ = nullptr;
    NumberField* Text2_ = nullptr;
    QCheckBox* chkHalftone_ = nullptr;
    QSlider* sldHalftone_ = nullptr;
    QCheckBox* chkGdi_ = nullptr;
};

}  // namespace velo
