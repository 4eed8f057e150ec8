#include "windows/transparencies_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "platform/settings.h"

namespace velo {

frmTransparencies::frmTransparencies(SettingsAccess& settings, QWidget* parent)
    : SettingsDialog("frmTransparencies", QStringLiteral("Настройка прозрачности"), settings, parent) {
    auto* windows = new QGroupBox(QStringLiteral("Прозрачные окна"), this);
    auto* windowsLayout = new QVBoxLayout(windows);
    chkLaval_ = AddBox("chkLaval", QStringLiteral("Свойства подвеса"), settings_.Flag("TransparentLaval"), windowsLayout);
    chkWallHand_ = AddBox("chkWallHand", QStringLiteral("Свойства стены/опоры"), settings_.Flag("TransparentWallHand"),
                          windowsLayout);
    chkPlane_ = AddBox("chkPlane", QStringLiteral("Свойства наклонной плоскости"), settings_.Flag("TransparentPlane"),
                       windowsLayout);
    Body()->addWidget(windows);
    chkRodExtras_ = AddBox("chkRodExtras", QStringLiteral("Прозрачные окна дополнительных свойств стержня"),
                           settings_.Flag("TransparentRodExtras"));
    chkAuto_ = AddBox("chkAuto", QStringLiteral("Автоизменение степени прозрачности"), settings_.Flag("AutoTransparency"));
    chkAuto_->setEnabled(chkRodExtras_->isChecked());
    connect(chkRodExtras_, &QCheckBox::toggled, chkAuto_, &QCheckBox::setEnabled);
    AddButtons();
}

void frmTransparencies::Store() {
    settings_.SetBool("TransparentLaval", chkLaval_->isChecked());
    settings_.SetBool("TransparentWallHand", chkWallHand_->isChecked());
    settings_.SetBool("TransparentPlane", chkPlane_->isChecked());
    settings_.SetBool("TransparentRodExtras", chkRodExtras_->isChecked());
    settings_.SetBool("AutoTransparency", chkAuto_->isChecked());
}

}  // namespace velo
