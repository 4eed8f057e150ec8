// The run loop of the main window: the run/pause command, the tick of
// `Metatimer` and the free-running loop.
#include "editor/main_window.h"

#include <QAction>
#include <QTimer>

namespace velo {

void frmMain::RunStop() {}

void frmMain::Tick() {}

}  // namespace velo
