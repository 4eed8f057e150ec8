// frmTime, "Масштаб во времени": how fast the simulated time runs against
// real time (a slider of factors 1.2) and the cap of one integration step.
#pragma once

#include <QDialog>

#include "forms/time_scale.h"
#include "windows/window_edits.h"

class QLabel;
class QRadioButton;
class QSlider;
class QStackedWidget;

namespace velo {

class NumberField;

class frmTime : public QDialog {
    Q_OBJECT
public:
    frmTime(const World& world, WorldEdit edit, QWidget* parent = nullptr);

    QSlider* Slider() const { return Slider1_; }
    QRadioButton* SlowerOption() const { return Option1_; }
    QRadioButton* FasterOption() const { return Option2_; }
    NumberField* MaxStepField() const { return txtMaxStep_; }
    QLabel* TimeUnitLabel() const { return Label1_; }
    // The frame shown: 0 faster, 1 slower, -1 none (at position 0).
    int VisibleFrame() const;
    QString FrameText() const;

    // OK: one step of the history when something changed.
    void accept() override;

private:
    void SliderMoved(int position);
    void OptionClicked(bool slower);

    WorldEdit edit_;
    NumberLocale locale_;
    TimeWindowValues opened_;
    QSlider* Slider1_ = nullptr;
    QRadioButton* Option1_ = nullptr;
    QRadioButton* Option2_ = nullptr;
    NumberField* txtMaxStep_ = nullptr;
    QLabel* Label1_ = nullptr;
    QStackedWidget* frames_ = nullptr;
    QLabel* frameTexts_[2] = {nullptr, nullptr};
};

}  // namespace velo
