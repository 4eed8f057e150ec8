#include "windows/control_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/settings.h"
#include "prefs/settings_choices.h"

namespace velo {
namespace {

// A box with its list: the list is enabled only while the box is checked.
void Bind(QCheckBox* box, QComboBox* list, const ListChoice& choice) {
    box->setChecked(choice.Checked);
    list->setCurrentIndex(choice.Index);
    list->setEnabled(choice.Checked);
    QObject::connect(box, &QCheckBox::toggled, list, &QComboBox::setEnabled);
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& entries) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromUtf8(name));
    list->addItems(entries);
    return list;
}

}  // namespace

frmControl::frmControl(SettingsAccess& settings, const QStringList& middleCaptions, QWidget* parent)
    : SettingsDialog("frmControl", QStringLiteral("Настройки управления"), settings, parent) {
    auto* middle = new QHBoxLayout;
    chkMiddle_ = new QCheckBox(QStringLiteral("Нажатие средней кнопки мыши:"), this);
    chkMiddle_->setObjectName(QStringLiteral("chkMiddle"));
    cmbMiddle_ = MakeList(this, "cmbMiddle", middleCaptions);
    middle->addWidget(chkMiddle_);
    middle->addWidget(cmbMiddle_, 1);
    Body()->addLayout(middle);
    middleShown_ = ChoiceOfSetting(settings_.Number("MiddleMouseKey"), cmbMiddle_->count());
    Bind(chkMiddle_, cmbMiddle_, middleShown_);

    auto* size = new QHBoxLayout;
    chkBallSize_ = new QCheckBox(QStringLiteral("Создавать шары, цилиндры"), this);
    chkBallSize_->setObjectName(QStringLiteral("chkBallSize"));
    cmbBallSize_ = MakeList(this, "cmbBallSize",
                            {QStringLiteral("малого"), QStringLiteral("среднего"), QStringLiteral("большого")});
    size->addWidget(chkBallSize_);
    size->addWidget(cmbBallSize_);
    size->addWidget(new QLabel(QStringLiteral("видимого размера"), this));
    size->addStretch();
    Body()->addLayout(size);
    // Unchecked, the list shows "среднего".
    ballSizeShown_ = ChoiceOfSetting(settings_.Number("BallSize"), cmbBallSize_->count(), 1);
    Bind(chkBallSize_, cmbBallSize_, ballSizeShown_);

    chkInvert_ = AddBox("chkInvert", QStringLiteral("Инвертировать назначение клавиш навигации"),
                        settings_.Flag("InvertNavigation"));
    // "SelectNullHand" on means the selection commands leave the zero-level
    // support alone, which is what this box says when checked.
    chkZeroSupport_ = AddBox("chkZeroSupport",
                             QStringLiteral("Не изменять выделение нулевой опоры из меню \"Действия\""),
                             settings_.Flag("SelectNullHand"));
    chkAllowMoving_ = AddBox("chkAllowMoving", QStringLiteral("Разрешить перемещение объектов в режиме выбора"),
                             settings_.Flag("AllowMoving"));
    chkNoMarked_ = AddBox("chkNoMarked", QStringLiteral("Никогда не создавать помеченные шары, цилиндры"),
                          settings_.Flag("NoCreateMarkedObjects"));
    AddButtons();
}

void frmControl::Store() {
    settings_.SetBool("InvertNavigation", chkInvert_->isChecked());
    settings_.SetBool("NoCreateMarkedObjects", chkNoMarked_->isChecked());
    settings_.SetBool("SelectNullHand", chkZeroSupport_->isChecked());
    settings_.SetBool("AllowMoving", chkAllowMoving_->isChecked());
    settings_.SetInt("MiddleMouseKey",
                     SettingOfChoice(middleShown_, chkMiddle_->isChecked(), cmbMiddle_->currentIndex()));
    settings_.SetInt("BallSize",
                     SettingOfChoice(ballSizeShown_, chkBallSize_->isChecked(), cmbBallSize_->currentIndex()));
}

}  // namespace velo
