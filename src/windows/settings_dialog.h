// The common frame of the settings windows: modal, deleted on closing, a
// column of controls over "ОК" and "Отмена". "Отмена" closes without
// change; "ОК" calls Store() and closes.
#pragma once

#include <QDialog>

class QCheckBox;
class QVBoxLayout;

namespace velo {

class SettingsAccess;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    void accept() override;

protected:
    SettingsDialog(const char* name, const QString& title, SettingsAccess& settings, QWidget* parent);
    // Writes the window's values; called by "ОК".
    virtual void Store() = 0;

    QVBoxLayout* Body() const { return body_; }
    // A check box named `name`, added to `layout` (the body when none).
    QCheckBox* AddBox(const char* name, const QString& caption, bool checked, QVBoxLayout* layout = nullptr);
    // Adds the buttons; called last by each window's constructor.
    void AddButtons();

    SettingsAccess& settings_;

private:
    QVBoxLayout* body_ = nullptr;
};

}  // namespace velo
