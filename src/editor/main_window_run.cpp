// The run loop of the main window: the run/pause command, the tick of
// `Metatimer` and the free-running loop, carried out by the driver.
#include "editor/main_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLocale>
#include <QTimer>

#include <chrono>

#include "celestial/celestial_step.h"
#include "editor/scene_editor.h"
#include "engine/time_display.h"
#include "forms/parse_number.h"
#include "platform/messenger_qt.h"
#include "platform/settings.h"
#include "record/energy.h"
#include "forms/graph_form.h"
#include "windows/graph_window.h"
#include "windows/number_field.h"
#include "windows/recording.h"

namespace velo {
namespace {

// The celestial label shows T unrounded (15 significant digits): a run of
// years in steps of seconds still shows every step.
std::string CelestialTimeText(double t, const std::string& decimalSeparator) {
    NumberLocale locale;
    locale.DecimalSeparator = decimalSeparator;
    return "T = " + FormatRounded(t, locale);
}

}  // namespace

void frmMain::BuildDriver() {
    Clock* clock = services_.TimeSource ? services_.TimeSource : &ownClock_;
    DriverHooks hooks;
    hooks.Autosave = [this] { lifecycle_->Autosave(std::chrono::system_clock::now()); };
    hooks.RecordStartPoint = [this] {
        lifecycle_->SetStartPoint();
        recording_->Samples.MarkStartPoint(*world_);
    };
    // The graph windows' samples, after every step of a mechanical run.
    hooks.AfterStep = [this](const World& world) { recording_->Samples.Sample(world); };
    hooks.RunningChanged = [this](bool running) {
        if (running) {
            // The state the run starts from is the first sample; the
            // collision log listens while the run lasts, if a window asks.
            recording_->Samples.SampleNow(*world_);
            ListenForCollisions(true);
            SetRunningMenus(true);
            MWRefresh(true);
            // In free-running mode the driver runs the ticks itself; the
            // timer must not add ticks of its own from the event processing.
            if (!driver_->FreeRunning()) metatimer_->start(driver_->TimerInterval());
        } else {
            metatimer_->stop();
            recording_->Collisions.Detach(driver_->Context());
            SetRunningMenus(false);
            // The graphs show the run to its last step now, not when their
            // next frame falls due (seconds, for a window of many lines).
            for (frmGraph* graph : findChildren<frmGraph*>(Qt::FindDirectChildrenOnly)) graph->Refresh();
        }
    };
    hooks.RedrawMoving = [this] { scene_->RefreshMoving(); };
    hooks.ShowTime = [this](const std::string& text) {
        lblT_->setText(QString::fromStdString(text));
        ShowEnergyReadout();
    };
    hooks.ProcessEvents = [] { QCoreApplication::processEvents(); };
    hooks.RedrawAfterFreeze = [this] { MWRefresh(false); };
    hooks.MarkChanged = [this] { lifecycle_->MarkChanged(); };
    hooks.CelestialStep = [this](World& world, double dt) { return CelestialStep(world, dt, *services_.Messages); };
    // A celestial run goes at the project's own pace: no cap, no minimum.
    hooks.CelestialTimeFactor = [this] { return world_->Celestial.CelestialTimeScale; };
    hooks.ShowCelestialTime = [this] {
        lblT2_->setText(QString::fromStdString(CelestialTimeText(world_->T, driver_->DecimalSeparator)));
    };
    driver_ = std::make_unique<Driver>(*world_, *services_.Messages, *clock, std::move(hooks));
    driver_->DecimalSeparator = QLocale().decimalPoint().toStdString();
    ReadDriverSettings();
}

void frmMain::ReadDriverSettings() {
    if (!services_.Settings) return;
    driver_->Pipeline = services_.Settings->Number("Pipeline");
    driver_->Latency = LatencyFromRegistry(services_.Settings->Number("Latency"));
}

bool frmMain::Running() const { return driver_ && driver_->Running(); }

void frmMain::RunStop() {
    // A gesture under way ends before the scene moves.
    if (!Running()) editor_->FinishGesture();
    ReadDriverSettings();
    driver_->ToggleRun();
}

void frmMain::Tick() { driver_->Tick(); }

// The collision log slows every step with a strike: it listens only while
// the scene runs and some graph window asks for it, from the moment the
// window asks to the moment the last one stops.
void frmMain::UpdateCollisionLog() { ListenForCollisions(Running()); }

void frmMain::ListenForCollisions(bool running) {
    if (!driver_) return;
    bool wanted = false;
    for (const frmGraph* graph : findChildren<frmGraph*>(Qt::FindDirectChildrenOnly)) wanted = wanted || graph->WantsCollisions();
    if (wanted && running && world_->ProjectKind == ProjectMechanical) {
        recording_->Collisions.Attach(driver_->Context());
    } else {
        recording_->Collisions.Detach(driver_->Context());
    }
}

// The conservation check of a running mechanical scene: its total
// mechanical energy and the drift since the start point.
void frmMain::ShowEnergyReadout() {
    const EnergyReadout readout = ReadEnergy(*world_, recording_->Samples);
    lblHL_->setText(QString::fromStdString(EnergyReadoutText(readout.Energy, readout.DriftPercent,
                                                             EnergyUnitName(world_->Units),
                                                             NumberLocaleOf(QLocale()))));
}

void frmMain::ShowTime() {
    const std::string& separator = driver_->DecimalSeparator;
    const bool celestial = world_->ProjectKind == ProjectCelestial;
    ApplyTimeText(QString::fromStdString(celestial ? CelestialTimeText(world_->T, separator) : TimeText(world_->T, separator)));
}

}  // namespace velo
