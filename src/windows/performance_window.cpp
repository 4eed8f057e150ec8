#include "windows/performance_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

#include "platform/settings.h"
#include "prefs/settings_choices.h"
#include "windows/number_field.h"

namespace velo {

frmPerformance::frmPerformance(SettingsAccess& settings, PerformanceWindowServices services, QWidget* parent)
    : SettingsDialog("frmPerformance", QStringLiteral("Настройка производительности"), settings, parent),
      services_(std::move(services)) {
    auto* fields = new QGridLayout;
    auto addField = [this, fields](const char* name, const QString& caption, NumberInput::Check check, int value) {
        auto* field = new NumberField(this);
        field->setObjectName(QString::fromUtf8(name));
        field->SetCheck(std::move(check));
        field->SetValue(value);
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        const int row = fields->rowCount();
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
        return field;
    };
    Text1_ = addField("Text1", QStringLiteral("Число тактов между визуальными обновлениями:"), StepLimitAccepted,
                      settings_.Number("Pipeline"));
    Text2_ = addField("Text2", QStringLiteral("Интервал передачи ресурсов системе (мс):"), LatencyAccepted,
                      settings_.Number("Latency"));
    Body()->addLayout(fields);

    chkHalftone_ = AddBox("chkHalftone", QStringLiteral("Передавать полутона при отображении объектов"),
                          settings_.Flag("ShadedBalls"));
    sldHalftone_ = new QSlider(Qt::Horizontal, this);
    sldHalftone_->setObjectName(QStringLiteral("sldHalftone"));
    sldHalftone_->setRange(0, HalftoneSliderMax);
    sldHalftone_->setTickPosition(QSlider::TicksBelow);
    sldHalftone_->setValue(HalftonePositionOfWidth(settings_.Real("GradientDensity")));
    sldHalftone_->setEnabled(chkHalftone_->isChecked());
    connect(chkHalftone_, &QCheckBox::toggled, sldHalftone_, &QSlider::setEnabled);
    Body()->addWidget(sldHalftone_);

    // Anti-aliased drawing is always at hand here: the box shows the setting.
    chkGdi_ = AddBox("chkGdi", QStringLiteral("Использовать GDI+ для рендеринга неподвижных объектов"),
                     settings_.Flag("UseGDI+"));
    QCheckBox* watermark =
        AddBox("chkWatermark", QStringLiteral("Отображать водяной знак имитации, если установлен"), false);
    watermark->setEnabled(services_.TransparencySupported);

    // Shown, not stored.
    Body()->addWidget(new QLabel(QStringLiteral("Создавая нить, ориентироваться на:"), this));
    auto* thread = new QHBoxLayout;
    auto* threadSlider = new QSlider(Qt::Horizontal, this);
    threadSlider->setObjectName(QStringLiteral("sldThread"));
    threadSlider->setRange(0, 10);
    threadSlider->setValue(5);
    thread->addWidget(new QLabel(QStringLiteral("Точность"), this));
    thread->addWidget(threadSlider, 1);
    thread->addWidget(new QLabel(QStringLiteral("Скорость"), this));
    Body()->addLayout(thread);

    auto* lastRun = new QLabel(this);
    lastRun->setObjectName(QStringLiteral("lblLastRun"));
    if (services_.LastTps > 0) {
        lastRun->setText(QStringLiteral("Последняя имитация: %1 tps")
                             .arg(static_cast<long long>(std::floor(services_.LastTps))));
    } else {
        lastRun->hide();
    }
    Body()->addWidget(lastRun);
    AddButtons();
}

void frmPerformance::Store() {
    settings_.SetInt("Pipeline", static_cast<int>(std::round(Text1_->Value())));
    settings_.SetInt("Latency", static_cast<int>(std::floor(Text2_->Value())));
    settings_.SetBool("ShadedBalls", chkHalftone_->isChecked());
    settings_.SetDouble("GradientDensity", HalftoneWidthOfPosition(sldHalftone_->value()));
    settings_.SetBool("UseGDI+", chkGdi_->isChecked());
    if (services_.Redraw) services_.Redraw();
}

}  // namespace velo
