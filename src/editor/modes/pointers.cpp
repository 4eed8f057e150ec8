// The pointers of the editing modes, drawn here like the toolbar pictures so
// that the program needs no pointer files. Each is 32 x 32 pixels.
#include <QPainter>
#include <QPixmap>

#include "editor/main_window.h"
#include "editing/creation.h"
#include "editor/modes/modes.h"

namespace velo {
namespace {

QCursor Drawn(int hotX, int hotY, const std::function<void(QPainter&)>& draw) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1));
        draw(painter);
    }
    return QCursor(picture, hotX, hotY);
}

// A small cross marking the hot spot, with white edges so it shows on any
// background.
void Cross(QPainter& p, int x, int y) {
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(x - 6, y, x + 6, y);
    p.drawLine(x, y - 6, x, y + 6);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(x - 6, y, x + 6, y);
    p.drawLine(x, y - 6, x, y + 6);
}

}  // namespace

QString LengthHint(double length) { return QStringLiteral("L = ") + WithZero(QString::number(length)); }

QCursor PointerFor(int mode) {
    switch (mode) {
    case ModeLaval:
        return Drawn(8, 8, [](QPainter& p) {
            Cross(p, 8, 8);
            p.drawLine(14, 20, 24, 20);  // the suspension point's beam and stem
            p.drawLine(19, 20, 19, 28);
        });
    case ModeHand:
    case ModeWall:
        return Drawn(8, 8, [mode](QPainter& p) {
            Cross(p, 8, 8);
            p.setBrush(Qt::gray);
            p.drawRect(mode == ModeHand ? QRect(14, 22, 16, 4) : QRect(24, 14, 4, 16));
        });
    case ModeBall:
    case ModeCylinder:
    case ModeHBody:
        return Drawn(8, 8, [mode](QPainter& p) {
            Cross(p, 8, 8);
            p.setBrush(mode == ModeCylinder ? Qt::lightGray : Qt::gray);
            if (mode == ModeCylinder) p.drawRect(16, 16, 12, 12);
            else p.drawEllipse(16, 16, 12, 12);
        });
    case ModeThread:
        // The needle of the thread pointer: 27 pixels right of and 22 below
        // the hot spot, where the free end goes.
        return Drawn(0, 0, [](QPainter& p) {
            p.drawLine(0, 0, 27, 22);
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(27, 22), 2.5, 2.5);
        });
    case -ModeThread:  // the knot while the thread is laid out
        return Drawn(0, 0, [](QPainter& p) {
            p.setBrush(Qt::black);
            p.drawEllipse(QPointF(27, 22), 3, 3);
        });
    case 250:
    case ModePlane:
    case ModeSurface:
        return Drawn(8, 8, [](QPainter& p) {
            Cross(p, 8, 8);
            p.drawLine(16, 28, 28, 16);
        });
    default:
        return Drawn(15, 15, [](QPainter& p) { Cross(p, 15, 15); });
    }
}

}  // namespace velo
