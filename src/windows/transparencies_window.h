// frmTransparencies, "Настройка прозрачности": which property windows are
// semi-transparent. Kept for this run only.
#pragma once

#include "windows/settings_dialog.h"

class QCheckBox;

namespace velo {

class frmTransparencies : public SettingsDialog {
    Q_OBJECT
public:
    explicit frmTransparencies(SettingsAccess& settings, QWidget* parent = nullptr);

protected:
    void Store() override;

private:
    QCheckBox* chkLaval_ = nullptr;
    QCheckBox* chkWallHand_ = nullptr;
    QCheckBox* chkPlane_ = nullptr;
    QCheckBox* chkRodExtras_ = nullptr;
    QCheckBox* chkAuto_ = nullptr;
};

}  // namespace velo
