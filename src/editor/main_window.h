// frmMain: the main window of the program. It owns the one World, the menu
// bar with its captions, shortcuts and availability by project kind, the
// toolbars, the scene area keeping the 10 : 7 field, the side and bottom
// panels, and the run loop.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

#include "project/lifecycle.h"
#include "model/world.h"
#include "engine/driver.h"
#include "platform/clock_qt.h"
#include "project/temp_folders.h"
#include "view/scene_widget.h"

class QAction;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QMessageBox;
class QTimer;
class QToolBar;
class QTextBrowser;

namespace velo {

class QtDialogs;
struct Recording;
class QtMessenger;
class SceneEditor;
class SettingsAccess;
class ToolkitLanguage;
class WindowEffects;

// What the window needs from the desktop; tests pass scripted versions.
struct MainWindowServices {
    QtMessenger* Messages = nullptr;
    FileChooser* FileDialogs = nullptr;
    SettingsAccess* Settings = nullptr;
    std::filesystem::path ProgramFolder;  // "New.qvs", "Help" live here
    TempFolders Folders;                  // the instance's working folders
    Clock* TimeSource = nullptr;          // the window's own clock when empty
    bool TransparencySupported = false;   // the window system shows semi-transparent windows
    ToolkitLanguage* Toolkit = nullptr;   // Qt's own texts follow the language
    WindowEffects* Effects = nullptr;     // transparency and fading of the dialogs
};

// Built-in interface texts (a language file replaces them).
struct InterfaceTexts {
    QString CaptionBase = QStringLiteral("Моделирование механических систем");
    QString ReadOnlyMarker = QStringLiteral("только чтение");
    QString StartCaption = QStringLiteral("Запуск имитации");
    QString StopCaption = QStringLiteral("Приостановить имитацию");
    QString ZeroSupportName = QStringLiteral("Нулевая опора");
    // The language of the user guide and of Qt's own texts.
    QString Locale = QStringLiteral("ru");
    // The panels' labels and the kinds of the current object, by the keys
    // of the language file (persist/language_file.h, PanelTexts).
    QHash<QString, QString> Panels;
    QString Panel(const char* key) const { return Panels.value(QString::fromUtf8(key)); }
};

// Layout measures of the window in twips (15 twips = 1 pixel).
inline constexpr int SceneLeftMarginTwips = 120;
inline constexpr int SceneTopMarginTwips = 120;
inline constexpr int SidePanelWidthTwips = 2700;
inline constexpr int BottomPanelHeightTwips = 600;
inline constexpr int EditPanelMinScreenTwips = 9000;

// Trims a number text and adds a missing leading zero ("." -> "0.").
QString WithZero(const QString& text);

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(MainWindowServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    World& world() { return *world_; }
    const World& world() const { return *world_; }

    // Program start: the template, then the file named on the command line
    // (one pair of surrounding quotes removed), else the project kind chosen
    // in the settings.
    void Startup(const QString& commandLine);

    // A menu item or top-level menu by its control name ("mnSave").
    QAction* Item(const QString& name) const;
    QMenu* Menu(const QString& name) const;
    // Toolbar buttons: 0 start, 1 pause (also in the celestial toolbar).
    QAction* RunButton(int index) const;
    QToolBar* MechanicalToolbar() const { return toolbarMechanical_; }
    QToolBar* CelestialToolbar() const { return toolbarCelestial_; }
    Metaworld* Scene() const { return scene_; }
    QLabel* TimeLabel() const { return lblT_; }
    QLabel* HintLabel() const { return lblHL_; }
    const InterfaceTexts& Texts() const { return texts_; }
    Project& project() { return project_; }
    Lifecycle& lifecycle() { return *lifecycle_; }
    // The mouse editing of the scene, its modes and its undo history.
    SceneEditor& editor() { return *editor_; }
    // The samples of the running project that the graph windows show.
    Recording& recording() { return *recording_; }
    // A graph window of the selected balls, cylinders and rods (the current
    // one when none is selected; the scene's energy when there is neither),
    // or of one object. A window opened from a property window does not take
    // the focus, so that the property window keeps its edits.
    void OpenGraph();
    void OpenGraph(int kind, int number, bool activate);
    // The collision log listens to the run while a graph window asks for it.
    void UpdateCollisionLog();

    // Switch project kind (k > 3 is ignored): menus, toolbars and panels.
    void SwitchProjectKind(int kind);
    // The appearance settings: the exit items and the menus' separators.
    void ApplyAppearance();
    void ShowProjectKindUi(int kind);
    // The World holds another project (new, opened, read again, closed):
    // the recording of the one before is dropped, the graph windows follow.
    void ProjectReplaced();

    // The running state is the enabled state of `Metatimer`.
    bool Running() const;
    // In timer mode `Metatimer` runs the ticks; free running, the run
    // command does.
    QTimer* Metatimer() const { return metatimer_; }
    // The periodic re-layout while the simulation is stopped.
    QTimer* Progtimer() const { return progtimer_; }
    Driver& driver() { return *driver_; }
    // One tick of the run (the timer's event).
    void Tick();

    void RefreshCaption();
    // `fixedToo` false: only movable objects changed, the fixed scene's
    // picture is kept when the view is the same.
    void MWRefresh(bool clearSelection, bool fixedToo = true);
    void ShowTime();  // "T = " and the simulated time
    // "E = … Дж, дрейф … %" in the status area while running.
    void ShowEnergyReadout();

    // Commands (also reached through the menus).
    void RunStop();
    bool ConfirmCloseFile();
    void NewMechanical();
    void NewCelestial();
    void NewDiffraction();
    void OpenFile();
    bool Save();
    bool SaveAs();
    void CloseProject();
    void CancelAll();
    void Recover();
    void SetStartPoint();
    void StopSelected();
    void ToggleMarks();
    void ToggleGrid();
    void StartCalculator();
    void ShowDescription();
    void ShowAbout();
    void ShowSystemInformation();
    void OpenHelpFolder();

    // Language files (persist/language_file.h). The menu "Язык" lists the
    // files of the program's "Language" folder; choosing one applies it.
    void FillLanguageMenu();
    // Applies "Language/<fileName>" to the captions, the run command, the
    // tool-tips and Qt's own texts, and stores the language. A file that
    // cannot be read is reported and changes nothing; false then.
    bool Lang(const QString& fileName);
    // Start-up: the stored language, or the built-in one on a first start.
    // The built-in language needs no file; another language whose file is
    // gone is reported once and replaced by the built-in one for good.
    void ApplyStartupLanguage();

    // Reaction to the keys of the scene's key control; true when used.
    bool SceneKey(int key, Qt::KeyboardModifiers modifiers);
    bool GridVisible() const;
    // Navigation keys first, then the shortcuts of the scene.
    bool HandleKey(const QKeyEvent& event);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Attaches the collision log to a run (running true) while a graph
    // window asks for it, detaches it otherwise.
    void ListenForCollisions(bool running);
    void BuildMenus();
    void BuildToolbars();
    // Toolbar buttons take their menu item's caption without "&" marks; the
    // run buttons the run captions.
    void RenewToolTips();
    void BuildPanels();
    void ConnectCommands();
    void SetItemVisible(const QString& name, bool visible);
    void SetItemEnabled(const QString& name, bool enabled);
    void SetRunningMenus(bool running);
    void UpdateFileMenu();
    void UpdateObjectMenu();
    void UpdateActionsMenu();
    // The project's background picture, fitted to the scene (none when the
    // project has none).
    void ShowBackground();
    // Items whose window is not in this program yet stay disabled, also
    // after the whole window was disabled and enabled again.
    void KeepUnavailableDisabled();
    // The caption of the menu item that arms editing mode `mode`.
    QString ModeName(int mode) const;
    void FormResize();
    void BuildDriver();
    void ReadDriverSettings();
    void SaveCommand();
    void SaveAsCommand();
    void NewWindow();
    void OpenInNewWindow();
    void ExitCommand();
    bool TriggerItem(const char* name);
    void PopUpMenu(const char* name);
    bool AnythingSelected() const;
    QMessageBox* ShowInformationBox(const QString& title, const QString& text);
    void SetStatus(const QString& text);
    void UpdatePanels();
    // `HCombo`: the existing bodies by their display names.
    void FillBodyList();
    // Keys always reach the scene's key control.
    void SetComboFocus();
    void ShowPointer(const FieldMouseEvent& event);
    void Fail(const std::string& message);
    void ApplyTimeText(const QString& text);

    class Hooks;
    friend class Hooks;
    friend class SceneEditor;

    MainWindowServices services_;
    std::unique_ptr<World> world_;
    Project project_;
    std::unique_ptr<Hooks> hooks_;
    std::unique_ptr<Lifecycle> lifecycle_;
    QtClock ownClock_;
    std::unique_ptr<Driver> driver_;
    std::unique_ptr<Recording> recording_;
    SceneEditor* editor_ = nullptr;
    InterfaceTexts texts_;

    QHash<QString, QAction*> items_;
    QHash<QString, QMenu*> menus_;
    // The captions the menu items are built with, for texts a language
    // file does not give.
    QHash<QString, QString> builtInCaptions_;
    // Items whose window or mode is not part of this program yet: they stay
    // disabled whatever the availability rules say.
    QSet<QString> notYetAvailable_;

    QToolBar* toolbarMechanical_ = nullptr;
    QToolBar* toolbarCelestial_ = nullptr;
    QAction* runButtons_[2] = {nullptr, nullptr};
    QAction* hRunButtons_[2] = {nullptr, nullptr};

    QWidget* central_ = nullptr;
    Metaworld* scene_ = nullptr;
    QFrame* frmMake_ = nullptr;
    QFrame* frmHMake_ = nullptr;
    QFrame* frmContr_ = nullptr;
    QFrame* frmEdit_ = nullptr;
    QFrame* frmPrint_ = nullptr;
    QFrame* frmPrint2_ = nullptr;
    QComboBox* ZCoord_ = nullptr;
    QComboBox* HCombo_ = nullptr;
    QLabel* lblT_ = nullptr;
    QLabel* lblT2_ = nullptr;
    QLabel* lblX_ = nullptr;
    QLabel* lblY_ = nullptr;
    QLabel* lblHL_ = nullptr;
    QLabel* lblMode_ = nullptr;
    QLabel* lblCurrent_ = nullptr;
    QTimer* metatimer_ = nullptr;
    QTimer* progtimer_ = nullptr;
    static constexpr int ProgtimerIntervalMs = 500;
    QPointer<QTextBrowser> descriptionViewer_;

    int sceneWidth_ = 0;
    int sceneHeight_ = 0;
    std::uint8_t MakeObj_ = 0;
    long long calculatorProcess_ = 0;
};

}  // namespace velo
