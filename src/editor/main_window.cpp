#include "editor/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

#include "editing/celestial_edits.h"
#include "editing/creation.h"
#include "editing/optimize.h"
#include "editing/selection.h"
#include "editor/scene_editor.h"
#include "model/world_ops.h"
#include "persist/language_file.h"
#include "platform/dialogs.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "windows/recording.h"

namespace velo {

QString WithZero(const QString& text) {
    QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1Char('.'))) return QStringLiteral("0") + trimmed;
    if (trimmed.startsWith(QStringLiteral("-."))) return QStringLiteral("-0") + trimmed.mid(1);
    return trimmed;
}

namespace {

QFrame* MakePanel(QWidget* parent, const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromUtf8(name));
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = QString()) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    return label;
}

}  // namespace

// What the project commands ask of the window.
class frmMain::Hooks final : public ProjectWindow {
public:
    explicit Hooks(frmMain& window) : window_(window) {}
    void SetEnabled(bool enabled) override {
        window_.setEnabled(enabled);
        if (enabled) {
            window_.KeepUnavailableDisabled();
            window_.UpdateFileMenu();
        }
    }
    void CloseDescriptionViewer() override {
        if (window_.descriptionViewer_) window_.descriptionViewer_->close();
    }
    void ShowStatus(const std::string& text) override { window_.SetStatus(QString::fromStdString(text)); }
    void ShowTime(const std::string& text) override { window_.ApplyTimeText(QString::fromStdString(text)); }
    void ShowCaption(const std::string& text) override { window_.setWindowTitle(QString::fromStdString(text)); }
    // Every project the World takes is shown by its kind.
    void ShowProjectKind(int kind) override {
        window_.ShowProjectKindUi(kind);
        window_.ProjectReplaced();
    }
    void SetRestoreAvailable(bool available) override { window_.SetItemEnabled("mnRecover", available); }
    void Refresh() override { window_.MWRefresh(true); }
    // "Optimize": before the user's file is written, the materials no
    // object uses go, as one step of the history (an undone deletion may
    // need its material back) and with the scene redrawn.
    void BeforeSave(World& world) override {
        const SettingsAccess* settings = window_.services_.Settings;
        if (world.ProjectKind != ProjectMechanical || !settings || !settings->Flag("Optimize")) return;
        window_.editor().Edit(QStringLiteral("Удаление неиспользуемых материалов"),
                              [](World& w) { RemoveUnusedMaterials(w); });
    }
    bool StartInstance(const std::optional<std::filesystem::path>& file) override {
        QStringList arguments;
        if (file) arguments << QString::fromStdString(file->string());
        return QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
    }
    std::string DisplayTitle(const std::filesystem::path& path) override {
        // The desktop shows a file by its name without the known extension.
        return QFileInfo(QString::fromStdString(path.string())).completeBaseName().toStdString();
    }

private:
    frmMain& window_;
};

frmMain::frmMain(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), world_(std::make_unique<World>()),
      recording_(std::make_unique<Recording>()) {
    setObjectName(QStringLiteral("frmMain"));
    for (const auto& [key, text] : LanguageTexts::BuiltInPanelTexts()) {
        texts_.Panels.insert(QString::fromStdString(key), QString::fromStdString(text));
    }
    if (services_.Messages) services_.Messages->SetParent(this);
    DefaultWorld(*world_);
    project_.CurrentPath = services_.Folders.UntitledPath();

    LifecycleSettings lifecycleSettings;
    lifecycleSettings.ProgramFolder = services_.ProgramFolder;
    lifecycleSettings.CaptionBase = texts_.CaptionBase.toStdString();
    lifecycleSettings.ReadOnlyMarker = texts_.ReadOnlyMarker.toStdString();
    if (services_.Settings) {
        const SettingsAccess& settings = *services_.Settings;
        lifecycleSettings.KeepFolder = settings.Flag("NoChangeI");
        lifecycleSettings.KeepBackgroundFolder = settings.Flag("NoChangeB");
        lifecycleSettings.StartKind = settings.Number("StartImitType");
        // The folders the file dialogs start in, remembered from the last run.
        project_.LastFolder = PathOfSettingText(settings.Text("Imitations"));
        project_.BackgroundFolder = PathOfSettingText(settings.Text("Backgrounds"));
        project_.DescriptionFolder = PathOfSettingText(settings.Text("Descriptions"));
    }
    hooks_ = std::make_unique<Hooks>(*this);
    lifecycle_ = std::make_unique<Lifecycle>(*world_, project_, services_.Folders, *services_.Messages,
                                             *services_.FileDialogs, *hooks_, lifecycleSettings);

    metatimer_ = new QTimer(this);
    metatimer_->setObjectName(QStringLiteral("Metatimer"));
    connect(metatimer_, &QTimer::timeout, this, &frmMain::Tick);
    // While stopped, the layout is re-established now and then as well as
    // on every resize, so that a change the window system did not report
    // (a screen of another size, a panel shown or hidden) is caught up.
    progtimer_ = new QTimer(this);
    progtimer_->setObjectName(QStringLiteral("Progtimer"));
    progtimer_->setInterval(ProgtimerIntervalMs);
    connect(progtimer_, &QTimer::timeout, this, [this] {
        if (!Running() && !isMinimized()) FormResize();
    });
    progtimer_->start();

    BuildDriver();
    BuildMenus();
    BuildToolbars();
    BuildPanels();
    ConnectCommands();

    Item(QStringLiteral("mnGrid"))->setChecked(services_.Settings && services_.Settings->Flag("Grid"));
    ApplyAppearance();
    ShowProjectKindUi(ProjectNone);
    RefreshCaption();
    ApplyTimeText(QString::fromUtf8(TimeZeroText));
    resize(1200, 840);
}

frmMain::~frmMain() = default;

QAction* frmMain::Item(const QString& name) const { return items_.value(name); }
QMenu* frmMain::Menu(const QString& name) const { return menus_.value(name); }
QAction* frmMain::RunButton(int index) const {
    if (index < 0 || index > 1) return nullptr;
    return world_->ProjectKind == ProjectCelestial ? hRunButtons_[index] : runButtons_[index];
}


void frmMain::BuildPanels() {
    central_ = new QWidget(this);
    central_->setObjectName(QStringLiteral("centralArea"));
    setCentralWidget(central_);

    scene_ = new Metaworld(central_);
    scene_->setObjectName(QStringLiteral("Metaworld"));
    scene_->SetWorld(world_.get());

    // Side panel of a mechanical project: the layer of new balls and rods.
    frmMake_ = MakePanel(central_, "frmMake");
    auto* makeLayout = new QVBoxLayout(frmMake_);
    makeLayout->addWidget(MakeLabel(frmMake_, "lblLayer", texts_.Panel("Layer")));
    ZCoord_ = new QComboBox(frmMake_);
    ZCoord_->setObjectName(QStringLiteral("ZCoord"));
    for (int layer = 0; layer <= 255; ++layer) ZCoord_->addItem(QString::number(layer));
    makeLayout->addWidget(ZCoord_);
    makeLayout->addStretch();

    frmHMake_ = MakePanel(central_, "frmHMake");
    auto* hMakeLayout = new QVBoxLayout(frmHMake_);
    HCombo_ = new QComboBox(frmHMake_);
    HCombo_->setObjectName(QStringLiteral("HCombo"));
    // The bodies by their display names: choosing one makes it current.
    connect(HCombo_, &QComboBox::activated, this, [this](int index) {
        const int n = HCombo_->itemData(index).toInt();
        World& w = *world_;
        if (Running() || n < 1 || n > std::min(w.HBodyCount, HBodyCapacity) || !w.HBodies[n].Exists) return;
        ClearSelection(w);
        w.HBodies[n].Selected = true;
        w.CurrentKind = KindHBody;
        w.CurrentNumber = n;
        MWRefresh(false);
    });
    hMakeLayout->addWidget(HCombo_);
    hMakeLayout->addStretch();

    frmContr_ = MakePanel(central_, "frmContr");
    auto* contrLayout = new QVBoxLayout(frmContr_);
    lblMode_ = MakeLabel(frmContr_, "lblMode");
    lblMode_->setWordWrap(true);
    contrLayout->addWidget(lblMode_);

    frmEdit_ = MakePanel(central_, "frmEdit");
    auto* editLayout = new QVBoxLayout(frmEdit_);
    lblCurrent_ = MakeLabel(frmEdit_, "lblCurrent");
    lblCurrent_->setWordWrap(true);
    editLayout->addWidget(lblCurrent_);

    frmPrint_ = MakePanel(central_, "frmPrint");
    auto* printLayout = new QHBoxLayout(frmPrint_);
    lblT_ = MakeLabel(frmPrint_, "lblT", QStringLiteral("T = 0"));
    lblX_ = MakeLabel(frmPrint_, "lblX", QStringLiteral("X = "));
    lblY_ = MakeLabel(frmPrint_, "lblY", QStringLiteral("Y = "));
    lblHL_ = MakeLabel(frmPrint_, "lblHL");
    for (QLabel* label : {lblT_, lblX_, lblY_}) {
        label->setMinimumWidth(150);
        printLayout->addWidget(label);
    }
    printLayout->addWidget(lblHL_, 1);

    frmPrint2_ = MakePanel(central_, "frmPrint2");
    auto* print2Layout = new QHBoxLayout(frmPrint2_);
    lblT2_ = MakeLabel(frmPrint2_, "lblT2", QStringLiteral("T = 0"));
    print2Layout->addWidget(lblT2_);
    print2Layout->addStretch();

    connect(scene_, &Metaworld::hintChanged, lblHL_, &QLabel::setText);
    // A resized scene is redrawn clearing the selection.
    connect(scene_, &Metaworld::sceneResized, this, [this] { MWRefresh(true); });
    connect(scene_, &Metaworld::fieldMouseMoved, this, &frmMain::ShowPointer);
    editor_ = new SceneEditor(*this);
    connect(scene_, &Metaworld::fieldMousePressed, editor_, &SceneEditor::Press);
    connect(scene_, &Metaworld::fieldMouseMoved, editor_, &SceneEditor::Move);
    connect(scene_, &Metaworld::fieldMouseReleased, editor_, &SceneEditor::Release);
    connect(scene_, &Metaworld::fieldMouseDoubleClicked, editor_, &SceneEditor::DoubleClick);
    connect(scene_, &Metaworld::fieldWheelTurned, editor_, &SceneEditor::Wheel);

    // Keys typed anywhere in the scene area reach the scene's key handler.
    for (QWidget* widget : std::initializer_list<QWidget*>{ZCoord_, HCombo_, scene_}) {
        widget->installEventFilter(this);
    }
}

void frmMain::SetItemVisible(const QString& name, bool visible) {
    if (QAction* action = Item(name)) action->setVisible(visible);
}

void frmMain::SetItemEnabled(const QString& name, bool enabled) {
    if (QAction* action = Item(name)) action->setEnabled(enabled && !notYetAvailable_.contains(name));
}

void frmMain::KeepUnavailableDisabled() {
    for (const QString& name : notYetAvailable_) {
        if (QAction* action = Item(name)) action->setEnabled(false);
        if (QMenu* menu = Menu(name)) menu->setEnabled(false);
    }
}

void frmMain::SwitchProjectKind(int kind) { lifecycle_->SwitchProjectKind(kind); }

void frmMain::ShowProjectKindUi(int kind) {
    if (kind > ProjectDiffraction || kind < 0) return;
    const bool none = kind == ProjectNone;
    const bool mechanical = kind == ProjectMechanical;
    const bool celestial = kind == ProjectCelestial;
    const bool diffraction = kind == ProjectDiffraction;

    SetItemVisible("mnAdd", mechanical);
    SetItemVisible("mnAddH", celestial);
    SetItemVisible("mnObj", mechanical || celestial);
    SetItemVisible("mnActions", mechanical || celestial);
    if (!diffraction) {
        SetItemVisible("mnTools", mechanical);
        SetItemVisible("mnImitate", mechanical || celestial);
    }
    for (const char* name : {"mnSave", "mnSaveAs", "mnFProp"}) SetItemEnabled(name, mechanical);
    // A celestial project is kept as a JSON scene instead.
    for (const char* name : {"mnExport", "mnImport"}) SetItemVisible(name, celestial);
    SetItemEnabled("mnClose", !none);
    if (!none && !diffraction) SetItemVisible("mnFasten", mechanical);
    if (!none && !diffraction) SetItemEnabled("mnOptimize", mechanical);
    if (!none) {
        for (const char* name : {"mnStraight", "mnProtract", "mnGrid"}) SetItemVisible(name, mechanical);
    }
    if (celestial) SetItemEnabled("mnRecover", false);
    SetItemEnabled("mnControl", mechanical);
    // The recording samples the mechanical World only.
    SetItemVisible("mnGraph", mechanical);

    frmMake_->setVisible(mechanical);
    frmHMake_->setVisible(celestial);
    frmPrint_->setVisible(mechanical);
    frmPrint2_->setVisible(celestial);
    if (!diffraction) {
        frmContr_->setVisible(mechanical || celestial);
        frmEdit_->setVisible(mechanical || celestial);
    }
    toolbarMechanical_->setVisible(mechanical);
    toolbarCelestial_->setVisible(celestial);
    FormResize();
}

void frmMain::RefreshCaption() { lifecycle_->RefreshCaption(); }

// Hides the editing menus while the simulation runs and brings them back
// when it pauses.
void frmMain::SetRunningMenus(bool running) {
    const int kind = world_->ProjectKind;
    Item("mnRunStop")->setText(running ? texts_.StopCaption : texts_.StartCaption);
    for (QAction** buttons : {runButtons_, hRunButtons_}) {
        buttons[0]->setVisible(!running);
        buttons[1]->setVisible(running);
    }
    if (running) {
        for (const char* name : {"mnFile", "mnAdd", "mnAddH", "mnObj", "mnActions", "mnTools",
                                 "mnAllSettings", "mnHelp"}) {
            SetItemVisible(name, false);
        }
    } else {
        SetItemVisible("mnFile", true);
        if (kind == ProjectMechanical) SetItemVisible("mnAdd", true);
        if (kind == ProjectCelestial) SetItemVisible("mnAddH", true);
        if (kind < ProjectDiffraction) {
            SetItemVisible("mnObj", true);
            SetItemVisible("mnActions", true);
        }
        for (const char* name : {"mnTools", "mnAllSettings", "mnHelp"}) SetItemVisible(name, true);
        scene_->setEnabled(true);
    }
    for (const char* name : {"mnLang", "mnParam", "mnTime"}) SetItemEnabled(name, !running);
}

void frmMain::UpdateFileMenu() {
    const bool mechanical = world_->ProjectKind == ProjectMechanical;
    SetItemEnabled("mnSave", mechanical && !project_.ReadOnly);
    const std::string& ext = world_->Params.DescriptionExt;
    const bool hasDescription =
        mechanical && ext.find_first_not_of(' ') != std::string::npos &&
        std::filesystem::exists(services_.Folders.DescriptionPath(ext));
    SetItemEnabled("mnText", hasDescription);
}

void frmMain::UpdateObjectMenu() {
    const SelectionCounts c = CountSelect(*world_);
    const int balls = c.ByKind[KindBall] + c.ByKind[KindCylinder];
    int threads = 0;
    for (int n = 1; n <= std::min(world_->ThreadCount, ThreadCapacity); ++n) {
        threads += world_->Threads[n].Exists && world_->Threads[n].Selected ? 1 : 0;
    }
    const int mechanical = c.Fixed + c.Movable + threads;
    SetItemEnabled("mnCopy", mechanical > 0);
    SetItemEnabled("mnDel", mechanical + c.ByKind[KindHBody] > 0);
    SetItemEnabled("mnProp", mechanical + c.ByKind[KindHBody] > 0);
    SetItemEnabled("mnStop", c.Movable > 0);
    SetItemEnabled("mnMark", balls > 0);
    // Fastening takes one rod, with at most one ball and one suspension
    // point, and no other fixed object.
    const int otherFixed = c.Fixed - c.ByKind[KindLaval];
    SetItemEnabled("mnFasten", c.ByKind[KindPeg] == 1 && balls <= 1 && c.ByKind[KindLaval] <= 1 && otherFixed == 0);
}

QString frmMain::ModeName(int mode) const {
    const std::pair<int, const char*> items[] = {
        {ModeSelect, "mnSel"},    {ModeLaval, "mnLav"},       {ModeHand, "mnHand"},       {ModeWall, "mnWall"},
        {ModePlane, "mnPlane"},   {ModeBall, "mnBall"},       {ModeThread, "mnThread"},   {ModePeg, "mnPeg"},
        {ModeSurface, "mnSd"},    {ModeParabola, "mnS2"},     {ModeCylinder, "mnCylinder"},
        {ModeHyperbola, "mnS2h"}, {ModeProtractor, "mnProtract"}, {ModeEllipse, "mnS2e"},
        {ModeRuler, "mnStraight"}, {ModeHBody, "mnHBody"},    {ModeGroup, "mnSelRect"},   {ModeMove, "mnMove"},
    };
    for (const auto& [code, name] : items) {
        if (code == mode) {
            return QString::fromStdString(WithoutAccelerators(Item(QString::fromUtf8(name))->text().toStdString()));
        }
    }
    return QString::number(mode);
}

void frmMain::ApplyTimeText(const QString& text) {
    lblT_->setText(text);
    lblT2_->setText(text);
}

void frmMain::MWRefresh(bool clearSelection, bool fixedToo) {
    RenderSettings settings = scene_->Settings();
    settings.GridOn = GridVisible();
    if (services_.Settings) {
        settings.UseGdiPlus = services_.Settings->Flag("UseGDI+");
        settings.ShadedBalls = services_.Settings->Flag("ShadedBalls");
        settings.GradientDensity = services_.Settings->Real("GradientDensity");
    }
    scene_->SetRenderSettings(settings);
    if (clearSelection) ClearSelection(world());
    // The rod contacts and the editor measure in pixels of this scene.
    world_->PointsPerPixel = PointsPerPixelForWidth(scene_->width());
    if (fixedToo) scene_->MWRefresh();
    else scene_->MovableRefresh();
    UpdatePanels();
    // The commands' shortcuts and buttons follow the selection at once, not
    // only when their menu opens.
    UpdateObjectMenu();
    UpdateActionsMenu();
}

void frmMain::UpdateActionsMenu() {
    const SelectionCounts c = CountSelect(*world_);
    SetItemEnabled("mnSelFst", c.ByKind[KindLaval] + c.Movable > 0);
}

void frmMain::UpdatePanels() {
    lblMode_->setText(texts_.Panel("Mode") + QLatin1Char(' ') + ModeName(MakeObj_));
    const World& w = *world_;
    QString current;
    const std::pair<int, const char*> kinds[] = {
        {KindLaval, "Laval"}, {KindHand, "Hand"}, {KindWall, "Wall"},         {KindPlane, "Plane"},
        {KindBall, "Ball"},   {KindCylinder, "Cylinder"}, {KindThread, "Thread"}, {KindPeg, "Peg"},
        {KindSurface, "Surface"}, {KindSurface2, "Surface2"}, {KindHBody, "HBody"},
    };
    for (const auto& [kind, key] : kinds) {
        if (w.CurrentKind == kind) current = texts_.Panel(key);
    }
    const bool body =
        w.CurrentKind == KindHBody && w.CurrentNumber >= 1 && w.CurrentNumber <= std::min(w.HBodyCount, HBodyCapacity);
    if (w.CurrentKind == KindHand && w.CurrentNumber == 0) {
        current = texts_.ZeroSupportName;
    } else if (body) {
        current = QString::fromStdString(BodyDisplayName(w.HBodies[w.CurrentNumber], w.CurrentNumber, current.toStdString()));
    } else if (!current.isEmpty()) {
        current += QLatin1Char(' ') + texts_.Panel("NumberSign") + QString::number(w.CurrentNumber);
    }
    lblCurrent_->setText(texts_.Panel("CurrentObject") + QLatin1Char(' ') +
                         (current.isEmpty() ? texts_.Panel("NoObject") : current));
    if (w.ProjectKind == ProjectCelestial) FillBodyList();
}

void frmMain::FillBodyList() {
    const World& w = *world_;
    // The tool tip of the toolbar button names an unnamed body.
    const QString fallback =
        Item("mnHBody") ? QString::fromStdString(WithoutAccelerators(Item("mnHBody")->text().toStdString())) : QString();
    QStringList names;
    QList<int> numbers;
    for (int n = 1; n <= std::min(w.HBodyCount, HBodyCapacity); ++n) {
        if (!w.HBodies[n].Exists) continue;
        names << QString::fromStdString(BodyDisplayName(w.HBodies[n], n, fallback.toStdString()));
        numbers << n;
    }
    const QSignalBlocker quiet(HCombo_);
    bool same = HCombo_->count() == names.size();
    for (int i = 0; same && i < names.size(); ++i)
        same = HCombo_->itemText(i) == names[i] && HCombo_->itemData(i).toInt() == numbers[i];
    if (!same) {
        HCombo_->clear();
        for (int i = 0; i < names.size(); ++i) HCombo_->addItem(names[i], numbers[i]);
    }
    HCombo_->setCurrentIndex(w.CurrentKind == KindHBody ? static_cast<int>(numbers.indexOf(w.CurrentNumber)) : -1);
}

void frmMain::SetComboFocus() {
    if (!isActiveWindow()) return;
    if (world_->ProjectKind == ProjectMechanical) ZCoord_->setFocus();
    if (world_->ProjectKind == ProjectCelestial) HCombo_->setFocus();
}

void frmMain::ShowPointer(const FieldMouseEvent& event) {
    if (event.Buttons == Qt::NoButton) SetComboFocus();
    lblX_->setText(QStringLiteral("X = ") + WithZero(QString::number(event.Model.X)));
    lblY_->setText(QStringLiteral("Y = ") + WithZero(QString::number(event.Model.Y)));
}

void frmMain::FormResize() {
    if (!central_) return;
    // The layout measures are twips; the window works in pixels.
    const int leftMargin = SceneLeftMarginTwips / TwipsPerPixel;
    const int topMargin = SceneTopMarginTwips / TwipsPerPixel;
    const int sideWidth = SidePanelWidthTwips / TwipsPerPixel;
    const int printHeight = BottomPanelHeightTwips / TwipsPerPixel;
    const int availableWidth = central_->width() - 2 * leftMargin - sideWidth;
    const int availableHeight = central_->height() - 2 * topMargin - printHeight - 150 / TwipsPerPixel;
    const SceneSize size = FitField(std::max(availableWidth, 10), std::max(availableHeight, 7));
    const bool changed = size.Width != sceneWidth_ || size.Height != sceneHeight_;
    if (changed && !isMinimized()) {
        sceneWidth_ = size.Width;
        sceneHeight_ = size.Height;
        scene_->setGeometry(leftMargin, topMargin, size.Width, size.Height);
    }
    world_->PointsPerPixel = PointsPerPixelForWidth(scene_->width());

    const int sideLeft = scene_->x() + scene_->width();
    int sideTop = topMargin;
    for (QFrame* panel : {frmMake_, frmHMake_}) panel->setGeometry(sideLeft, sideTop, sideWidth, 90);
    sideTop += 95;
    frmContr_->setGeometry(sideLeft, sideTop, sideWidth, 90);
    sideTop += 95;
    frmEdit_->setGeometry(sideLeft, sideTop, sideWidth, 90);
    const QScreen* screen = this->screen();
    if (screen && screen->geometry().height() * TwipsPerPixel < EditPanelMinScreenTwips) frmEdit_->hide();
    const int printTop = 2 * scene_->y() + scene_->height();
    for (QFrame* panel : {frmPrint_, frmPrint2_}) {
        panel->setGeometry(leftMargin, printTop, scene_->width() + sideWidth, printHeight);
    }
    if (changed) MWRefresh(true);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void frmMain::SetStatus(const QString& text) {
    lblHL_->setText(text);
}

void frmMain::Fail(const std::string& message) {
    if (services_.Messages) services_.Messages->Show(MessageIcon::Error, message);
}

}  // namespace velo
