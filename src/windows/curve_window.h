// The second-order surface window prpSurface2 ("Свойства параболы №",
// "Свойства гиперболы №", "Свойства эллипса №").
#pragma once

#include "forms/curve_form.h"
#include "windows/fixed_window.h"

class QPushButton;

namespace velo {

class CurvePicture;

class prpSurface2 : public FixedFormWindow<CurveForm> {
    Q_OBJECT
public:
    prpSurface2(WindowServices services, int number, QWidget* parent);
    // Opens the window for a live second-order surface, after cancelling one
    // already open; returns it (null when there is no such surface).
    static prpSurface2* Open(WindowServices services, int number, QWidget* parent);

protected:
    void ShowDerived() override;

private:
    CurvePicture* picture_ = nullptr;
    QPushButton* Command3_ = nullptr;
};

}  // namespace velo
