// The inclined plane window prpPlane ("Свойства наклонной плоскости №").
#pragma once

#include "forms/plane_form.h"
#include "windows/fixed_window.h"

class QCheckBox;
class QLabel;

namespace velo {

class prpPlane : public FixedFormWindow<PlaneForm> {
    Q_OBJECT
public:
    prpPlane(WindowServices services, int number, QWidget* parent);
    // Opens the window for a live plane, after cancelling one already open;
    // returns it (null when there is no such plane).
    static prpPlane* Open(WindowServices services, int number, QWidget* parent);

protected:
    void ShowDerived() override;

private:
    NumberField* txtL_ = nullptr;
    NumberField* txtAl_ = nullptr;
    QLabel* thicknessLabel_ = nullptr;
    NumberField* txtStout_ = nullptr;
    QLabel* thicknessUnit_ = nullptr;
};

}  // namespace velo
