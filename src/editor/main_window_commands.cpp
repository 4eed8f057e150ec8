// The commands of the main window that are not the run loop: the file
// commands (carried out by the project lifecycle), the small object and
// tool commands, the information windows and the scene's keys.
#include "editor/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextBrowser>
#include <QTimer>
#include <QUndoStack>

#include <random>
#include <vector>
#include <QUrl>

#if defined(Q_OS_UNIX)
#include <signal.h>
#endif

#include "celestial/bodies.h"
#include "editing/celestial_edits.h"
#include "editing/creation.h"
#include "editing/selection.h"
#include "editor/scene_editor.h"
#include "model/world_ops.h"
#include "persist/language_file.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "platform/settings_store_qt.h"
#include "platform/window_effects.h"
#include "windows/air_window.h"
#include "windows/appearance_window.h"
#include "windows/control_window.h"
#include "windows/effects_window.h"
#include "windows/file_properties_window.h"
#include "windows/graph_window.h"
#include "windows/performance_window.h"
#include "windows/recording.h"
#include "windows/settings_window.h"
#include "windows/time_window.h"

namespace velo {

namespace {

inline constexpr const char* NoDescriptionMessage = "Описание имитации отсутствует";

}  // namespace

void frmMain::ConnectCommands() {
    // Commands that edit the World do nothing while the simulation runs;
    // their menus are hidden then, and this also holds for their shortcuts.
    auto bind = [this](const char* name, auto handler, bool whileRunning = false) {
        QAction* action = Item(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, [this, action, handler, whileRunning] {
            if (!whileRunning && Running()) {
                // A shortcut of a hidden menu still reaches the item; a
                // tick it set on its way is taken back.
                if (action->isCheckable()) action->setChecked(!action->isChecked());
                return;
            }
            (this->*handler)();
        });
    };
    bind("mnNewS", &frmMain::NewMechanical);
    bind("mnNewH", &frmMain::NewCelestial);
    bind("mnNewF", &frmMain::NewDiffraction);
    bind("mnOpen", &frmMain::OpenFile);
    bind("mnSave", &frmMain::SaveCommand);
    bind("mnSaveAs", &frmMain::SaveAsCommand);
    bind("mnNMSNew", &frmMain::NewWindow);
    bind("mnNMSOpen", &frmMain::OpenInNewWindow);
    bind("mnText", &frmMain::ShowDescription);
    bind("mnClose", &frmMain::CloseProject);
    bind("mnFileExit", &frmMain::ExitCommand);
    bind("mnExit", &frmMain::ExitCommand);
    bind("mnStop", &frmMain::StopSelected, true);
    bind("mnMark", &frmMain::ToggleMarks);

    // Editing modes: each command arms its mode for the next mouse action.
    const std::pair<const char*, int> modes[] = {
        {"mnSel", ModeSelect},     {"mnLav", ModeLaval},       {"mnHand", ModeHand},
        {"mnWall", ModeWall},      {"mnPlane", ModePlane},     {"mnBall", ModeBall},
        {"mnThread", ModeThread},  {"mnPeg", ModePeg},         {"mnSd", ModeSurface},
        {"mnS2", ModeParabola},    {"mnCylinder", ModeCylinder}, {"mnS2h", ModeHyperbola},
        {"mnProtract", ModeProtractor}, {"mnS2e", ModeEllipse}, {"mnStraight", ModeRuler},
        {"mnSelRect", ModeGroup},  {"mnMove", ModeMove},    {"mnHBody", ModeHBody},
    };
    for (const auto& [name, mode] : modes) {
        const int code = mode;
        connect(Item(QString::fromUtf8(name)), &QAction::triggered, editor_, [this, code] { editor_->ArmCommand(code); });
    }
    auto editorCommand = [this](const char* name, void (SceneEditor::*command)()) {
        connect(Item(QString::fromUtf8(name)), &QAction::triggered, editor_, [this, command] {
            if (!Running()) (editor_->*command)();
        });
    };
    editorCommand("mnSelAll", &SceneEditor::SelectAllCommand);
    editorCommand("mnSelFst", &SceneEditor::SelectLinkedCommand);
    editorCommand("mnCopy", &SceneEditor::CopyCommand);
    editorCommand("mnDel", &SceneEditor::DeleteCommand);
    editorCommand("mnFasten", &SceneEditor::FastenCommand);
    editorCommand("mnProp", &SceneEditor::PropertiesCommand);
    editorCommand("mnCancelDel", &SceneEditor::UndoDeleteCommand);
    editorCommand("mnOptimize", &SceneEditor::OptimizeCommand);
    editorCommand("mnParam", &SceneEditor::ParametersCommand);
    QAction* undo = Item("mnUndo");
    QAction* redo = Item("mnRedo");
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    connect(undo, &QAction::triggered, editor_, [this] {
        if (Running()) return;
        editor_->FinishGesture();
        editor_->History().undo();
    });
    connect(redo, &QAction::triggered, editor_, [this] {
        if (Running()) return;
        editor_->FinishGesture();
        editor_->History().redo();
    });
    auto historyItems = [this, undo, redo] {
        QUndoStack& history = editor_->History();
        undo->setEnabled(history.canUndo());
        redo->setEnabled(history.canRedo());
        const QString deleteStep = QStringLiteral("Удаление");
        SetItemEnabled("mnCancelDel", history.canUndo() && history.undoText() == deleteStep);
    };
    connect(&editor_->History(), &QUndoStack::indexChanged, this, historyItems);
    connect(&editor_->History(), &QUndoStack::cleanChanged, this, historyItems);
    historyItems();
    bind("mnCancel", &frmMain::CancelAll);
    bind("mnGrid", &frmMain::ToggleGrid);
    bind("mnCalc", &frmMain::StartCalculator);
    bind("mnRunStop", &frmMain::RunStop, true);
    bind("mnRecover", &frmMain::Recover, true);
    bind("mnPoint", &frmMain::SetStartPoint, true);
    bind("mnInfo", &frmMain::OpenHelpFolder);
    bind("mnAbout", &frmMain::ShowAbout);
    bind("mnSysInfo", &frmMain::ShowSystemInformation);

    // The time scale, the file's properties and the air-resistance
    // information: one window of each at a time.
    auto raiseOpen = [this](const char* name) {
        QWidget* open = findChild<QWidget*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
        if (open) {
            open->show();
            open->raise();
            open->activateWindow();
        }
        return open != nullptr;
    };
    connect(Item("mnTime"), &QAction::triggered, this, [this, raiseOpen] {
        if (Running() || world_->ProjectKind != ProjectMechanical || raiseOpen("frmTime")) return;
        editor_->FinishGesture();
        (new frmTime(*world_, editor_->WindowEdit(), this))->open();
    });
    connect(Item("mnFProp"), &QAction::triggered, this, [this, raiseOpen] {
        if (Running() || world_->ProjectKind != ProjectMechanical || raiseOpen("frmFileProperties")) return;
        editor_->FinishGesture();
        FilePropertiesServices properties;
        properties.Life = lifecycle_.get();
        properties.History = &editor_->History();
        properties.FileSize = lifecycle_->PrepareFileProperties();
        properties.AfterChange = [this] {
            RefreshCaption();
            UpdateFileMenu();
        };
        RefreshCaption();
        (new frmFileProperties(std::move(properties), this))->open();
    });
    connect(Item("mnIAir"), &QAction::triggered, this, [this, raiseOpen] {
        if (!raiseOpen("infAir")) (new infAir(this))->show();
    });

    // The celestial windows of the simulation menu, and the celestial scene
    // kept as JSON through "Экспорт" and "Импорт".
    connect(Item("mnParam"), &QAction::triggered, editor_, [this] {
        if (!Running() && world_->ProjectKind == ProjectCelestial) editor_->CelestialParametersCommand();
    });
    connect(Item("mnTime"), &QAction::triggered, editor_, [this] {
        if (!Running() && world_->ProjectKind == ProjectCelestial) editor_->CelestialTimeCommand();
    });
    connect(Item("mnExport"), &QAction::triggered, this, [this] {
        if (!Running() && world_->ProjectKind == ProjectCelestial) lifecycle_->ExportCelestialScene();
    });
    connect(Item("mnImport"), &QAction::triggered, this, [this] {
        if (Running() || world_->ProjectKind != ProjectCelestial) return;
        const std::unique_ptr<World> scene = lifecycle_->ReadCelestialSceneToImport();
        if (!scene) return;
        editor_->FinishGesture();
        editor_->Edit(QStringLiteral("Импорт"), [&scene](World& w) { ImportCelestialScene(w, *scene); });
        ShowTime();
        MWRefresh(true);
    });

    // The settings windows: modal, one at a time.
    auto openSettings = [this](const char* name, auto make) {
        connect(Item(QString::fromUtf8(name)), &QAction::triggered, this, [this, make] {
            if (Running() || !services_.Settings) return;
            editor_->FinishGesture();
            QDialog* window = make(*services_.Settings);
            window->open();
        });
    };
    // The menu captions as the lists show them: "&&" is a literal "&".
    auto caption = [this](const char* name) {
        return QString::fromStdString(WithoutAccelerators(Item(QString::fromUtf8(name))->text().toStdString()));
    };
    openSettings("mnSettings", [this, caption](SettingsAccess& settings) {
        auto* window =
            new frmSettings(settings, {caption("mnNewS"), caption("mnNewH")}, FolderEncryptionSupported(), this);
        connect(window, &QDialog::accepted, this, [this] {
            lifecycle_->KeepFolders(services_.Settings->Flag("NoChangeI"), services_.Settings->Flag("NoChangeB"));
        });
        return window;
    });
    openSettings("mnControl", [this, caption](SettingsAccess& settings) {
        return new frmControl(settings, {caption("mnParam"), caption("mnTime")}, this);
    });
    openSettings("mnPerform", [this](SettingsAccess& settings) {
        PerformanceWindowServices performance;
        performance.LastTps = driver_->LastTps();
        performance.TransparencySupported = services_.TransparencySupported;
        performance.Redraw = [this] { MWRefresh(false); };
        return new frmPerformance(settings, std::move(performance), this);
    });
    openSettings("mnInterface", [this](SettingsAccess& settings) {
        AppearanceWindowServices appearance;
        appearance.TransparencySupported = services_.TransparencySupported;
        appearance.ClassicCaptions = ReadClassicCaptions();
        appearance.WriteClassicCaptions = WriteClassicCaptions;
        appearance.Applied = [this] {
            ApplyAppearance();
            FormResize();
            if (services_.Effects) services_.Effects->Restyle();
        };
        return new frmAppearance(settings, std::move(appearance), this);
    });
    openSettings("mnEffects", [this](SettingsAccess& settings) { return new frmEffects(settings, this); });

    // "График…": several graph windows may be open, also while running.
    connect(Item("mnGraph"), &QAction::triggered, this, [this] { OpenGraph(); });

    connect(Menu("mnFile"), &QMenu::aboutToShow, this, &frmMain::UpdateFileMenu);
    connect(Menu("mnObj"), &QMenu::aboutToShow, this, &frmMain::UpdateObjectMenu);
    connect(Menu("mnActions"), &QMenu::aboutToShow, this, &frmMain::UpdateActionsMenu);
}

void frmMain::Startup(const QString& commandLine) {
    ApplyStartupLanguage();
    lifecycle_->ProgramStart(commandLine.toStdString());
    editor_->Reset();
    ShowBackground();
    UpdateFileMenu();
    MWRefresh(true);
}

bool frmMain::ConfirmCloseFile() { return lifecycle_->ConfirmCloseFile(); }
// Opening, creating, closing or reverting a project forgets the undo
// history: its steps belong to the project that was there.
void frmMain::NewMechanical() {
    lifecycle_->NewMechanicalProject();
    editor_->Reset();
    ShowBackground();
    MWRefresh(true);
}
void frmMain::NewCelestial() { lifecycle_->NewCelestialProject(); editor_->Reset(); MWRefresh(true); }
void frmMain::NewDiffraction() { lifecycle_->DiffractionDemonstration(); editor_->Reset(); MWRefresh(true); }
void frmMain::OpenFile() {
    if (lifecycle_->Open()) {
        editor_->Reset();
        ShowBackground();
        MWRefresh(true);
    }
}

void frmMain::ShowBackground() {
    const QString path = QString::fromStdString(services_.Folders.BackgroundPath().string());
    QImage picture;
    if (world_->ProjectKind == ProjectMechanical && QFileInfo::exists(path)) picture.load(path);
    const QImage fitted = scene_->PictureToWorld(picture, QString());
    // The ambient light follows the picture's brightness. The samples come
    // from a fixed sequence, so the same picture always gives the same light.
    if (!fitted.isNull() && world_->Params.AmbientLightAuto) {
        std::mt19937 generator(20061208u);
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        const ViewTransform view = ViewTransform::FromParameters(world_->Params, scene_->width());
        world_->Params.AmbientLight = EstimateAmbientLight(fitted, view, [&] { return uniform(generator); });
    }
}
bool frmMain::Save() { return lifecycle_->Save(); }
bool frmMain::SaveAs() { return lifecycle_->SaveAs(); }
void frmMain::SaveCommand() { Save(); }
void frmMain::SaveAsCommand() { SaveAs(); }
void frmMain::NewWindow() { lifecycle_->NewWindow(); }
void frmMain::OpenInNewWindow() { lifecycle_->OpenInNewWindow(); }
void frmMain::CloseProject() {
    lifecycle_->Close();
    editor_->Reset();
    ShowBackground();
    MWRefresh(true);
}
// The recording goes with the state the file is read back to
// (ProjectReplaced); a refused question keeps it.
void frmMain::CancelAll() {
    lifecycle_->CancelAll();
    editor_->Reset();
    ShowBackground();
    MWRefresh(true);
}
void frmMain::Recover() {
    lifecycle_->Restore();
    // The recording no longer fits the scene rewound.
    recording_->Clear();
}
void frmMain::ProjectReplaced() {
    recording_->Clear();
    // The drift of the new project counts from its own start point (marked
    // when its run starts from T = 0).
    recording_->Samples.ForgetStartPoint();
    for (frmGraph* graph : findChildren<frmGraph*>(Qt::FindDirectChildrenOnly)) graph->ProjectReplaced();
}
void frmMain::SetStartPoint() {
    lifecycle_->SetStartPoint();
    recording_->Samples.MarkStartPoint(*world_);
}

void frmMain::OpenGraph(int kind, int number, bool activate) {
    GraphServices services;
    services.Scene = world_.get();
    services.Record = recording_.get();
    services.ChooseFile = [this](const QString& title, const QString& filter, const QString& name) {
        return ChooseExportFile(this, title.toStdString(), filter.toStdString(), name.toStdString());
    };
    services.ShowError = [this](const std::string& message) { Fail(message); };
    services.CollisionsChanged = [this] { UpdateCollisionLog(); };
    auto* graph = new frmGraph(std::move(services), this);
    if (kind == KindNone) {
        graph->AddSeries({KindNone, 0, Quantity::TotalEnergy});
    } else {
        graph->AddSeries({static_cast<std::uint8_t>(kind), number, Quantity::X});
    }
    if (!activate) graph->setAttribute(Qt::WA_ShowWithoutActivating);
    graph->show();
}

void frmMain::OpenGraph() {
    const World& w = *world_;
    if (w.ProjectKind != ProjectMechanical) return;
    std::vector<std::pair<int, int>> objects;
    for (int n = 1; n <= std::min(w.BallCount, BallCapacity); ++n) {
        if (w.Balls[static_cast<std::size_t>(n)].Exists && w.Balls[static_cast<std::size_t>(n)].Selected) objects.emplace_back(KindBall, n);
    }
    for (int n = 1; n <= std::min(w.PegCount, PegCapacity); ++n) {
        if (w.Pegs[static_cast<std::size_t>(n)].Exists && w.Pegs[static_cast<std::size_t>(n)].Selected) objects.emplace_back(KindPeg, n);
    }
    const bool currentMovable = w.CurrentKind == KindBall || w.CurrentKind == KindCylinder || w.CurrentKind == KindPeg;
    if (objects.empty() && currentMovable) objects.emplace_back(w.CurrentKind, w.CurrentNumber);
    if (objects.empty()) {
        OpenGraph(KindNone, 0, true);
        return;
    }
    OpenGraph(objects.front().first, objects.front().second, true);
    auto* graph = findChildren<frmGraph*>(Qt::FindDirectChildrenOnly).constLast();
    for (std::size_t i = 1; i < objects.size(); ++i) {
        graph->AddSeries({static_cast<std::uint8_t>(objects[i].first), objects[i].second, Quantity::X});
    }
}
void frmMain::ExitCommand() { close(); }

// While running, the stop acts on the moving scene and is no edit.
void frmMain::StopSelected() {
    if (Running()) {
        StopMotion(*world_);
        lifecycle_->MarkChanged();
        return;
    }
    editor_->StopCommand();
}

void frmMain::ToggleMarks() { editor_->MarksCommand(); }

void frmMain::ToggleGrid() {
    // The item is checkable: the trigger has already inverted the tick.
    QAction* grid = Item("mnGrid");
    if (services_.Settings) services_.Settings->SetBool("Grid", grid->isChecked());
    MWRefresh(false);
}

bool frmMain::GridVisible() const { return Item("mnGrid")->isChecked(); }

void frmMain::StartCalculator() {
#if defined(Q_OS_UNIX)
    // A calculator started earlier and still running is left as it is.
    if (calculatorProcess_ > 0 && ::kill(static_cast<pid_t>(calculatorProcess_), 0) == 0) return;
#endif
    calculatorProcess_ = 0;
    for (const char* program : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk",
                                "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromUtf8(program));
        if (path.isEmpty()) continue;
        qint64 pid = 0;
        if (QProcess::startDetached(path, {}, QString::fromStdString(services_.ProgramFolder.string()), &pid)) {
            calculatorProcess_ = pid;
        }
        return;  // failing to start the calculator is silent
    }
}

void frmMain::ShowDescription() {
    const std::string& ext = world_->Params.DescriptionExt;
    const bool blank = ext.find_first_not_of(' ') == std::string::npos;
    const std::filesystem::path file = blank ? std::filesystem::path() : services_.Folders.DescriptionPath(ext);
    if (world_->ProjectKind != ProjectMechanical || blank || !std::filesystem::exists(file)) {
        services_.Messages->Show(MessageIcon::Information, NoDescriptionMessage);
        return;
    }
    if (!descriptionViewer_) {
        descriptionViewer_ = new QTextBrowser(this);
        descriptionViewer_->setObjectName(QStringLiteral("frmText"));
        descriptionViewer_->setWindowFlag(Qt::Window);
        descriptionViewer_->setAttribute(Qt::WA_DeleteOnClose);
        descriptionViewer_->setOpenExternalLinks(true);
        descriptionViewer_->resize(700, 600);
    }
    const QString path = QString::fromStdString(file.string());
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("htm") || suffix == QStringLiteral("html")) {
        descriptionViewer_->setSource(QUrl::fromLocalFile(path));
    } else {
        QFile document(path);
        if (document.open(QIODevice::ReadOnly)) descriptionViewer_->setPlainText(QString::fromUtf8(document.readAll()));
    }
    descriptionViewer_->setWindowTitle(QStringLiteral("Описание имитации"));
    descriptionViewer_->show();
    descriptionViewer_->raise();
}

QMessageBox* frmMain::ShowInformationBox(const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("infoBox"));
    box->open();
    return box;
}

void frmMain::ShowAbout() {
    ShowInformationBox(QStringLiteral("О программе"),
                       QStringLiteral("%1\n%2\n\nВерсия %3\n\nМоделирование механических систем: шары и "
                                      "цилиндры, стержни, нити, подвесы, опоры, стены, наклонные "
                                      "плоскости и поверхности; система небесной механики.")
                           .arg(QString::fromUtf8(ProductName), texts_.CaptionBase,
                                QCoreApplication::applicationVersion()));
}

void frmMain::ShowSystemInformation() {
    ShowInformationBox(QStringLiteral("О системе"),
                       QStringLiteral("Система: %1\nЯдро: %2 %3\nПроцессор: %4\nQt: %5")
                           .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                                QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture(),
                                QString::fromUtf8(qVersion())));
}

// F1 opens the user guide in the language of the interface (the Russian
// one when the language has none); without a guide, the help folder.
void frmMain::OpenHelpFolder() {
    const std::filesystem::path folder = services_.ProgramFolder / "Help";
    std::error_code error;
    std::vector<std::filesystem::path> pages;
    // A locale is a name such as "en" or "pt_BR", never a path of its own.
    static const QRegularExpression localeName(QStringLiteral("^[A-Za-z]+([_-][A-Za-z0-9]+)*$"));
    if (localeName.match(texts_.Locale).hasMatch()) pages.push_back(folder / texts_.Locale.toStdString() / "index.html");
    pages.push_back(folder / "ru" / "index.html");
    for (const std::filesystem::path& page : pages) {
        if (!std::filesystem::is_regular_file(page, error)) continue;
        if (!OpenWithDesktop(page)) {
            services_.Messages->Show(MessageIcon::Error, "Руководство пользователя " + page.string() +
                                                             " не открылось: в системе нет программы для "
                                                             "просмотра страниц HTML.");
        }
        return;
    }
    if (!std::filesystem::is_directory(folder, error)) {
        services_.Messages->Show(MessageIcon::Error, "Папка справки " + folder.string() + " не найдена.");
        return;
    }
    OpenWithDesktop(folder);
}

bool frmMain::TriggerItem(const char* name) {
    QAction* action = Item(QString::fromUtf8(name));
    if (!action || !action->isEnabled()) return true;
    action->trigger();
    return true;
}

void frmMain::PopUpMenu(const char* name) {
    if (QMenu* menu = Menu(QString::fromUtf8(name))) menu->popup(QCursor::pos());
}

bool frmMain::SceneKey(int key, Qt::KeyboardModifiers modifiers) {
    if (Running() || !isEnabled()) return false;
    const int kind = world_->ProjectKind;
    if (kind != ProjectMechanical && kind != ProjectCelestial) return false;
    const Qt::KeyboardModifiers plain = modifiers & ~Qt::KeypadModifier;
    const bool ctrl = plain == Qt::ControlModifier;
    const bool none = plain == Qt::NoModifier;
    const bool mechanical = kind == ProjectMechanical;

    if (none && key == Qt::Key_Insert) {
        if (mechanical) {
            PopUpMenu("mnAdd");
            return true;
        }
        return TriggerItem("mnHBody");
    }
    if (none && key == Qt::Key_F2) return TriggerItem("mnSaveAs");
    if (none && key == Qt::Key_F3) return TriggerItem("mnOpen");
    if (none && key == Qt::Key_Menu) {
        PopUpMenu(AnythingSelected() ? "mnObj" : "mnActions");
        return true;
    }
    // The menu item is disabled for a read-only file, but the key still
    // saves: under a new name, as Save does for such a file.
    if (ctrl && key == Qt::Key_S) {
        if (mechanical) Save();
        return true;
    }
    if (ctrl && key == Qt::Key_N) {
        PopUpMenu("mnNew");
        return true;
    }
    // The key reaches the description also when the menu item is disabled,
    // so that a missing description is reported.
    if (mechanical && ctrl && key == Qt::Key_D) {
        ShowDescription();
        return true;
    }
    if (mechanical && none && key == Qt::Key_ScrollLock) {
        QAction* thread = Item("mnThread");
        thread->setVisible(!thread->isVisible());
        return true;
    }
    return false;
}

bool frmMain::AnythingSelected() const {
    const World& w = *world_;
    if (w.ProjectKind == ProjectCelestial) {
        for (int n = 1; n <= std::min(w.HBodyCount, HBodyCapacity); ++n) {
            if (w.HBodies[n].Exists && w.HBodies[n].Selected) return true;
        }
        return false;
    }
    auto any = [](const auto& table, int from, int count) {
        for (int n = from; n <= count; ++n) {
            if (table[n].Exists && table[n].Selected) return true;
        }
        return false;
    };
    return any(w.Lavals, 1, w.LavalCount) || any(w.Hands, 0, w.HandCount) || any(w.Walls, 1, w.WallCount) ||
           any(w.Planes, 1, w.PlaneCount) || any(w.Balls, 1, w.BallCount) || any(w.Threads, 1, w.ThreadCount) ||
           any(w.Pegs, 1, w.PegCount) || any(w.Surfaces, 1, w.SurfaceCount) ||
           any(w.Surfaces2, 1, w.Surface2Count);
}

bool frmMain::HandleKey(const QKeyEvent& event) {
    // The celestial view zooms by its horizontal angle: Numpad + narrows it
    // and Ctrl+Numpad + widens it, Numpad - the other way round.
    const NavigationKey padKey = NavigationKeyOf(event);
    if (world_->ProjectKind == ProjectCelestial && (padKey == NavigationKey::PadPlus || padKey == NavigationKey::PadMinus)) {
        const Qt::KeyboardModifiers plain = event.modifiers() & ~Qt::KeypadModifier;
        if (Running() || !isEnabled() || (plain != Qt::NoModifier && plain != Qt::ControlModifier)) return true;
        const bool wider = (padKey == NavigationKey::PadPlus) == (plain == Qt::ControlModifier);
        if (StepViewAngleH(world_->Celestial, wider)) MWRefresh(false);
        return true;
    }
    if (world_->ProjectKind == ProjectMechanical && NavigationKeyOf(event) != NavigationKey::None) {
        const bool invert = services_.Settings && services_.Settings->Flag("InvertNavigation");
        NavigationInput input;
        input.Key = NavigationKeyOf(event);
        input.ControlOnly = ControlIsSoleModifier(event);
        input.Running = Running();
        input.WindowEnabled = isEnabled();
        input.InvertNavigation = invert;
        int panStep = scene_->PanStep();
        const NavigationResult result = ApplyNavigationKey(world_->Params, panStep, input);
        scene_->SetPanStep(panStep);
        if (result.Panned || result.Zoomed) MarkFixedSceneChanged(*world_);
        scene_->FollowNavigation(result);
        if (result.RepeatPointerMove) ShowPointer(scene_->LastPointer());
        return true;
    }
    return SceneKey(event.key(), event.modifiers());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    if (HandleKey(*static_cast<QKeyEvent*>(event))) return true;
    // The layer list keeps the focus for the scene's keys: what is typed
    // with the pointer over the scene is no choice of a layer.
    const bool layerList = watched == static_cast<QObject*>(ZCoord_) || watched == static_cast<QObject*>(HCombo_);
    if (layerList && scene_->underMouse()) return true;
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::keyPressEvent(QKeyEvent* event) {
    if (HandleKey(*event)) return;
    QMainWindow::keyPressEvent(event);
}

void frmMain::changeEvent(QEvent* event) {
    // A minimised window does not go on simulating unseen.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && Running()) RunStop();
    QMainWindow::changeEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (Running()) RunStop();
    if (!ConfirmCloseFile()) {
        event->ignore();
        return;
    }
    if (descriptionViewer_) descriptionViewer_->close();
    // The folders of the file dialogs are written when the program ends.
    if (services_.Settings) {
        services_.Settings->SetText("Backgrounds", SettingTextOfPath(project_.BackgroundFolder));
        services_.Settings->SetText("Imitations", SettingTextOfPath(project_.LastFolder));
        services_.Settings->SetText("Descriptions", SettingTextOfPath(project_.DescriptionFolder));
    }
    event->accept();
}

}  // namespace velo
