#include "windows/graph_window.h"

#include <QBuffer>
#include <QChart>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGraphicsLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "record/record_csv.h"
#include "windows/recording.h"
#include "windows/graph_view.h"
#include "windows/number_field.h"

namespace velo {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::int32_t ObjectColour(const World& world, const SeriesKey& key) {
    int material = -1;
    if (key.Kind == KindBall && key.Number >= 1 && key.Number <= std::min(world.BallCount, BallCapacity)) {
        material = world.Balls[static_cast<std::size_t>(key.Number)].Material;
    } else if (key.Kind == KindPeg && key.Number >= 1 && key.Number <= std::min(world.PegCount, PegCapacity)) {
        material = world.Pegs[static_cast<std::size_t>(key.Number)].Material;
    }
    if (material < 0 || material >= static_cast<int>(world.Materials.Items.size())) return 0;
    return world.Materials.Items[static_cast<std::size_t>(material)].Colour;
}

QColor ToQColor(std::int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Paths go to and from Qt as UTF-16: a narrow string would pass through the
// system's code page on Windows and break a folder named in Cyrillic.
QString PathText(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }

// The object list fills itself afresh as it opens: objects come and go
// while the window stays open.
class ObjectBox final : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> BeforePopup;
    void showPopup() override {
        if (BeforePopup) BeforePopup();
        QComboBox::showPopup();
    }
};

// Readouts of more lines than this end with a count of the rest.
constexpr int CursorLinesShown = 12;

// The field of a whole number within [low, high].
NumberInput::Check WholeWithin(double low, double high) {
    return [low, high](double value) { return value >= low && value <= high && value == std::floor(value); };
}

// Items of the object list carry kind * 1000 + number (the scene is 0).
constexpr int ObjectCode(int kind, int number) { return kind * 1000 + number; }

}  // namespace

struct frmGraph::Line {
    SeriesKey Key;
    std::optional<SeriesKey> XKey;  // the x of a plot against a quantity
    QLineSeries* Series = nullptr;
    // The pieces after the first where missing values break the line; kept
    // for the next frame, out of the legend.
    std::vector<QLineSeries*> Pieces;
    SeriesPyramid Pyramid;
};

frmGraph::~frmGraph() = default;

frmGraph::frmGraph(GraphServices services, QWidget* parent) : QWidget(parent, Qt::Window), services_(std::move(services)) {
    setObjectName(QStringLiteral("frmGraph"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("График"));
    BuildWidgets();
    services_.Record->Samples.Enable(true);
    seenGeneration_ = services_.Record->Generation;
    timer_ = new QTimer(this);
    timer_->setInterval(FrameIntervalMs);
    connect(timer_, &QTimer::timeout, this, &frmGraph::Refresh);
    timer_->start();
    userRefresh_ = new QTimer(this);
    userRefresh_->setSingleShot(true);
    userRefresh_->setInterval(0);
    connect(userRefresh_, &QTimer::timeout, this, &frmGraph::Refresh);
    resize(980, 560);
}

void frmGraph::BuildWidgets() {
    chart_ = new QChart();
    chart_->setAnimationOptions(QChart::NoAnimation);
    chart_->legend()->setAlignment(Qt::AlignBottom);
    // The legend draws a piece of each line, dashes and all, as it is drawn.
    chart_->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    axisX_ = new QValueAxis(chart_);
    axisY_ = new QValueAxis(chart_);
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setLabelFormat(QStringLiteral("%.6g"));
        // Ticks at round values whatever the range (time runs from the
        // first sample to the last, zoom and pan leave any ends); every
        // range goes through SetAxisRange.
        axis->setTickAnchor(0);
        axis->setTickInterval(TickStep({axis->min(), axis->max()}));
        axis->setTickType(QValueAxis::TicksDynamic);
    }
    chart_->addAxis(axisX_, Qt::AlignBottom);
    chart_->addAxis(axisY_, Qt::AlignLeft);
    view_ = new GraphView(chart_, this);
    view_->setObjectName(QStringLiteral("GraphView"));
    connect(view_, &GraphView::viewChangedByUser, this, [this] {
        following_ = false;
        viewDirty_ = true;
        if (userRefresh_ && !userRefresh_->isActive()) userRefresh_->start();
    });
    connect(view_, &GraphView::fitRequested, this, &frmGraph::Fit);
    connect(view_, &GraphView::cursorMoved, this, &frmGraph::ShowCursor);

    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("Объект:"), controls), row, 0);
    auto* objects = new ObjectBox(controls);
    objects->BeforePopup = [this] { FillObjects(); };
    cmbObject_ = objects;
    cmbObject_->setObjectName(QStringLiteral("cmbObject"));
    grid->addWidget(cmbObject_, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Величина:"), controls), row, 0);
    cmbQuantity_ = new QComboBox(controls);
    cmbQuantity_->setObjectName(QStringLiteral("cmbQuantity"));
    grid->addWidget(cmbQuantity_, row++, 1);
    auto* cmdAdd = new QPushButton(QStringLiteral("Добавить"), controls);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    grid->addWidget(cmdAdd, row++, 1);
    grid->addWidget(new QLabel(QStringLiteral("Ось X:"), controls), row, 0);
    cmbAxis_ = new QComboBox(controls);
    cmbAxis_->setObjectName(QStringLiteral("cmbAxis"));
    cmbAxis_->addItem(QStringLiteral("Время"), -1);
    for (const QuantityInfo& info : AllQuantities()) cmbAxis_->addItem(Text(info.Caption), static_cast<int>(info.Id));
    grid->addWidget(cmbAxis_, row++, 1);
    chkCollisions_ = new QCheckBox(QStringLiteral("Записывать столкновения"), controls);
    chkCollisions_->setObjectName(QStringLiteral("chkCollisions"));
    chkCollisions_->setToolTip(QStringLiteral("Журнал столкновений ведётся, пока его просит хоть одно окно графика; "
                                              "он замедляет расчёт"));
    grid->addWidget(chkCollisions_, row++, 0, 1, 2);
    // The recording is one for all graph windows: these two settings are
    // its own, and every window shows what any of them set.
    const QString shared = QStringLiteral("Общая настройка записи всех окон графиков");
    auto* lblEvery = new QLabel(QStringLiteral("Каждый k-й шаг:"), controls);
    txtEvery_ = new NumberField(controls);
    txtEvery_->setObjectName(QStringLiteral("txtEvery"));
    txtEvery_->SetCheck(WholeWithin(1, 1'000'000));
    txtEvery_->SetWhole(true);
    txtEvery_->setToolTip(shared);
    grid->addWidget(lblEvery, row, 0);
    grid->addWidget(txtEvery_, row++, 1);
    auto* lblCapacity = new QLabel(QStringLiteral("Точек на серию:"), controls);
    txtCapacity_ = new NumberField(controls);
    txtCapacity_->setObjectName(QStringLiteral("txtCapacity"));
    txtCapacity_->SetCheck(WholeWithin(2, 100'000'000));
    txtCapacity_->SetWhole(true);
    txtCapacity_->setToolTip(shared + QStringLiteral("; новое значение начинает запись заново"));
    grid->addWidget(lblCapacity, row, 0);
    grid->addWidget(txtCapacity_, row++, 1);
    lstSeries_ = new QListWidget(controls);
    lstSeries_->setObjectName(QStringLiteral("lstSeries"));
    grid->addWidget(lstSeries_, row++, 0, 1, 2);
    auto* cmdRemove = new QPushButton(QStringLiteral("Удалить"), controls);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    auto* cmdFit = new QPushButton(QStringLiteral("Вписать"), controls);
    cmdFit->setObjectName(QStringLiteral("cmdFit"));
    cmdFit->setToolTip(QStringLiteral("Показать все точки и следовать за новыми (двойной щелчок по графику)"));
    grid->addWidget(cmdRemove, row, 0);
    grid->addWidget(cmdFit, row++, 1);
    const std::pair<const char*, const char*> exports[] = {
        {"cmdCsv", "Экспорт CSV…"}, {"cmdPng", "Сохранить PNG…"}, {"cmdSvg", "Сохранить SVG…"},
        {"cmdCollisions", "Столкновения CSV…"}};
    QPushButton* exportButtons[4] = {};
    for (int i = 0; i < 4; ++i) {
        exportButtons[i] = new QPushButton(Text(exports[i].second), controls);
        exportButtons[i]->setObjectName(Text(exports[i].first));
        grid->addWidget(exportButtons[i], row + i / 2, i % 2);
    }
    row += 2;
    lblMemory_ = new QLabel(controls);
    lblMemory_->setObjectName(QStringLiteral("lblMemory"));
    grid->addWidget(lblMemory_, row++, 0, 1, 2);
    lblLog_ = new QLabel(controls);
    lblLog_->setObjectName(QStringLiteral("lblLog"));
    grid->addWidget(lblLog_, row++, 0, 1, 2);
    lblNote_ = new QLabel(controls);
    lblNote_->setObjectName(QStringLiteral("lblNote"));
    lblNote_->setWordWrap(true);
    lblNote_->setStyleSheet(QStringLiteral("color: #a00000"));
    grid->addWidget(lblNote_, row++, 0, 1, 2);
    lblCursor_ = new QLabel(controls);
    lblCursor_->setObjectName(QStringLiteral("lblCursor"));
    lblCursor_->setWordWrap(true);
    grid->addWidget(lblCursor_, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    controls->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 42);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(controls);
    layout->addWidget(view_, 1);

    FillObjects();
    FillQuantities();
    connect(cmbObject_, &QComboBox::currentIndexChanged, this, &frmGraph::FillQuantities);
    connect(cmdAdd, &QPushButton::clicked, this, &frmGraph::AddChosen);
    connect(cmdRemove, &QPushButton::clicked, this, [this] {
        if (lstSeries_->currentRow() >= 0) RemoveSeries(lstSeries_->currentRow());
    });
    connect(cmdFit, &QPushButton::clicked, this, &frmGraph::Fit);
    connect(chkCollisions_, &QCheckBox::toggled, this, [this] {
        if (services_.CollisionsChanged) services_.CollisionsChanged();
    });
    // Applied when the entry is finished, not at every key: a new capacity
    // starts the recording afresh.
    connect(txtEvery_, &QLineEdit::editingFinished, this, [this] {
        Recorder& recorder = services_.Record->Samples;
        if (!txtEvery_->Refused() && static_cast<int>(txtEvery_->Value()) != recorder.Every()) {
            recorder.SampleEvery(static_cast<int>(txtEvery_->Value()));
            recorder.Enable(true);
        }
        ShowSettings();
    });
    connect(txtCapacity_, &QLineEdit::editingFinished, this, [this] {
        Recording& record = *services_.Record;
        const auto samples = static_cast<std::size_t>(txtCapacity_->Value());
        if (!txtCapacity_->Refused() && samples != record.Samples.RequestedCapacity()) {
            record.Samples.SetCapacity(samples);
            // Fewer points a series may be what lets a stopped recording go on.
            record.Samples.Enable(true);
            ++record.Generation;
            Refresh();
        }
        ShowSettings();
    });
    ShowSettings();
    connect(cmbAxis_, &QComboBox::activated, this, [this](int index) {
        const int code = cmbAxis_->itemData(index).toInt();
        SetAxisQuantity(code < 0 ? std::nullopt : std::optional<Quantity>(static_cast<Quantity>(code)));
    });
    connect(exportButtons[0], &QPushButton::clicked, this, [this] {
        ExportWith(QStringLiteral("Экспорт записи"), QStringLiteral("CSV (*.csv)"), QStringLiteral("graph.csv"),
                   &frmGraph::ExportCsv);
    });
    connect(exportButtons[1], &QPushButton::clicked, this, [this] {
        ExportWith(QStringLiteral("Сохранение графика"), QStringLiteral("PNG (*.png)"), QStringLiteral("graph.png"),
                   &frmGraph::ExportPng);
    });
    connect(exportButtons[2], &QPushButton::clicked, this, [this] {
        ExportWith(QStringLiteral("Сохранение графика"), QStringLiteral("SVG (*.svg)"), QStringLiteral("graph.svg"),
                   &frmGraph::ExportSvg);
    });
    connect(exportButtons[3], &QPushButton::clicked, this, [this] {
        ExportWith(QStringLiteral("Экспорт столкновений"), QStringLiteral("CSV (*.csv)"),
                   QStringLiteral("collisions.csv"), &frmGraph::ExportCollisions);
    });
}

// The scene, the balls and rods the World has and the objects of the
// window's lines: an object whose property window is open is hidden in the
// table while its working copy is shown, and is still offered.
void frmGraph::FillObjects() {
    const World& w = *services_.Scene;
    const QVariant chosen = cmbObject_->currentData();
    const QSignalBlocker quiet(cmbObject_);
    cmbObject_->clear();
    cmbObject_->addItem(QStringLiteral("Сцена"), ObjectCode(KindNone, 0));
    const auto ofLine = [this](int kind, int number) {
        return std::any_of(lines_.begin(), lines_.end(),
                           [&](const auto& line) { return line->Key.Kind == kind && line->Key.Number == number; });
    };
    listedBalls_ = w.BallCount;
    listedPegs_ = w.PegCount;
    for (int n = 1; n <= std::min(w.BallCount, BallCapacity); ++n) {
        if (!w.Balls[static_cast<std::size_t>(n)].Exists && !ofLine(KindBall, n)) continue;
        cmbObject_->addItem(Text(SeriesObjectName(w, {KindBall, n, Quantity::X})), ObjectCode(KindBall, n));
    }
    for (int n = 1; n <= std::min(w.PegCount, PegCapacity); ++n) {
        if (!w.Pegs[static_cast<std::size_t>(n)].Exists && !ofLine(KindPeg, n)) continue;
        cmbObject_->addItem(Text(SeriesObjectName(w, {KindPeg, n, Quantity::X})), ObjectCode(KindPeg, n));
    }
    int index = chosen.isValid() ? cmbObject_->findData(chosen) : -1;
    if (index < 0) index = cmbObject_->count() > 1 ? 1 : 0;
    const bool changed = !chosen.isValid() || cmbObject_->itemData(index) != chosen;
    cmbObject_->setCurrentIndex(index);
    if (changed && cmbQuantity_) FillQuantities();
}

void frmGraph::FillQuantities() {
    const int code = cmbObject_->currentData().toInt();
    const bool scene = code == 0;
    const int previous = cmbQuantity_->currentData().isValid() ? cmbQuantity_->currentData().toInt() : 0;
    cmbQuantity_->clear();
    for (const QuantityInfo& info : AllQuantities()) {
        if (scene && !info.OfScene) continue;
        cmbQuantity_->addItem(Text(info.Caption), static_cast<int>(info.Id));
    }
    const int again = cmbQuantity_->findData(previous);
    cmbQuantity_->setCurrentIndex(std::max(again, 0));
}

void frmGraph::AddChosen() {
    const int code = cmbObject_->currentData().toInt();
    SeriesKey key;
    key.Kind = static_cast<std::uint8_t>(code / 1000);
    key.Number = code % 1000;
    key.What = static_cast<Quantity>(cmbQuantity_->currentData().toInt());
    AddSeries(key);
}

bool frmGraph::AddSeries(SeriesKey key) {
    key = Normalised(key);
    if (!IsRecordableKind(key.Kind)) return false;
    for (const auto& line : lines_) {
        if (line->Key == key) return false;
    }
    Recorder& recorder = services_.Record->Samples;
    if (recorder.IndexOf(key) < 0 && !recorder.Add(key)) return false;
    // A line asked for records again, also after memory ran out.
    recorder.Enable(true);
    auto line = std::make_unique<Line>();
    line->Key = key;
    line->Series = new QLineSeries(chart_);
    chart_->addSeries(line->Series);
    line->Series->attachAxis(axisX_);
    line->Series->attachAxis(axisY_);
    lines_.push_back(std::move(line));
    Follow(*lines_.back());
    lstSeries_->addItem(Text(SeriesTitle(*services_.Scene, key)));
    if (cmbObject_->findData(ObjectCode(key.Kind, key.Number)) < 0) {
        FillObjects();
        cmbObject_->setCurrentIndex(std::max(0, cmbObject_->findData(ObjectCode(key.Kind, key.Number))));
    }
    ApplyTitles();
    viewDirty_ = true;
    Refresh();
    return true;
}

void frmGraph::RemoveSeries(int index) {
    if (index < 0 || index >= LineCount()) return;
    Line& line = *lines_[static_cast<std::size_t>(index)];
    chart_->removeSeries(line.Series);
    delete line.Series;
    for (QLineSeries* piece : line.Pieces) {
        chart_->removeSeries(piece);
        delete piece;
    }
    lines_.erase(lines_.begin() + index);
    delete lstSeries_->takeItem(index);
    ReleaseKeys();
    // Fewer lines leave room again: a recording stopped for want of memory
    // goes on.
    if (services_.Record->Samples.OutOfMemory()) services_.Record->Samples.Enable(true);
    ApplyTitles();
    viewDirty_ = true;
    Refresh();
}

void frmGraph::ProjectReplaced() {
    const World& w = *services_.Scene;
    if (w.ProjectKind == ProjectMechanical) {
        for (int i = LineCount(); i-- > 0;) {
            const Line& line = *lines_[static_cast<std::size_t>(i)];
            if (!ObjectPresent(w, line.Key.Kind, line.Key.Number)) RemoveSeries(i);
        }
    }
    if (w.ProjectKind != ProjectMechanical || lines_.empty()) {
        close();
        return;
    }
    FillObjects();
    for (int i = 0; i < LineCount(); ++i) {
        lstSeries_->item(i)->setText(Text(SeriesTitle(w, lines_[static_cast<std::size_t>(i)]->Key)));
    }
    ApplyTitles();
    Fit();
}

void frmGraph::SetAxisQuantity(std::optional<Quantity> quantity) {
    axisQuantity_ = quantity;
    const int index = cmbAxis_->findData(quantity ? static_cast<int>(*quantity) : -1);
    if (index >= 0) cmbAxis_->setCurrentIndex(index);
    for (auto& line : lines_) Follow(*line);
    ReleaseKeys();
    ApplyTitles();
    following_ = true;
    viewDirty_ = true;
    Refresh();
}

// The line takes the window's horizontal axis: the x series of its own
// object is recorded too, and its picture starts afresh.
void frmGraph::Follow(Line& line) {
    line.XKey.reset();
    if (axisQuantity_) {
        SeriesKey x{line.Key.Kind, line.Key.Number, *axisQuantity_};
        Recorder& recorder = services_.Record->Samples;
        if (recorder.IndexOf(x) >= 0 || recorder.Add(x)) line.XKey = x;
    }
    line.Pyramid.Clear();
    seenRevision_ = ~std::uint64_t{0};
}

// Series no open graph window shows any more are no longer recorded.
void frmGraph::ReleaseKeys() {
    if (!services_.Record) return;
    std::vector<SeriesKey> used;
    QWidget* owner = parentWidget();
    std::vector<const frmGraph*> windows{this};
    if (owner) {
        for (const frmGraph* other : owner->findChildren<frmGraph*>(Qt::FindDirectChildrenOnly)) {
            if (other != this) windows.push_back(other);
        }
    }
    for (const frmGraph* window : windows) {
        if (window == this && closing_) continue;
        for (const auto& line : window->lines_) {
            used.push_back(line->Key);
            if (line->XKey) used.push_back(*line->XKey);
        }
    }
    Recorder& recorder = services_.Record->Samples;
    for (std::size_t i = recorder.SeriesCount(); i-- > 0;) {
        const SeriesKey key = recorder.KeyAt(i);
        if (std::find(used.begin(), used.end(), key) == used.end()) recorder.Remove(key);
    }
    // Recording stops with the last graph window, not with the last line:
    // a window left open may add lines again.
    if (closing_ && windows.size() == 1) recorder.Enable(false);
}

bool frmGraph::WantsCollisions() const { return !closing_ && chkCollisions_->isChecked(); }

bool frmGraph::LineShown(int line) const {
    if (line < 0 || line >= LineCount()) return false;
    return !axisQuantity_ || lines_[static_cast<std::size_t>(line)]->XKey.has_value();
}

void frmGraph::closeEvent(QCloseEvent* event) {
    closing_ = true;
    ReleaseKeys();
    if (chkCollisions_->isChecked() && services_.CollisionsChanged) services_.CollisionsChanged();
    QWidget::closeEvent(event);
}

std::function<PlotPoint(std::int64_t)> frmGraph::SourceOf(const Line& line) const {
    const Recorder& recorder = services_.Record->Samples;
    const UnitSystem& units = services_.Scene->Units;
    const int ys = recorder.IndexOf(line.Key);
    const int xs = line.XKey ? recorder.IndexOf(*line.XKey) : -1;
    const UnitKind yUnit = InfoOf(line.Key.What).Unit;
    const UnitKind xUnit = line.XKey ? InfoOf(line.XKey->What).Unit : UnitKind::Time;
    // Absolute sample numbers: sample i of a series was taken at instant
    // SamplesTaken - Count + i of the whole recording.
    const auto taken = static_cast<std::int64_t>(recorder.SamplesTaken());
    const std::int64_t yFirst = ys < 0 ? 0 : taken - static_cast<std::int64_t>(recorder.Count(static_cast<std::size_t>(ys)));
    const std::int64_t xFirst = xs < 0 ? 0 : taken - static_cast<std::int64_t>(recorder.Count(static_cast<std::size_t>(xs)));
    return [&recorder, &units, ys, xs, yUnit, xUnit, yFirst, xFirst](std::int64_t a) {
        const auto y = static_cast<std::size_t>(ys);
        const double value = DisplayValue(yUnit, recorder.Value(y, static_cast<std::size_t>(a - yFirst)), units);
        if (xs < 0) return PlotPoint{recorder.Time(y, static_cast<std::size_t>(a - yFirst)), value};
        const double x =
            DisplayValue(xUnit, recorder.Value(static_cast<std::size_t>(xs), static_cast<std::size_t>(a - xFirst)), units);
        return PlotPoint{x, value};
    };
}

void frmGraph::Fit() {
    following_ = true;
    viewDirty_ = true;
    Refresh();
}

int frmGraph::IntervalMs() const { return timer_ ? timer_->interval() : FrameIntervalMs; }

int frmGraph::PointCount(int line) const {
    if (line < 0 || line >= LineCount()) return 0;
    const Line& shown = *lines_[static_cast<std::size_t>(line)];
    qsizetype points = shown.Series->count();
    for (const QLineSeries* piece : shown.Pieces) points += piece->count();
    return static_cast<int>(points);
}

// The line as pieces between its missing values: the first piece is the
// series of the legend, the others share its pen.
void frmGraph::ShowPoints(Line& line, const std::vector<PlotPoint>& shown) {
    std::vector<QList<QPointF>> pieces(1);
    for (const PlotPoint& p : shown) {
        if (std::isfinite(p.X) && std::isfinite(p.Y)) {
            pieces.back().append(QPointF(p.X, p.Y));
        } else if (!pieces.back().isEmpty()) {
            pieces.emplace_back();
        }
    }
    if (pieces.size() > 1 && pieces.back().isEmpty()) pieces.pop_back();
    while (line.Pieces.size() + 1 < pieces.size()) {
        auto* piece = new QLineSeries(chart_);
        chart_->addSeries(piece);
        piece->attachAxis(axisX_);
        piece->attachAxis(axisY_);
        piece->setPen(line.Series->pen());
        piece->setVisible(line.Series->isVisible());
        for (QLegendMarker* marker : chart_->legend()->markers(piece)) marker->setVisible(false);
        line.Pieces.push_back(piece);
    }
    line.Series->replace(pieces.front());
    for (std::size_t i = 0; i < line.Pieces.size(); ++i) {
        QLineSeries* piece = line.Pieces[i];
        if (i + 1 < pieces.size()) {
            piece->replace(pieces[i + 1]);
        } else if (piece->count() > 0) {
            piece->clear();
        }
    }
}

void frmGraph::Refresh() {
    QElapsedTimer clock;
    clock.start();
    Recording& record = *services_.Record;
    const Recorder& recorder = record.Samples;
    if (record.Generation != seenGeneration_) {
        seenGeneration_ = record.Generation;
        for (auto& line : lines_) line->Pyramid.Clear();
        seenRevision_ = ~std::uint64_t{0};
    }
    // A project replaced under the window forgot the series: they are
    // followed again.
    for (auto& owned : lines_) {
        Line& line = *owned;
        if (recorder.IndexOf(line.Key) < 0 && record.Samples.Add(line.Key)) line.Pyramid.Clear();
        if (line.XKey && recorder.IndexOf(*line.XKey) < 0 && record.Samples.Add(*line.XKey)) line.Pyramid.Clear();
    }
    const World& w = *services_.Scene;
    if (w.BallCount != listedBalls_ || w.PegCount != listedPegs_) FillObjects();
    ShowSettings();
    if (recorder.Revision() == seenRevision_ && !viewDirty_) {
        // Nothing new (the run paused): the next frame need not wait out a
        // long frame's share of the time.
        if (timer_ && timer_->interval() != FrameIntervalMs) timer_->setInterval(FrameIntervalMs);
        return;
    }
    seenRevision_ = recorder.Revision();
    viewDirty_ = false;

    // New samples into the summaries, and the edges of the view.
    const auto taken = static_cast<std::int64_t>(recorder.SamplesTaken());
    PlotExtent all;
    bool dropped = false;
    for (auto& owned : lines_) {
        Line& line = *owned;
        const int ys = recorder.IndexOf(line.Key);
        const int xs = line.XKey ? recorder.IndexOf(*line.XKey) : -1;
        if (ys < 0 || (line.XKey && xs < 0) || (axisQuantity_ && !line.XKey)) continue;
        std::int64_t first = taken - static_cast<std::int64_t>(recorder.Count(static_cast<std::size_t>(ys)));
        if (xs >= 0) first = std::max(first, taken - static_cast<std::int64_t>(recorder.Count(static_cast<std::size_t>(xs))));
        dropped = dropped || recorder.DroppedOldest(static_cast<std::size_t>(ys));
        // Fallen behind by more than the recording holds, or the recording
        // began again: the summaries start at its first sample.
        if (line.Pyramid.End() < first || line.Pyramid.End() > taken) line.Pyramid.Restart(first);
        const SampleAt sample = line.XKey ? SourceOf(line) : SampleAt();
        // The new samples go to the summaries in batches of a few thousand:
        // a fast scene brings thousands a series between two frames.
        constexpr std::int64_t Batch = 4096;
        // A line against time reads its samples a range at a time.
        const std::int64_t yFirst = taken - static_cast<std::int64_t>(recorder.Count(static_cast<std::size_t>(ys)));
        const UnitKind yUnit = InfoOf(line.Key.What).Unit;
        for (std::int64_t a = line.Pyramid.End(); a < taken;) {
            const std::int64_t last = std::min(taken, a + Batch);
            batch_.clear();
            if (!line.XKey) {
                read_.clear();
                recorder.CopyRange(static_cast<std::size_t>(ys), static_cast<std::size_t>(a - yFirst),
                                   static_cast<std::size_t>(last - a), read_);
                for (const RecordedPoint& p : read_)
                    batch_.push_back({p.Time, DisplayValue(yUnit, p.Value, services_.Scene->Units)});
                if (read_.empty()) break;  // the recording holds no more (not while taken counts it)
                a += static_cast<std::int64_t>(read_.size());
            } else {
                for (; a < last; ++a) batch_.push_back(sample(a));
            }
            line.Pyramid.AppendAll(batch_);
        }
        line.Pyramid.DropBefore(first);
        const PlotExtent e = line.Pyramid.Extent();
        if (e.Empty) continue;
        if (all.Empty) {
            all = e;
        } else {
            all.XMin = std::min(all.XMin, e.XMin);
            all.XMax = std::max(all.XMax, e.XMax);
            all.YMin = std::min(all.YMin, e.YMin);
            all.YMax = std::max(all.YMax, e.YMax);
        }
    }
    if (following_ && !all.Empty) {
        const AxisRange y = NiceRange(all.YMin, all.YMax);
        // Time runs on from the first sample to the last; another quantity
        // gets round ends like the values.
        const AxisRange x = axisQuantity_ || all.XMax <= all.XMin ? NiceRange(all.XMin, all.XMax)
                                                                 : AxisRange{all.XMin, all.XMax};
        SetAxisRange(*axisX_, x);
        SetAxisRange(*axisY_, y);
    }

    // Every line at the plot's width.
    const int pixels = std::max(100, static_cast<int>(chart_->plotArea().width()));
    int hidden = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Line& line = *lines_[i];
        const bool visible = LineShown(static_cast<int>(i));
        if (!visible) ++hidden;
        if (line.Series->isVisible() != visible) {
            line.Series->setVisible(visible);
            for (QLegendMarker* marker : chart_->legend()->markers(line.Series)) marker->setVisible(visible);
            // A series shown again shows its legend marker again: the
            // pieces' stay hidden.
            for (QLineSeries* piece : line.Pieces) {
                piece->setVisible(visible);
                for (QLegendMarker* marker : chart_->legend()->markers(piece)) marker->setVisible(false);
            }
        }
        std::vector<PlotPoint> shown;
        const int ys = recorder.IndexOf(line.Key);
        if (visible && ys >= 0 && line.Pyramid.End() > line.Pyramid.Begin()) {
            const SampleAt sample = SourceOf(line);
            shown = axisQuantity_ ? line.Pyramid.PathView(pixels, sample)
                                  : line.Pyramid.TimeView(axisX_->min(), axisX_->max(), pixels, sample);
        }
        ShowPoints(line, shown);
    }
    // New ranges change the width of the tick labels and so the plot's
    // place: laid out now, the chart is painted once a frame, not twice.
    if (QGraphicsLayout* layout = chart_->layout()) layout->activate();

    std::size_t bytes = recorder.MemoryBytes() + record.Collisions.MemoryBytes();
    for (const auto& line : lines_) bytes += line->Pyramid.MemoryBytes();
    const NumberLocale locale = NumberLocaleOf(QLocale());
    lblMemory_->setText(QStringLiteral("Память записи: ") + Text(MemoryText(bytes, locale)));
    ShowLogState();
    QString note = StateNote(dropped);
    if (hidden > 0) {
        const QString axis = cmbAxis_->currentText();
        note += (note.isEmpty() ? QString() : QStringLiteral(" ")) +
                QStringLiteral("Скрыто линий: %1 — у их объектов нет величины «%2» для оси X.").arg(hidden).arg(axis);
    }
    lblNote_->setText(note);

    // The frame budget: a frame that took long (its drawing included) makes
    // the next ones wait, so that the window takes at most FrameBudget of
    // the time.
    lastFrameMs_ = static_cast<double>(clock.nsecsElapsed()) / 1e6 + view_->TakePaintMs();
    const int interval = std::max(FrameIntervalMs, static_cast<int>(std::ceil(lastFrameMs_ / FrameBudget)));
    if (timer_ && timer_->interval() != interval) timer_->setInterval(interval);
}

// How much the collision log holds and how many of its oldest events made
// room for new ones; shown while this window asks for the log or the log
// holds something.
void frmGraph::ShowLogState() {
    const CollisionLog& log = services_.Record->Collisions;
    const bool shown = chkCollisions_->isChecked() || log.Received() > 0;
    lblLog_->setVisible(shown);
    if (!shown) return;
    const QLocale locale;
    lblLog_->setText(QStringLiteral("Журнал: %1 событий, старые отброшены: %2")
                         .arg(locale.toString(static_cast<qulonglong>(log.Count())),
                              locale.toString(static_cast<qulonglong>(log.DroppedCount()))));
}

// The shared settings as the recorder has them, unless the user is typing.
void frmGraph::ShowSettings() {
    const Recorder& recorder = services_.Record->Samples;
    if (!txtEvery_->hasFocus() && txtEvery_->Value() != recorder.Every()) txtEvery_->SetValue(recorder.Every());
    const auto capacity = static_cast<double>(recorder.RequestedCapacity());
    if (!txtCapacity_->hasFocus() && txtCapacity_->Value() != capacity) txtCapacity_->SetValue(capacity);
}

// What the recording cannot do: memory ran out, the budget allows fewer
// samples than asked for, the oldest samples were dropped.
QString frmGraph::StateNote(bool dropped) const {
    const Recorder& recorder = services_.Record->Samples;
    const QLocale locale;
    const auto number = [&locale](std::size_t n) { return locale.toString(static_cast<qulonglong>(n)); };
    QStringList notes;
    if (recorder.OutOfMemory()) {
        notes << QStringLiteral("Запись остановлена: не хватает памяти. Уменьшите число точек на серию или "
                                "удалите линии.");
    } else if (recorder.Capacity() < recorder.RequestedCapacity()) {
        notes << QStringLiteral("Памяти записи хватает на %1 точек на серию из %2.")
                     .arg(number(recorder.Capacity()), number(recorder.RequestedCapacity()));
    }
    if (services_.Record->Collisions.OutOfMemory()) {
        notes << QStringLiteral("Журнал столкновений остановлен: не хватает памяти.");
    }
    if (dropped) {
        notes << QStringLiteral("Запись заполнена: старые точки отброшены, показаны последние %1 на серию.")
                     .arg(number(recorder.Capacity()));
    }
    return notes.join(QLatin1Char(' '));
}

std::string frmGraph::XUnit() const {
    return UnitLabel(axisQuantity_ ? InfoOf(*axisQuantity_).Unit : UnitKind::Time, services_.Scene->Units);
}

std::string frmGraph::YUnit() const {
    if (lines_.empty()) return {};
    const UnitKind unit = InfoOf(lines_.front()->Key.What).Unit;
    for (const auto& line : lines_) {
        if (InfoOf(line->Key.What).Unit != unit) return {};
    }
    return UnitLabel(unit, services_.Scene->Units);
}

void frmGraph::ApplyTitles() {
    const World& w = *services_.Scene;
    const std::string xSymbol = axisQuantity_ ? InfoOf(*axisQuantity_).Symbol : "t";
    // The titles are rich text: "p_x" shows with its subscript.
    const auto title = [](const std::string& symbol, const std::string& unit) {
        return Text(AxisTitle(SymbolHtml(symbol), Text(unit).toHtmlEscaped().toStdString()));
    };
    axisX_->setTitleText(title(xSymbol, XUnit()));
    // The value axis names the quantity when every line shows the same one.
    std::string ySymbol;
    for (const auto& line : lines_) {
        const std::string symbol = InfoOf(line->Key.What).Symbol;
        ySymbol = ySymbol.empty() || ySymbol == symbol ? symbol : "";
        if (ySymbol.empty()) break;
    }
    axisY_->setTitleText(title(ySymbol, YUnit()));
    std::vector<std::int32_t> objectColours;
    for (const auto& line : lines_) objectColours.push_back(ObjectColour(w, line->Key));
    const std::vector<std::int32_t> colours = SeriesColours(objectColours);
    // Lines of one object colour differ in shade and, as shades of grey
    // are hard to tell apart, in dashes too.
    const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
    std::vector<std::pair<std::int32_t, int>> seen;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == objectColours[i]; });
        const int repeat = it == seen.end() ? 0 : it->second++;
        if (it == seen.end()) seen.emplace_back(objectColours[i], 1);
        QPen pen(ToQColor(colours[i]));
        pen.setWidthF(1.5);
        pen.setStyle(styles[repeat % 5]);
        lines_[i]->Series->setPen(pen);
        for (QLineSeries* piece : lines_[i]->Pieces) piece->setPen(pen);
        lines_[i]->Series->setName(Text(SeriesTitle(w, lines_[i]->Key)));
    }
    QStringList titles;
    for (const auto& line : lines_) titles << Text(SeriesTitle(w, line->Key));
    setWindowTitle(QStringLiteral("График") + (titles.isEmpty() ? QString() : QStringLiteral(": ") + titles.join(QStringLiteral(", "))));
}

// Against time, every line's sample at the recorded instant nearest the
// pointer, each value with its own unit; against a quantity, each line's
// drawn point nearest the pointer on the screen.
void frmGraph::ShowCursor(QPointF value, bool inside) {
    if (!inside) {
        lblCursor_->clear();
        return;
    }
    const World& w = *services_.Scene;
    const Recorder& recorder = services_.Record->Samples;
    const NumberLocale locale = NumberLocaleOf(QLocale());
    const auto unitOf = [&w](Quantity what) { return UnitLabel(InfoOf(what).Unit, w.Units); };
    const auto displayed = [&w](Quantity what, double raw) { return DisplayValue(InfoOf(what).Unit, raw, w.Units); };
    QStringList rows;
    std::int64_t instant = -1;
    if (!axisQuantity_) {
        const auto count = static_cast<std::int64_t>(recorder.SampleCount());
        const SampleAt timeAt = [&recorder](std::int64_t k) {
            return PlotPoint{recorder.SampleTime(static_cast<std::size_t>(k)), 0};
        };
        instant = NearestSample(value.x(), 0, count, timeAt);
        const double t = instant < count ? recorder.SampleTime(static_cast<std::size_t>(instant)) : value.x();
        if (instant >= count) instant = -1;
        rows << Text(ReadoutValue("t", XUnit(), t, locale));
    }
    const double spanX = std::max(axisX_->max() - axisX_->min(), 1e-300);
    const double spanY = std::max(axisY_->max() - axisY_->min(), 1e-300);
    int shown = 0, left = 0;
    for (int i = 0; i < LineCount(); ++i) {
        if (!LineShown(i)) continue;
        if (shown == CursorLinesShown) {
            ++left;
            continue;
        }
        ++shown;
        const Line& line = *lines_[static_cast<std::size_t>(i)];
        const std::string name = SeriesObjectName(w, line.Key) + ": ";
        const std::string symbol = InfoOf(line.Key.What).Symbol;
        if (!axisQuantity_) {
            double y = std::nan("");
            const int ys = recorder.IndexOf(line.Key);
            if (ys >= 0 && instant >= 0) {
                const auto first = static_cast<std::int64_t>(recorder.FirstInstant(static_cast<std::size_t>(ys)));
                if (instant >= first) y = displayed(line.Key.What, recorder.Value(static_cast<std::size_t>(ys), static_cast<std::size_t>(instant - first)));
            }
            rows << Text(name + ReadoutValue(symbol, unitOf(line.Key.What), y, locale));
            continue;
        }
        QPointF nearest(std::nan(""), std::nan(""));
        double best = HUGE_VAL;
        std::vector<const QLineSeries*> pieces{line.Series};
        pieces.insert(pieces.end(), line.Pieces.begin(), line.Pieces.end());
        for (const QLineSeries* piece : pieces) {
            for (const QPointF& p : piece->points()) {
                const double dx = (p.x() - value.x()) / spanX, dy = (p.y() - value.y()) / spanY;
                if (dx * dx + dy * dy < best) {
                    best = dx * dx + dy * dy;
                    nearest = p;
                }
            }
        }
        rows << Text(name + ReadoutValue(InfoOf(*axisQuantity_).Symbol, XUnit(), nearest.x(), locale) + "; " +
                     ReadoutValue(symbol, unitOf(line.Key.What), nearest.y(), locale));
    }
    if (left > 0) rows << QStringLiteral("… и ещё линий: %1").arg(left);
    lblCursor_->setText(rows.join(QLatin1Char('\n')));
}

bool frmGraph::WriteFile(const std::filesystem::path& path, const QByteArray& bytes) {
    // Written beside the target and renamed over it: a failed export leaves
    // an older file of that name as it was.
    QSaveFile file(PathText(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (services_.ShowError) {
            services_.ShowError("Не удалось записать файл \"" + PathText(path).toStdString() + "\": " +
                                file.errorString().toStdString() + ". Выберите другую папку или имя файла.");
        }
        return false;
    }
    return true;
}

// The window's own lines, each followed by the series of its horizontal
// axis, once each: other windows' series stay out of this window's file.
std::vector<SeriesKey> frmGraph::ExportKeys() const {
    std::vector<SeriesKey> keys;
    const auto add = [&keys](const SeriesKey& key) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
    };
    for (const auto& line : lines_) {
        add(line->Key);
        if (line->XKey) add(*line->XKey);
    }
    return keys;
}

// The time column and a column per series of the window, a row per
// recorded instant; a series that began later has empty cells before its
// first sample. With the byte order mark, so that spreadsheet programs on
// Windows read the Russian headers.
bool frmGraph::ExportCsv(const std::filesystem::path& path) {
    const Recorder& recorder = services_.Record->Samples;
    const std::vector<SeriesKey> keys = ExportKeys();
    std::vector<int> series;
    std::vector<std::size_t> first;
    for (const SeriesKey& key : keys) {
        const int s = recorder.IndexOf(key);
        series.push_back(s);
        first.push_back(s < 0 ? recorder.SampleCount() : recorder.FirstInstant(static_cast<std::size_t>(s)));
    }
    std::ostringstream out;
    WriteRecordingHeader(out, keys, *services_.Scene, true);
    std::vector<double> values(keys.size());
    for (std::size_t k = 0; k < recorder.SampleCount(); ++k) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            values[i] = k >= first[i] ? recorder.Value(static_cast<std::size_t>(series[i]), k - first[i]) : std::nan("");
        }
        WriteRecordingRow(out, recorder.SampleTime(k), keys, values, *services_.Scene);
    }
    return WriteFile(path, QByteArray::fromStdString(out.str()));
}

bool frmGraph::ExportCollisions(const std::filesystem::path& path) {
    std::ostringstream out;
    WriteCollisionCsv(out, services_.Record->Collisions, *services_.Scene, true);
    return WriteFile(path, QByteArray::fromStdString(out.str()));
}

// The note that the oldest points were dropped, in the picture's lower
// left corner: an exported graph says so as the window does.
void frmGraph::PaintNote(QPainter& painter, QSize size) const {
    if (lblNote_->text().isEmpty()) return;
    painter.setPen(QColor(0xa0, 0, 0));
    const QRect room(8, 0, size.width() - 16, size.height() - 4);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap, lblNote_->text());
}

bool frmGraph::ExportPng(const std::filesystem::path& path) {
    Refresh();
    QPixmap picture = view_->grab();
    {
        QPainter painter(&picture);
        PaintNote(painter, view_->size());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return WriteFile(path, bytes);
}

// The chart as the window shows it, drawn into an SVG document: lines,
// axes, grid and legend stay vectors and texts.
bool frmGraph::ExportSvg(const std::filesystem::path& path) {
    Refresh();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(view_->size());
    generator.setViewBox(QRect(QPoint(0, 0), view_->size()));
    generator.setTitle(windowTitle());
    generator.setResolution(static_cast<int>(std::lround(view_->logicalDpiX())));
    {
        QPainter painter(&generator);
        view_->render(&painter);
        PaintNote(painter, view_->size());
    }
    return WriteFile(path, bytes);
}

void frmGraph::ExportWith(const QString& title, const QString& filter, const QString& name,
                          bool (frmGraph::*write)(const std::filesystem::path&)) {
    if (!services_.ChooseFile) return;
    const std::optional<std::filesystem::path> path = services_.ChooseFile(title, filter, name);
    if (path) (this->*write)(*path);
}

}  // namespace velo
