#include "windows/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/settings.h"
#include "prefs/settings_choices.h"

namespace velo {

frmSettings::frmSettings(SettingsAccess& settings, const QStringList& startCaptions, bool encryptionSupported,
                         QWidget* parent)
    : SettingsDialog("frmSettings", QStringLiteral("Общие настройки"), settings, parent) {
    auto* start = new QHBoxLayout;
    chkStart_ = new QCheckBox(QStringLiteral("Создавать при запуске:"), this);
    chkStart_->setObjectName(QStringLiteral("chkStart"));
    cmbStart_ = new QComboBox(this);
    cmbStart_->setObjectName(QStringLiteral("cmbStart"));
    cmbStart_->addItems(startCaptions);
    start->addWidget(chkStart_);
    start->addWidget(cmbStart_, 1);
    Body()->addLayout(start);

    startShown_ = ChoiceOfSetting(settings_.Number("StartImitType"), cmbStart_->count());
    chkStart_->setChecked(startShown_.Checked);
    cmbStart_->setCurrentIndex(startShown_.Index);
    cmbStart_->setEnabled(startShown_.Checked);

    chkNoChangeB_ = AddBox("chkNoChangeB", QStringLiteral("Неизменный путь доступа к графическим файлам"),
                           settings_.Flag("NoChangeB"));
    chkNoChangeI_ = AddBox("chkNoChangeI", QStringLiteral("Неизменный путь доступа к файлам имитаций"),
                           settings_.Flag("NoChangeI"));
    chkEncrypt_ = AddBox("chkEncrypt", QStringLiteral("Разрешить шифрование временных файлов"),
                         settings_.Flag("EncryptTempFiles"));
    if (!encryptionSupported) {
        chkEncrypt_->setEnabled(false);
        chkEncrypt_->setToolTip(
            QStringLiteral("Шифровать папки средствами файловой системы программа умеет только в Windows"));
    }
    lblNote_ = new QLabel(QStringLiteral("Несоторые настройки будут применены при следующем запуске программы"), this);
    lblNote_->setObjectName(QStringLiteral("lblNote"));
    lblNote_->setWordWrap(true);
    lblNote_->hide();
    Body()->addWidget(lblNote_);
    AddButtons();

    // The start project and the encryption act only at the next start.
    auto showNote = [this] { lblNote_->show(); };
    connect(chkStart_, &QCheckBox::toggled, this, [this, showNote](bool on) {
        cmbStart_->setEnabled(on);
        showNote();
    });
    connect(cmbStart_, &QComboBox::currentIndexChanged, this, showNote);
    connect(chkEncrypt_, &QCheckBox::toggled, this, showNote);
}

void frmSettings::Store() {
    settings_.SetInt("StartImitType",
                     SettingOfChoice(startShown_, chkStart_->isChecked(), cmbStart_->currentIndex()));
    settings_.SetBool("NoChangeB", chkNoChangeB_->isChecked());
    settings_.SetBool("NoChangeI", chkNoChangeI_->isChecked());
    // The two values no window edits are written back as they are.
    settings_.SetBool("NoChangeM", settings_.Flag("NoChangeM"));
    settings_.SetBool("NoChangeR", settings_.Flag("NoChangeR"));
    settings_.SetBool("EncryptTempFiles", chkEncrypt_->isChecked());
}

}  // namespace velo
