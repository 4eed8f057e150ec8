#include "editor/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace velo {

namespace {

constexpr int IconSize = 32;

const QColor Ink(40, 40, 40);
const QColor Steel(70, 90, 160);
const QColor Wood(150, 110, 60);

void DrawSupport(QPainter& p, bool vertical) {
    p.setPen(QPen(Ink, 2));
    if (vertical) {
        p.drawLine(QPointF(18, 4), QPointF(18, 28));
        for (int y = 6; y <= 26; y += 5) p.drawLine(QPointF(18, y), QPointF(24, y - 4));
    } else {
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
        for (int x = 6; x <= 26; x += 5) p.drawLine(QPointF(x, 16), QPointF(x - 4, 22));
    }
}

void DrawBall(QPainter& p, QPointF centre, double radius, QColor colour) {
    QRadialGradient shade(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
    shade.setColorAt(0, colour.lighter(190));
    shade.setColorAt(1, colour.darker(140));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
}

void Paint(QPainter& p, const QString& name, bool pause) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    if (name == "mnLav") {
        p.setPen(QPen(Ink, 2));
        p.drawLine(QPointF(6, 8), QPointF(26, 8));
        p.setBrush(Ink);
        p.drawEllipse(QPointF(16, 8), 3, 3);
        p.setPen(QPen(Ink, 1, Qt::DashLine));
        p.drawLine(QPointF(16, 11), QPointF(16, 26));
    } else if (name == "mnHand") {
        DrawSupport(p, false);
    } else if (name == "mnWall") {
        DrawSupport(p, true);
    } else if (name == "mnPlane") {
        p.setPen(QPen(Wood, 3));
        p.drawLine(QPointF(4, 26), QPointF(28, 8));
        p.setPen(QPen(Ink, 1));
        p.drawLine(QPointF(4, 27), QPointF(28, 27));
    } else if (name == "mnSd") {
        p.setPen(QPen(Wood, 3));
        p.drawPolyline(QPolygonF({QPointF(3, 10), QPointF(10, 24), QPointF(18, 20), QPointF(24, 27), QPointF(29, 8)}));
    } else if (name == "mnS2") {
        QPainterPath path(QPointF(4, 6));
        path.quadTo(QPointF(16, 46), QPointF(28, 6));
        p.setPen(QPen(Wood, 3));
        p.drawPath(path);
    } else if (name == "mnCylinder") {
        p.setPen(QPen(Steel.darker(130), 2));
        p.setBrush(Steel.lighter(150));
        p.drawEllipse(QPointF(16, 16), 11, 11);
        p.drawLine(QPointF(16, 5), QPointF(16, 27));
        p.drawLine(QPointF(5, 16), QPointF(27, 16));
    } else if (name == "mnBall") {
        DrawBall(p, QPointF(16, 16), 11, Steel);
    } else if (name == "mnHBody") {
        DrawBall(p, QPointF(16, 16), 8, QColor(60, 130, 200));
        p.setPen(QPen(QColor(200, 160, 60), 2));
        p.drawEllipse(QPointF(16, 16), 14, 5);
    } else if (name == "mnHLuminary") {
        p.setPen(QPen(QColor(230, 160, 0), 2));
        for (int k = 0; k < 8; ++k) {
            double a = k * 3.14159265358979 / 4;
            p.drawLine(QPointF(16 + 8 * std::cos(a), 16 + 8 * std::sin(a)),
                       QPointF(16 + 14 * std::cos(a), 16 + 14 * std::sin(a)));
        }
        DrawBall(p, QPointF(16, 16), 7, QColor(250, 200, 0));
    } else if (name == "mnPoint") {
        p.setPen(QPen(Ink, 2));
        p.drawEllipse(QPointF(16, 16), 10, 10);
        p.drawLine(QPointF(16, 2), QPointF(16, 30));
        p.drawLine(QPointF(2, 16), QPointF(30, 16));
    } else if (name == "mnRecover") {
        p.setPen(QPen(QColor(30, 120, 30), 3));
        p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 270 * 16);
        p.setBrush(QColor(30, 120, 30));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(20, 2), QPointF(28, 8), QPointF(18, 12)}));
    } else if (name == "mnSel") {
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(8, 4), QPointF(8, 26), QPointF(14, 20), QPointF(19, 29),
                                 QPointF(23, 27), QPointF(18, 18), QPointF(26, 18)}));
    } else if (name == "mnMove") {
        p.setPen(QPen(Ink, 2));
        p.drawLine(QPointF(16, 3), QPointF(16, 29));
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
        p.setBrush(Ink);
        p.drawPolygon(QPolygonF({QPointF(16, 2), QPointF(12, 7), QPointF(20, 7)}));
        p.drawPolygon(QPolygonF({QPointF(16, 30), QPointF(12, 25), QPointF(20, 25)}));
        p.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(7, 12), QPointF(7, 20)}));
        p.drawPolygon(QPolygonF({QPointF(30, 16), QPointF(25, 12), QPointF(25, 20)}));
    } else if (name == "mnDel") {
        p.setPen(QPen(QColor(190, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
    } else if (name == "mnProp") {
        p.setPen(QPen(Ink, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 4, 20, 24));
        for (int y = 10; y <= 22; y += 6) p.drawLine(QPointF(10, y), QPointF(22, y));
    } else if (name == "mnMinimize") {
        p.setPen(QPen(Ink, 3));
        p.drawLine(QPointF(8, 24), QPointF(24, 24));
    } else if (name == "mnRunStop") {
        p.setPen(Qt::NoPen);
        if (pause) {
            p.setBrush(QColor(200, 120, 0));
            p.drawRect(QRectF(8, 6, 6, 20));
            p.drawRect(QRectF(18, 6, 6, 20));
        } else {
            p.setBrush(QColor(30, 150, 30));
            p.drawPolygon(QPolygonF({QPointF(9, 5), QPointF(27, 16), QPointF(9, 27)}));
        }
    }
}

}  // namespace

QIcon ToolIcon(const QString& name, bool pause) {
    QPixmap picture(IconSize, IconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    Paint(painter, name, pause);
    painter.end();
    return QIcon(picture);
}

}  // namespace velo
