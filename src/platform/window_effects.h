// The transparency and fading of the program's windows, through Qt's window
// opacity where the window system shows it: property windows of suspension
// points, walls and supports, inclined planes and the rod's extra windows
// rest semi-transparent when the settings say so; every dialog fades in
// and out over the chosen numbers of intermediate frames at the highest
// frame rate; the rod's extra windows become opaque while active when the
// transparency changes automatically.
#pragma once

#include <QObject>

class QWidget;

namespace velo {

class SettingsAccess;

// The opacity of a semi-transparent window.
inline constexpr double SemiTransparentOpacity = 0.8;

class WindowEffects final : public QObject {
    Q_OBJECT
public:
    // Watches the windows of the whole application once installed on it
    // (QCoreApplication::installEventFilter); `supported` false turns every
    // effect off.
    WindowEffects(const SettingsAccess& settings, bool supported, QObject* parent = nullptr);

    // The opacity a window settles at when it is not active.
    double RestingOpacity(const QWidget& window) const;
    // The open windows take the transparency the settings now give them
    // (after "ОК" in the appearance or transparency settings).
    void Restyle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fade(QWidget* window, double to, int frames);
    // A hidden window fades out as a picture of itself left in its place,
    // so that the dialog's own closing (and its result) is not delayed.
    void FadeOut(QWidget* window);
    int FrameRate() const;
    bool ChangesAutomatically(const QWidget& window) const;

    const SettingsAccess& settings_;
    bool supported_ = false;
};

}  // namespace velo
