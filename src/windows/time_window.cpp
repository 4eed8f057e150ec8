#include "windows/time_window.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "windows/number_field.h"

namespace velo {
namespace {

// The pages of the frame area: the two frames and an empty one for
// position 0, so that the window keeps its size as the slider moves.
constexpr int EmptyPage = 2;

}  // namespace

frmTime::frmTime(const World& world, WorldEdit edit, QWidget* parent)
    : QDialog(parent), edit_(std::move(edit)), locale_(NumberLocaleOf(QLocale())) {
    setObjectName(QStringLiteral("frmTime"));
    setWindowTitle(QStringLiteral("Масштаб во времени"));
    setAttribute(Qt::WA_DeleteOnClose);
    opened_ = OpenTimeWindow(world, locale_);

    auto* layout = new QVBoxLayout(this);
    auto* options = new QHBoxLayout;
    Option1_ = new QRadioButton(QStringLiteral("В замедленном темпе"), this);
    Option1_->setObjectName(QStringLiteral("Option1"));
    Option2_ = new QRadioButton(QStringLiteral("В ускоренном темпе"), this);
    Option2_->setObjectName(QStringLiteral("Option2"));
    // At position 0 neither option is on, which exclusive buttons cannot
    // show; the slider keeps them apart instead.
    for (QRadioButton* option : {Option1_, Option2_}) option->setAutoExclusive(false);
    options->addWidget(Option1_);
    options->addStretch();
    options->addWidget(Option2_);
    layout->addLayout(options);

    Slider1_ = new QSlider(Qt::Horizontal, this);
    Slider1_->setObjectName(QStringLiteral("Slider1"));
    Slider1_->setRange(TimeSliderMin, TimeSliderMax);
    Slider1_->setPageStep(5);
    Slider1_->setTickInterval(5);
    Slider1_->setTickPosition(QSlider::TicksBelow);
    Slider1_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 45);
    layout->addWidget(Slider1_);

    frames_ = new QStackedWidget(this);
    for (int i = 0; i < 2; ++i) {
        frameTexts_[i] = new QLabel(frames_);
        frameTexts_[i]->setObjectName(QStringLiteral("Frame%1").arg(i));
        frameTexts_[i]->setAlignment(Qt::AlignCenter);
        frames_->addWidget(frameTexts_[i]);
    }
    frames_->addWidget(new QWidget(frames_));
    layout->addWidget(frames_);

    auto* step = new QHBoxLayout;
    auto* stepCaption = new QLabel(QStringLiteral("Макс. шаг:"), this);
    txtMaxStep_ = new NumberField(this);
    txtMaxStep_->setObjectName(QStringLiteral("txtMaxStep"));
    txtMaxStep_->SetCheck(MaxStepAccepted);
    txtMaxStep_->SetValue(world.Params.MaxStep);
    stepCaption->setBuddy(txtMaxStep_);
    Label1_ = new QLabel(QString::fromStdString(opened_.TimeUnitTip), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setToolTip(QString::fromStdString(opened_.TimeUnitTip));
    step->addWidget(stepCaption);
    step->addWidget(txtMaxStep_, 1);
    step->addWidget(Label1_);
    layout->addLayout(step);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("ОК"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(Slider1_, &QSlider::valueChanged, this, &frmTime::SliderMoved);
    connect(Option1_, &QRadioButton::clicked, this, [this] { OptionClicked(true); });
    connect(Option2_, &QRadioButton::clicked, this, [this] { OptionClicked(false); });
    {
        const QSignalBlocker quiet(Slider1_);
        Slider1_->setValue(opened_.SliderPosition);
    }
    SliderMoved(opened_.SliderPosition);
}

int frmTime::VisibleFrame() const { return frames_->currentIndex() == EmptyPage ? -1 : frames_->currentIndex(); }

QString frmTime::FrameText() const {
    const int frame = VisibleFrame();
    return frame < 0 ? QString() : frameTexts_[frame]->text();
}

void frmTime::SliderMoved(int position) {
    const TimeOptionState state = TimeOptionsFor(position);
    Option1_->setChecked(state.Slower);
    Option2_->setChecked(state.Faster);
    const QString text = QString::fromStdString(TimeFactorText(position, locale_));
    if (state.VisibleFrame >= 0) frameTexts_[state.VisibleFrame]->setText(text);
    frames_->setCurrentIndex(state.VisibleFrame >= 0 ? state.VisibleFrame : EmptyPage);
}

void frmTime::OptionClicked(bool slower) {
    const int position = PositionAfterOptionClick(Slider1_->value(), slower);
    if (position != Slider1_->value()) {
        Slider1_->setValue(position);
        return;
    }
    // The slider stays: the clicked option is on and the other off, as
    // option buttons go (at position 0 too, until the slider moves).
    Option1_->setChecked(slower);
    Option2_->setChecked(!slower);
}

void frmTime::accept() {
    const int position = Slider1_->value();
    const double maxStep = txtMaxStep_->Value();
    if (edit_) {
        edit_(QStringLiteral("Масштаб во времени"),
              [&](World& world) { AcceptTimeWindow(world, opened_, position, maxStep); });
    }
    QDialog::accept();
}

}  // namespace velo
