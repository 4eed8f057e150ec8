// The suspension point window prpLaval ("Свойства подвеса №").
#pragma once

#include "forms/laval_form.h"
#include "windows/fixed_window.h"

namespace velo {

class prpLaval : public FixedFormWindow<LavalForm> {
    Q_OBJECT
public:
    prpLaval(WindowServices services, int number, QWidget* parent);
    // Opens the window for a live suspension point, after cancelling one
    // already open; returns it (null when there is no such point).
    static prpLaval* Open(WindowServices services, int number, QWidget* parent);
};

}  // namespace velo
