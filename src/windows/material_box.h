// The material list of the object windows: every slot 0..MaterialCount at
// its index, the free (deleted) slots shown but not choosable.
#pragma once

#include "model/materials.h"

class QComboBox;

namespace velo {

// Refills `box` from `table`; the current entry is left to the caller.
void FillMaterialBox(QComboBox& box, const MaterialTable& table);

}  // namespace velo
