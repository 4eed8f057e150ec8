// What the property windows of the fixed objects share beyond the frame of
// PropertyWindow: numeric fields that write into the working copy and
// preview it at once, the material list, and the unit labels.
#pragma once

#include <functional>
#include <utility>

#include "forms/number_input.h"
#include "windows/number_field.h"
#include "windows/property_window.h"

class QComboBox;
class QLabel;

namespace velo {

class FixedPropertyWindow : public PropertyWindow {
    Q_OBJECT
public:
    using PropertyWindow::PropertyWindow;

protected:
    // Writes the working copy into the scene.
    virtual void ShowCopy(World& world) = 0;
    // Shows what follows from the copy (shown-only values, what is enabled).
    virtual void ShowDerived() {}
    // After every change of the copy: the derived values, the preview, the
    // redraw.
    void Refresh();

    // A numeric field showing `value`; every value its check takes goes to
    // `take`, then the copy is previewed.
    NumberField* AddNumber(const QString& name, double value, std::function<void(double)> take,
                           NumberInput::Check check);
    // The material list: the World's materials 0..MaterialCount.
    QComboBox* AddMaterialList(int material, std::function<void(int)> take);
    // The length unit's name (tool-tip "Единица измерения длины (L)").
    QLabel* LengthUnitLabel();
    // The angle unit's name (tool-tip "Мера угла (G)").
    QLabel* AngleUnitLabel();
};

// The part every fixed-object window hands to its form: the preview, the
// selection on closing, the accepted copy, and the window's title as the
// name of the history step. The form is made on the scene with `formArgs`.
template <typename Form>
class FixedFormWindow : public FixedPropertyWindow {
public:
    template <typename... FormArgs>
    FixedFormWindow(WindowServices services, QWidget* parent, FormArgs&&... formArgs)
        : FixedPropertyWindow(std::move(services), parent), form_(Scene(), std::forward<FormArgs>(formArgs)...) {}

protected:
    void ShowCopy(World& world) override { form_.Preview(world); }
    void RemovePreview(World& world) override { form_.RemovePreview(world); }
    bool SelectOnClosing(World& world) override {
        form_.SelectOnClosing(world);
        return true;
    }
    void ApplyCopy(World& world) override { form_.Apply(world); }
    QString EditName() const override { return windowTitle(); }

    Form form_;
};

// Cancels any window of type W that the parent has open, so that one
// object at a time is previewed by a window of each kind.
template <typename W>
void CancelOpenWindows(QWidget* parent) {
    if (!parent) return;
    for (W* open : parent->findChildren<W*>(Qt::FindDirectChildrenOnly)) open->reject();
}

}  // namespace velo
