// frmSettings, "Общие настройки": the project created at start-up, the
// fixed folders of pictures and simulations, and the encryption of the
// temporary files.
#pragma once

#include <QStringList>

#include "prefs/settings_choices.h"
#include "windows/settings_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace velo {

class frmSettings : public SettingsDialog {
    Q_OBJECT
public:
    // `startCaptions`: the captions of the two new-project menu items.
    // `encryptionSupported`: whether the system encrypts folders at all;
    // where it does not, the box is disabled and keeps its stored value.
    frmSettings(SettingsAccess& settings, const QStringList& startCaptions, bool encryptionSupported,
                QWidget* parent = nullptr);

protected:
    void Store() override;

private:
    ListChoice startShown_;
    QCheckBox* chkStart_ = nullptr;
    QComboBox* cmbStart_ = nullptr;
    QCheckBox* chkNoChangeB_ = nullptr;
    QCheckBox* chkNoChangeI_ = nullptr;
    QCheckBox* chkEncrypt_ = nullptr;
    QLabel* lblNote_ = nullptr;
};

}  // namespace velo
