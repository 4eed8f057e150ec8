#include "windows/graph_view.h"

#include <QChart>
#include <QMouseEvent>
#include <QValueAxis>
#include <QWheelEvent>

#include <cmath>

#include "forms/graph_form.h"

namespace velo {
namespace {

QValueAxis* AxisOf(QChart* chart, Qt::Orientation orientation) {
    const QList<QAbstractAxis*> axes = chart->axes(orientation);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

void SetRange(QValueAxis* axis, AxisRange range) {
    if (axis) SetAxisRange(*axis, range);
}

AxisRange RangeOf(const QValueAxis* axis) { return {axis->min(), axis->max()}; }

}  // namespace

void SetAxisRange(QValueAxis& axis, AxisRange range) {
    // The axis lays its ticks out as each end changes: with the step of the
    // wider of the two ranges meanwhile, it never meets millions of ticks.
    const double before = TickStep({axis.min(), axis.max()});
    const double after = TickStep(range);
    if (after <= 0) return;
    axis.setTickInterval(std::max(before, after));
    axis.setRange(range.Min, range.Max);
    axis.setTickInterval(after);
}

GraphView::GraphView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setRenderHint(QPainter::Antialiasing, false);
    setMouseTracking(true);
    setMinimumSize(320, 220);
}

void GraphView::wheelEvent(QWheelEvent* event) {
    QValueAxis* x = AxisOf(chart(), Qt::Horizontal);
    QValueAxis* y = AxisOf(chart(), Qt::Vertical);
    const double steps = event->angleDelta().y() / 120.0;
    if (!x || !y || steps == 0) return;
    const QPointF at = chart()->mapToValue(event->position());
    // One notch of the wheel zooms by a fifth.
    const double factor = std::pow(1.2, steps);
    const bool xOnly = event->modifiers() & Qt::ShiftModifier;
    const bool yOnly = event->modifiers() & Qt::ControlModifier;
    if (!yOnly) SetRange(x, ZoomedRange(RangeOf(x), at.x(), factor));
    if (!xOnly) SetRange(y, ZoomedRange(RangeOf(y), at.y(), factor));
    emit viewChangedByUser();
    event->accept();
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        panning_ = true;
        lastPosition_ = event->position();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    const QRectF plot = chart()->plotArea();
    if (panning_ && plot.width() > 0 && plot.height() > 0) {
        QValueAxis* x = AxisOf(chart(), Qt::Horizontal);
        QValueAxis* y = AxisOf(chart(), Qt::Vertical);
        const QPointF moved = event->position() - lastPosition_;
        lastPosition_ = event->position();
        // The data follow the pointer: a move to the right shows smaller x.
        if (x) SetRange(x, PannedRange(RangeOf(x), -moved.x() / plot.width()));
        if (y) SetRange(y, PannedRange(RangeOf(y), moved.y() / plot.height()));
        emit viewChangedByUser();
    }
    const bool inside = plot.contains(event->position());
    emit cursorMoved(chart()->mapToValue(event->position()), inside);
    QChartView::mouseMoveEvent(event);
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && panning_) {
        panning_ = false;
        unsetCursor();
        event->accept();
        return;
    }
    QChartView::mouseReleaseEvent(event);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent* event) {
    emit fitRequested();
    event->accept();
}

void GraphView::leaveEvent(QEvent* event) {
    emit cursorMoved({}, false);
    QChartView::leaveEvent(event);
}

void GraphView::paintEvent(QPaintEvent* event) {
    QElapsedTimer clock;
    clock.start();
    QChartView::paintEvent(event);
    paintMs_ += static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

}  // namespace velo
