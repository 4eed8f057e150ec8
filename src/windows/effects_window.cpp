#include "windows/effects_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "platform/settings.h"
#include "prefs/settings_choices.h"
#include "windows/number_field.h"

namespace velo {
namespace {

constexpr int MostFrames = 20;

}  // namespace

frmEffects::frmEffects(SettingsAccess& settings, QWidget* parent)
    : SettingsDialog("frmEffects", QStringLiteral("Настройка видеоэффектов"), settings, parent) {
    auto addSlider = [this](const char* name, const QString& heading, int value) {
        Body()->addWidget(new QLabel(heading, this));
        auto* row = new QHBoxLayout;
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QString::fromUtf8(name));
        slider->setRange(0, MostFrames);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(5);
        slider->setValue(value);
        auto* shown = new QLabel(QString::number(slider->value()), this);
        shown->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")));
        connect(slider, &QSlider::valueChanged, shown, [shown](int v) { shown->setNum(v); });
        row->addWidget(slider, 1);
        row->addWidget(shown);
        Body()->addLayout(row);
        return slider;
    };
    sldShow_ = addSlider("sldShow", QStringLiteral("Количество промежуточных кадров при появлении окна"),
                         settings_.Number("FramesOnShow"));
    sldHide_ = addSlider("sldHide", QStringLiteral("Количество промежуточных кадров при исчезновении окна"),
                         settings_.Number("FramesOnHide"));
    sldTransparency_ = addSlider("sldTransparency",
                                 QStringLiteral("Количество промежуточных кадров при изменении прозрачности"),
                                 settings_.Number("FramesOnTransparency"));
    auto* fps = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Максимальная частота смены кадров (FPS):"), this);
    txtFps_ = new NumberField(this);
    txtFps_->setObjectName(QStringLiteral("txtFps"));
    txtFps_->SetValue(settings_.Number("MaxFrameRate"));
    caption->setBuddy(txtFps_);
    fps->addWidget(caption);
    fps->addWidget(txtFps_);
    Body()->addLayout(fps);
    AddButtons();
}

void frmEffects::Store() {
    settings_.SetInt("FramesOnShow", sldShow_->value());
    settings_.SetInt("FramesOnHide", sldHide_->value());
    settings_.SetInt("FramesOnTransparency", sldTransparency_->value());
    settings_.SetInt("MaxFrameRate", FrameRateOfEntry(txtFps_->Value()));
}

}  // namespace velo
