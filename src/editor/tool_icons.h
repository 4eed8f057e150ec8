// The toolbar pictures, drawn here with simple shapes so that they scale
// and need no picture files.
#pragma once

#include <QIcon>
#include <QString>

namespace velo {

// The picture of the toolbar button that mirrors the menu item `name`
// ("mnBall", "mnRunStop" ...); `pause` picks the pause picture of the run
// command.
QIcon ToolIcon(const QString& name, bool pause = false);

}  // namespace velo
