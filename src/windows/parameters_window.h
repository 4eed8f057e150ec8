// frmParam, "Параметры имитации": units, gravity and the zero level, the
// medium, the Routh threshold, the view, colours and lighting, and the
// materials tab, all on a copy of the World's values. "Применить" checks
// the entries and writes them back as one step of the history; "Отмена"
// drops the copy. Modal over the main window.
#pragma once

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "forms/parameters_apply.h"
#include "windows/material_window.h"
#include "windows/window_edits.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QTabWidget;
class QTableWidget;

namespace velo {

class NumberField;

// What the window needs from the program; tests pass scripted ones.
struct ParameterWindowActions {
    WorldEdit Edit;
    ErrorReporter ReportError;
    ColourChooser ChooseColour;
    // "Обзор": a picture file, nothing when cancelled.
    std::function<std::optional<std::filesystem::path>()> ChoosePicture;
    // The input box of the ideal material's density (title, prompt, text).
    std::function<std::optional<std::string>(const std::string&, const std::string&, const std::string&)> AskText;
    // Makes a copy of the picture the project's background (an empty path:
    // none); false when it failed (reported).
    std::function<bool(const std::filesystem::path&)> StoreBackground;
    // Fits the project's background to the scene again (and takes the
    // ambient light from it when "Авторасчёт" is ticked), inside the step.
    std::function<void(World&)> RefitBackground;
    // Writes "New.qvs" from the World; false when it failed (reported).
    std::function<bool()> WriteTemplate;
    // Holds "Graphics/Backgrounds".
    std::filesystem::path ProgramFolder;
};

class frmParam : public QDialog {
    Q_OBJECT
public:
    frmParam(const World& world, ParameterWindowActions actions, QWidget* parent = nullptr);
    ~frmParam() override;

    QTabWidget* Tabs() const { return tabs_; }
    // "Применить": the checks, then one step of the history, then the
    // template when asked for; the window closes when all went well.
    void Apply();

    // The materials tab's buttons, with the list's current row.
    void AddMaterialCommand();
    void DeleteMaterialCommand();
    void MaterialPropertiesCommand();
    // Shows coefficient table `kind` (CoefficientKind) on the materials tab.
    void ShowCoefficients(int kind);
    const MaterialTable& WorkingMaterials() const { return values_->Materials; }

private:
    QWidget* MakeUnitsPage();
    QWidget* MakeFieldPage();
    QWidget* MakeViewPage();
    QWidget* MakeColoursPage();
    QWidget* MakeMaterialsPage();
    NumberField* MakeNumber(const char* name, ParameterNumber check, const std::string& text);
    void ReadControls();
    void RefreshLabels();
    void RefreshMaterials();
    void FocusRefusal(const ParameterApplyResult& refusal);
    void ChooseColour(QPushButton* button, std::int32_t& colour);
    void Report(const std::string& text);

    const World& world_;
    ParameterWindowActions actions_;
    NumberLocale locale_;
    std::unique_ptr<ParameterWindowValues> values_;
    std::array<std::string, 3> unitNames_;  // mass, time, charge
    int coefficientKind_ = CoefficientRestitution;

    QTabWidget* tabs_ = nullptr;
    // Units.
    QLineEdit* txtLength_ = nullptr;
    QCheckBox* chkMasculine_ = nullptr;
    QComboBox* cmbUnit_ = nullptr;
    QLineEdit* txtUnit_ = nullptr;
    QLineEdit* txtAngleName_ = nullptr;
    NumberField* txtAngleUnit_ = nullptr;
    // Field and medium.
    NumberField* txtGravity_ = nullptr;
    QLabel* lblGravityUnit_ = nullptr;
    NumberField* txtZeroLevel_ = nullptr;
    QLabel* lblZeroLevelUnit_ = nullptr;
    QCheckBox* chkZeroSupport_ = nullptr;
    QComboBox* cmbZeroMaterial_ = nullptr;
    QComboBox* cmbAir_ = nullptr;
    NumberField* txtAirDensity_ = nullptr;
    QLabel* lblAirUnit_ = nullptr;
    NumberField* txtWindX_ = nullptr;
    NumberField* txtWindY_ = nullptr;
    QLabel* lblWind_ = nullptr;
    QLabel* lblWindUnit_ = nullptr;
    NumberField* txtRouth_ = nullptr;
    QLabel* lblRouthUnit_ = nullptr;
    // View.
    QLabel* lblScale_ = nullptr;
    NumberField* txtScale_ = nullptr;
    NumberField* txtOriginX_ = nullptr;
    NumberField* txtOriginY_ = nullptr;
    QLabel* lblArea_ = nullptr;
    QCheckBox* chkLock_ = nullptr;
    // Colours and lighting.
    std::array<QPushButton*, 6> cmdColors_{};
    QPushButton* cmdMarkColour_ = nullptr;
    QSlider* sldMarkSize_ = nullptr;
    NumberField* txtAmbient_ = nullptr;
    QCheckBox* chkAmbientAuto_ = nullptr;
    NumberField* txtObserverZ_ = nullptr;
    QComboBox* cmbBackground_ = nullptr;
    QLabel* lblBackgroundFile_ = nullptr;
    // Materials.
    QListWidget* lstMaterials_ = nullptr;
    QLabel* lblCoefficients_ = nullptr;
    QTableWidget* grdCoefficients_ = nullptr;
    // Bottom.
    QCheckBox* chkTemplate_ = nullptr;
};

}  // namespace velo
