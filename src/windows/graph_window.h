// The graph window frmGraph: chosen quantities of balls, cylinders, rods or
// of the whole scene against time, or against another quantity of the same
// object (a trajectory y(x), a phase plot v(x)). Several windows may be open
// at once; they read the one recording of the running project and redraw
// at most 30 times a second, less when drawing would take more than a few
// per cent of the time, so that the simulation keeps its pace.
#pragma once

#include <QElapsedTimer>
#include <QPointF>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/graph_decimation.h"
#include "forms/graph_form.h"
#include "model/world.h"
#include "record/recorder.h"

class QChart;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineSeries;
class QPainter;
class QListWidget;
class QPushButton;
class QTimer;
class QValueAxis;

namespace velo {

class GraphView;
class NumberField;

// The recording of the running project (windows/recording.h), declared
// only: the window's users need not see the recorder.
struct Recording;
struct SeriesKey;
enum class Quantity : std::uint8_t;

struct GraphServices {
    World* Scene = nullptr;
    Recording* Record = nullptr;
    // A file to export to, or none when the user cancelled: the title of
    // the dialog, the filter ("CSV (*.csv)") and the suggested name.
    std::function<std::optional<std::filesystem::path>(const QString& title, const QString& filter,
                                                       const QString& name)>
        ChooseFile;
    // An error the user must see (a file that could not be written).
    std::function<void(const std::string& message)> ShowError;
    // A window began or stopped asking for the collision log (its box
    // toggled, the window closed): the owner lets the log listen to the
    // run while any window asks, and only then, as logging slows the step.
    std::function<void()> CollisionsChanged;
};

class frmGraph : public QWidget {
    Q_OBJECT
public:
    // The redraw interval while nothing slows it: 30 frames a second.
    static constexpr int FrameIntervalMs = 33;
    // Share of the time the window may spend drawing while the simulation
    // runs (free running, it takes every moment the window leaves); a
    // slower frame stretches the interval. The window times its refresh
    // and its paints; the chart's own bookkeeping between the two and the
    // caches a frame leaves cold for the next steps add more than as much
    // again (bench/graph_bench.cpp: 1.3 % of the time in the frames, the
    // steps 3.4-4.0 % slower in all), which keeps a live graph within 5 %
    // of the simulation's speed for a chart of a few lines (about 2 ms a
    // frame: some 5 frames a second while the simulation runs). A window of
    // a thousand lines on a fast scene costs more: summarising its new
    // samples grows with the interval itself. Once a run has paused, the
    // first tick without new samples brings the interval back to
    // FrameIntervalMs; a zoom or pan by the user is drawn at once.
    static constexpr double FrameBudget = 0.01;

    frmGraph(GraphServices services, QWidget* parent = nullptr);
    ~frmGraph() override;

    // A series of the window: quantity `what` of an object (KindBall,
    // KindCylinder, KindPeg with its number) or of the scene (KindNone, 0).
    // False when the recorder cannot follow it or the window has it.
    bool AddSeries(SeriesKey key);
    void RemoveSeries(int line);
    // The horizontal axis: time, or a quantity of each series' own object.
    void SetAxisQuantity(std::optional<Quantity> quantity);
    int LineCount() const { return static_cast<int>(lines_.size()); }
    // Points the chart holds for line i (after decimation).
    int PointCount(int line) const;
    // Redraws from what the recording holds now (the timer does this).
    void Refresh();
    // Another project took the World's place: the lines of objects it has
    // not go, the others start afresh under their new names; a window left
    // without lines, or over a project that is not mechanical, closes.
    void ProjectReplaced();
    // Back to the view that fits all the data and follows it.
    void Fit();
    int IntervalMs() const;
    // The box "Записывать столкновения" is checked and the window open.
    bool WantsCollisions() const;
    // With a quantity on the horizontal axis, lines of objects without that
    // quantity (the scene's) are hidden: against time they would lie.
    bool LineShown(int line) const;
    // The readout of the samples nearest the pointer at plot value `value`
    // (inside false: the pointer left the plot).
    void ShowCursor(QPointF value, bool inside);

    // Exports; false after telling the user why.
    bool ExportCsv(const std::filesystem::path& path);
    bool ExportPng(const std::filesystem::path& path);
    bool ExportSvg(const std::filesystem::path& path);
    bool ExportCollisions(const std::filesystem::path& path);

    QChart* Chart() const { return chart_; }
    GraphView* View() const { return view_; }
    QLabel* MemoryLabel() const { return lblMemory_; }
    QLabel* NoteLabel() const { return lblNote_; }
    QLabel* LogLabel() const { return lblLog_; }
    QLabel* CursorLabel() const { return lblCursor_; }
    QComboBox* ObjectList() const { return cmbObject_; }
    QComboBox* QuantityList() const { return cmbQuantity_; }
    QComboBox* AxisList() const { return cmbAxis_; }
    QCheckBox* CollisionBox() const { return chkCollisions_; }
    NumberField* EveryField() const { return txtEvery_; }
    NumberField* CapacityField() const { return txtCapacity_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Line;
    void BuildWidgets();
    void FillObjects();
    void FillQuantities();
    void AddChosen();
    void Follow(Line& line);
    std::function<PlotPoint(std::int64_t)> SourceOf(const Line& line) const;
    void ApplyTitles();
    void ShowPoints(Line& line, const std::vector<PlotPoint>& shown);
    void ShowSettings();
    QString StateNote(bool dropped) const;
    void ShowLogState();
    std::vector<SeriesKey> ExportKeys() const;
    void ReleaseKeys();
    bool WriteFile(const std::filesystem::path& path, const QByteArray& bytes);
    void ExportWith(const QString& title, const QString& filter, const QString& name,
                    bool (frmGraph::*write)(const std::filesystem::path&));
    void PaintNote(QPainter& painter, QSize size) const;
    std::string XUnit() const;
    std::string YUnit() const;

    GraphServices services_;
    std::vector<std::unique_ptr<Line>> lines_;
    std::optional<Quantity> axisQuantity_;
    bool following_ = true;
    bool closing_ = false;
    bool viewDirty_ = true;
    std::uint64_t seenRevision_ = ~std::uint64_t{0};
    std::uint64_t seenGeneration_ = 0;
    double lastFrameMs_ = 0;

    QChart* chart_ = nullptr;
    QValueAxis* axisX_ = nullptr;
    QValueAxis* axisY_ = nullptr;
    GraphView* view_ = nullptr;
    QComboBox* cmbObject_ = nullptr;
    QComboBox* cmbQuantity_ = nullptr;
    QComboBox* cmbAxis_ = nullptr;
    QCheckBox* chkCollisions_ = nullptr;
    NumberField* txtEvery_ = nullptr;
    NumberField* txtCapacity_ = nullptr;
    // The table sizes the object list was filled for.
    int listedBalls_ = -1;
    int listedPegs_ = -1;
    QListWidget* lstSeries_ = nullptr;
    QLabel* lblMemory_ = nullptr;
    QLabel* lblNote_ = nullptr;
    QLabel* lblLog_ = nullptr;
    QLabel* lblCursor_ = nullptr;
    QTimer* timer_ = nullptr;
    // A frame asked for by the user (zoom, pan) comes at once, not at the
    // next tick of a slowed timer; one at a time however fast the wheel turns.
    QTimer* userRefresh_ = nullptr;
    // New samples on their way to a line's summaries.
    std::vector<PlotPoint> batch_;
    std::vector<RecordedPoint> read_;
};

}  // namespace velo
