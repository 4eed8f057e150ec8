// The support and wall window prpHandWall ("Свойства опоры №",
// "Свойства стены №").
#pragma once

#include "forms/bar_form.h"
#include "windows/fixed_window.h"

namespace velo {

class prpHandWall : public FixedFormWindow<BarForm> {
    Q_OBJECT
public:
    // kind is KindHand or KindWall.
    prpHandWall(WindowServices services, int kind, int number, QWidget* parent);
    // Opens the window for a live support (from number 0, the ZeroSupport,
    // on) or wall, after cancelling one already open; returns it (null when
    // there is no such object).
    static prpHandWall* Open(WindowServices services, int kind, int number, QWidget* parent);
};

}  // namespace velo
