#include "windows/celestial_time_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/celestial_parameters_form.h"
#include "windows/number_field.h"

namespace velo {

frmHTime::frmHTime(const World& world, WorldEdit edit, QWidget* parent) : QDialog(parent), edit_(std::move(edit)) {
    setObjectName(QStringLiteral("frmHTime"));
    setWindowTitle(QStringLiteral("Масштаб во времени"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Время, соответствующее одной секунде реального времени:"), this);
    layout->addWidget(label);
    txtTime_ = new NumberField(this);
    txtTime_->setObjectName(QStringLiteral("txtTime"));
    txtTime_->setMinimumWidth(txtTime_->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 22);
    txtTime_->SetValue(CelestialTimeScaleOf(world));
    label->setBuddy(txtTime_);
    layout->addWidget(txtTime_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &frmHTime::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmHTime::reject);
    layout->addWidget(buttons);
}

void frmHTime::accept() {
    const double timeScale = txtTime_->Value();
    edit_(QStringLiteral("Масштаб во времени"), [timeScale](World& w) { ApplyCelestialTimeScale(w, timeScale); });
    QDialog::accept();
}

}  // namespace velo
