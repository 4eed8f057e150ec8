// The plot of the graph window: a chart view that zooms with the wheel
// about the point under the pointer (Shift: time or x axis only, Ctrl: the
// value axis only), pans while the left button is held, returns to the
// fitted view on a double click, and reports the values under the pointer.
#pragma once

#include <QChartView>
#include <QElapsedTimer>

#include <utility>

class QValueAxis;

namespace velo {

struct AxisRange;

// A new range of the axis with ticks at round values (1, 2, 2.5 or 5 times
// a power of ten apart); an empty range or one that is no number is left
// out.
void SetAxisRange(QValueAxis& axis, AxisRange range);

class GraphView : public QChartView {
    Q_OBJECT
public:
    explicit GraphView(QChart* chart, QWidget* parent = nullptr);

    // Milliseconds the repaints took since the last call, for the window's
    // frame budget: one frame may be painted in more than one piece.
    double TakePaintMs() { return std::exchange(paintMs_, 0.0); }

signals:
    // The user zoomed or panned: the window stops fitting the data.
    void viewChangedByUser();
    void fitRequested();
    // The values under the pointer, or none (left the plot).
    void cursorMoved(QPointF value, bool inside);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool panning_ = false;
    QPointF lastPosition_;
    double paintMs_ = 0;
};

}  // namespace velo
