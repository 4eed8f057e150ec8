// frmAppearance, "Настройка внешнего вида": the exit items of the menus,
// transparent windows, classic window captions, menu separators and the
// system panel.
#pragma once

#include <functional>
#include <optional>

#include "windows/settings_dialog.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace velo {

struct AppearanceWindowServices {
    bool TransparencySupported = true;
    // The classic captions of the compatibility layer; nothing where the
    // system has none (the box is then unchecked and disabled).
    std::optional<bool> ClassicCaptions;
    std::function<bool(bool classic)> WriteClassicCaptions;
    // After "ОК": the menus and the transparency of the windows anew.
    std::function<void()> Applied;
};

class frmAppearance : public SettingsDialog {
    Q_OBJECT
public:
    frmAppearance(SettingsAccess& settings, AppearanceWindowServices services, QWidget* parent = nullptr);

protected:
    void Store() override;

private:
    AppearanceWindowServices services_;
    QCheckBox* chkExitProg_ = nullptr;
    QCheckBox* chkExitFile_ = nullptr;
    QCheckBox* chkTransparent_ = nullptr;
    QPushButton* cmdTransparencies_ = nullptr;
    QCheckBox* chkClassic_ = nullptr;
    QLabel* lblClassicNote_ = nullptr;
    QCheckBox* chkSeparators_ = nullptr;
    QCheckBox* chkHidePanel_ = nullptr;
};

}  // namespace velo
