// The inclined plane window prpPlane ("Свойства наклонной плоскости №").
#pragma once

#include "forms/plane_form.h"
#include "windows/fixed_window.h"

class QCheckBox;
class QLabel;

namespace velo {

class prpPlane : public FixedPropertyWindow {
    Q_OBJECT
public:
    prpPlane(WindowServices services, int number, QWidget* parent);
    // Opens the window for a live plane, after cancelling one already open;
    // returns it (null when there is no such plane).
    static prpPlane* Open(WindowServices services, int number, QWidget* parent);

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
    PlaneForm form_;
    NumberField* txtL_ = nullptr;
    NumberField* txtAl_ = nullptr;
    QLabel* thicknessLabel_ = nullptr;
    NumberField* txtStout_ = nullptr;
    QLabel* thicknessUnit_ = nullptr;
};

}  // namespace velo
