// The suspension point window prpLaval ("Свойства подвеса №").
#pragma once

#include "forms/laval_form.h"
#include "windows/fixed_window.h"

namespace velo {

class prpLaval : public FixedPropertyWindow {
    Q_OBJECT
public:
    prpLaval(WindowServices services, int number, QWidget* parent);
    // Opens the window for a live suspension point, after cancelling one
    // already open; returns it (null when there is no such point).
    static prpLaval* Open(WindowServices services, int number, QWidget* parent);

protected:
    void ShowCopy(World& world) override { form_.Preview(world); }
    void RemovePreview(World& world) override { form_.RemovePreview(world); }
    bool SelectOnClosing(World& world) override {
        form_.SelectOnClosing(world);
        return true;
    }
    void ApplyCopy(World& world) override { form_.Apply(world); }
    QString EditName() const override { return windowTitle(); }

private:
    LavalForm form_;
};

}  // namespace velo
