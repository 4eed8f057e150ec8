#include "platform/window_effects.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QEvent>
#include <QPropertyAnimation>
#include <QWidget>

#include <algorithm>
#include <string_view>

#include "platform/settings.h"

namespace velo {
namespace {

// Which transparency setting a property window follows.
const char* TransparencySetting(const QString& name) {
    if (name == QLatin1String("prpLaval")) return "TransparentLaval";
    if (name == QLatin1String("prpHandWall")) return "TransparentWallHand";
    if (name == QLatin1String("prpPlane")) return "TransparentPlane";
    if (name == QLatin1String("prpPeg2") || name == QLatin1String("prpPeg3")) return "TransparentRodExtras";
    return nullptr;
}

}  // namespace

WindowEffects::WindowEffects(const SettingsAccess& settings, bool supported, QObject* parent)
    : QObject(parent), settings_(settings), supported_(supported) {}

double WindowEffects::RestingOpacity(const QWidget& window) const {
    const char* setting = TransparencySetting(window.objectName());
    const bool transparent = supported_ && setting && settings_.Flag("TransparentWindows") && settings_.Flag(setting);
    return transparent ? SemiTransparentOpacity : 1.0;
}

bool WindowEffects::ChangesAutomatically(const QWidget& window) const {
    const char* setting = TransparencySetting(window.objectName());
    return setting && std::string_view(setting) == "TransparentRodExtras" && settings_.Flag("AutoTransparency");
}

bool WindowEffects::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QDialog*>(watched);
    if (!supported_ || !window || !window->isWindow()) return false;
    switch (event->type()) {
        case QEvent::Show:
            window->setWindowOpacity(0.0);
            Fade(window, RestingOpacity(*window), settings_.Number("FramesOnShow"));
            break;
        case QEvent::Hide:
            // Minimising is the window system's own animation.
            if (!event->spontaneous()) FadeOut(window);
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
            if (ChangesAutomatically(*window) && RestingOpacity(*window) < 1.0) {
                const bool active = event->type() == QEvent::WindowActivate;
                Fade(window, active ? 1.0 : RestingOpacity(*window), settings_.Number("FramesOnTransparency"));
            }
            break;
        default: break;
    }
    return false;
}

void WindowEffects::Restyle() {
    if (!supported_) return;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!qobject_cast<QDialog*>(window) || !window->isVisible()) continue;
        const bool opaqueWhileActive = ChangesAutomatically(*window) && window->isActiveWindow();
        Fade(window, opaqueWhileActive ? 1.0 : RestingOpacity(*window), settings_.Number("FramesOnTransparency"));
    }
}

int WindowEffects::FrameRate() const { return std::clamp(settings_.Number("MaxFrameRate"), 10, 100); }

void WindowEffects::FadeOut(QWidget* window) {
    const int frames = settings_.Number("FramesOnHide");
    if (frames <= 0 || window->size().isEmpty()) return;
    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("fadeOut"));
    picture->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                            Qt::WindowStaysOnTopHint);
    picture->setAttribute(Qt::WA_ShowWithoutActivating);
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);
    picture->setAttribute(Qt::WA_DeleteOnClose);
    picture->setAttribute(Qt::WA_QuitOnClose, false);
    picture->setPixmap(window->grab());
    picture->setGeometry(window->geometry());
    picture->setWindowOpacity(window->windowOpacity());
    picture->show();
    auto* fade = new QPropertyAnimation(picture, "windowOpacity", picture);
    fade->setDuration((frames + 1) * 1000 / FrameRate());
    fade->setStartValue(picture->windowOpacity());
    fade->setEndValue(0.0);
    connect(fade, &QPropertyAnimation::finished, picture, &QWidget::close);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void WindowEffects::Fade(QWidget* window, double to, int frames) {
    // A fade still running is replaced by the new one.
    for (auto* running : window->findChildren<QPropertyAnimation*>(QStringLiteral("fade"), Qt::FindDirectChildrenOnly)) {
        running->stop();
        running->deleteLater();
    }
    const int rate = FrameRate();
    if (frames <= 0) {
        window->setWindowOpacity(to);
        return;
    }
    auto* fade = new QPropertyAnimation(window, "windowOpacity", window);
    fade->setObjectName(QStringLiteral("fade"));
    fade->setDuration((frames + 1) * 1000 / rate);
    fade->setStartValue(window->windowOpacity());
    fade->setEndValue(to);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}

}  // namespace velo
