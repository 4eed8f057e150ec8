// frmControl, "Настройки управления": what the middle mouse button opens,
// the visible size of new balls and cylinders, and the editing options.
#pragma once

#include <QStringList>

#include "prefs/settings_choices.h"
#include "windows/settings_dialog.h"

class QCheckBox;
class QComboBox;

namespace velo {

class frmControl : public SettingsDialog {
    Q_OBJECT
public:
    // `middleCaptions`: the captions of "Параметры имитации" and "Масштаб
    // во времени" as the menu shows them.
    frmControl(SettingsAccess& settings, const QStringList& middleCaptions, QWidget* parent = nullptr);

protected:
    void Store() override;

private:
    ListChoice middleShown_;
    ListChoice ballSizeShown_;
    QCheckBox* chkMiddle_ = nullptr;
    QComboBox* cmbMiddle_ = nullptr;
    QCheckBox* chkBallSize_ = nullptr;
    QComboBox* cmbBallSize_ = nullptr;
    QCheckBox* chkInvert_ = nullptr;
    QCheckBox* chkZeroSupport_ = nullptr;
    QCheckBox* chkAllowMoving_ = nullptr;
    QCheckBox* chkNoMarked_ = nullptr;
};

}  // namespace velo
