// The polyline surface window prpSurface ("Cвойства поверхности №").
#pragma once

#include "forms/surface_form.h"
#include "windows/fixed_window.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QScrollBar;

namespace velo {

class prpSurface : public FixedFormWindow<SurfaceForm> {
    Q_OBJECT
public:
    prpSurface(WindowServices services, int number, QWidget* parent);
    // Opens the window for a live polyline surface, after cancelling one
    // already open; returns it (null when there is no such surface).
    static prpSurface* Open(WindowServices services, int number, QWidget* parent);

protected:
    void ShowDerived() override;

private:
    // Takes a vertex count (clamped by the form) and shows it in the
    // scroll bar; the count field shows it once its editing ends.
    void TakeCount(double typed);
    // Shows the vertex the scroll bar points at.
    void ShowVertex();

    NumberField* txtCount_ = nullptr;
    QScrollBar* HScroll1_ = nullptr;
    QLabel* lblN_ = nullptr;
    NumberField* txtX_ = nullptr;
    NumberField* txtY_ = nullptr;
    QGroupBox* thicknessFrame_ = nullptr;
    NumberField* txtStout_ = nullptr;
};

}  // namespace velo
