// The second-order surface window prpSurface2 ("Свойства параболы №",
// "Свойства гиперболы №", "Свойства эллипса №").
#pragma once

#include "forms/curve_form.h"
#include "windows/fixed_window.h"

class QPushButton;

namespace velo {

class CurvePicture;

class prpSurface2 : public FixedPropertyWindow {
    Q_OBJECT
public:
    prpSurface2(WindowServices services, int number, QWidget* parent);
    // Opens the window for a live second-order surface, after cancelling one
    // already open; returns it (null when there is no such surface).
    static prpSurface2* Open(WindowServices services, int number, QWidget* parent);

protected:
    void ShowCopy(World& world) override { form_.Preview(world); }
    void ShowDerived() override;
    void RemovePreview(World& world) override { form_.RemovePreview(world); }
    bool SelectOnClosing(World& world) override {
        form_.SelectOnClosing(world);
        return true;
    }
    void ApplyCopy(World& world) override { form_.Apply(world); }
    QString EditName() const override { return windowTitle(); }

private:
    CurveForm form_;
    CurvePicture* picture_ = nullptr;
    QPushButton* Command3_ = nullptr;
};

}  // namespace velo
