#include "windows/appearance_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/settings.h"
#include "windows/transparencies_window.h"

namespace velo {

frmAppearance::frmAppearance(SettingsAccess& settings, AppearanceWindowServices services, QWidget* parent)
    : SettingsDialog("frmAppearance", QStringLiteral("Настройка внешнего вида"), settings, parent),
      services_(std::move(services)) {
    auto* exits = new QGroupBox(QStringLiteral("Выход"), this);
    auto* exitsLayout = new QVBoxLayout(exits);
    chkExitProg_ = AddBox("chkExitProg", QStringLiteral("Отображать в меню \"Программа\""),
                          settings_.Flag("ShowExitProg"), exitsLayout);
    chkExitFile_ = AddBox("chkExitFile", QStringLiteral("Отображать в меню \"Файл\""),
                          settings_.Flag("ShowExitFile"), exitsLayout);
    Body()->addWidget(exits);

    auto* transparency = new QHBoxLayout;
    chkTransparent_ = new QCheckBox(QStringLiteral("Использование прозрачных окон"), this);
    chkTransparent_->setObjectName(QStringLiteral("chkTransparent"));
    cmdTransparencies_ = new QPushButton(QStringLiteral("Настройка"), this);
    cmdTransparencies_->setObjectName(QStringLiteral("cmdTransparencies"));
    cmdTransparencies_->setAutoDefault(false);
    transparency->addWidget(chkTransparent_, 1);
    transparency->addWidget(cmdTransparencies_);
    Body()->addLayout(transparency);
    chkTransparent_->setChecked(services_.TransparencySupported && settings_.Flag("TransparentWindows"));
    chkTransparent_->setEnabled(services_.TransparencySupported);
    cmdTransparencies_->setEnabled(services_.TransparencySupported);
    if (!services_.TransparencySupported) {
        chkTransparent_->setToolTip(QStringLiteral("Оконная система не показывает полупрозрачные окна "
                                                   "(в X11 для этого нужен композитный менеджер)"));
    }
    connect(cmdTransparencies_, &QPushButton::clicked, this, [this] {
        (new frmTransparencies(settings_, this))->open();
    });

    const bool classic = services_.ClassicCaptions.value_or(false);
    chkClassic_ = AddBox("chkClassic", QStringLiteral("Классический стиль заголовков окон"), classic);
    chkClassic_->setEnabled(services_.ClassicCaptions.has_value());
    if (!services_.ClassicCaptions) {
        chkClassic_->setToolTip(QStringLiteral("Стиль заголовков окон задаётся слоем совместимости Windows"));
    }
    lblClassicNote_ =
        new QLabel(QStringLiteral("Стиль заголовков окон будет применён при следующем запуске программы"), this);
    lblClassicNote_->setObjectName(QStringLiteral("lblClassicNote"));
    lblClassicNote_->setWordWrap(true);
    lblClassicNote_->hide();
    Body()->addWidget(lblClassicNote_);
    connect(chkClassic_, &QCheckBox::toggled, this, [this, classic](bool on) { lblClassicNote_->setVisible(on != classic); });

    chkSeparators_ = AddBox("chkSeparators", QStringLiteral("Использовать разделители в меню главного окна"),
                            settings_.Flag("ShowSeparators"));
    // The system panel belongs to the desktop; the value is only kept for
    // the user.
    chkHidePanel_ = AddBox("chkHidePanel", QStringLiteral("Всегда скрывать системную панель"),
                           settings_.Flag("HideSystemPanel"));
    chkHidePanel_->setEnabled(false);
    chkHidePanel_->setToolTip(
        QStringLiteral("Программа не управляет системной панелью: значение только сохраняется"));
    AddButtons();
}

void frmAppearance::Store() {
    settings_.SetBool("ShowExitProg", chkExitProg_->isChecked());
    settings_.SetBool("ShowExitFile", chkExitFile_->isChecked());
    settings_.SetBool("ShowSeparators", chkSeparators_->isChecked());
    // Where transparency cannot be shown the box is forced off: the user's
    // choice is kept for a system that can.
    settings_.SetBool("TransparentWindows", chkTransparent_->isEnabled() ? chkTransparent_->isChecked()
                                                                          : settings_.Flag("TransparentWindows"));
    settings_.SetBool("HideSystemPanel", chkHidePanel_->isChecked());
    if (lblClassicNote_->isVisibleTo(this) && services_.WriteClassicCaptions) {
        services_.WriteClassicCaptions(chkClassic_->isChecked());
    }
    if (services_.Applied) services_.Applied();
}

}  // namespace velo
