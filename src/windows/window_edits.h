// How a window changes the World: through the editor's history, as one step.
#pragma once

#include <QString>

#include <functional>

#include "model/world.h"

namespace velo {

using WorldEdit = std::function<void(const QString& name, const std::function<void(World&)>& change)>;

}  // namespace velo
