#include "windows/material_box.h"

#include <QComboBox>
#include <QStandardItemModel>

#include "forms/materials_editing.h"

namespace velo {

void FillMaterialBox(QComboBox& box, const MaterialTable& table) {
    box.clear();
    const std::vector<std::string> names = MaterialComboTexts(table);
    for (const std::string& name : names) box.addItem(QString::fromStdString(name));
    // The list position is the material's index, so a free slot keeps its
    // place and is only closed.
    auto* model = qobject_cast<QStandardItemModel*>(box.model());
    if (!model) return;
    for (int index = 0; index < static_cast<int>(names.size()); ++index) {
        if (MaterialChoosable(table, index)) continue;
        if (QStandardItem* item = model->item(index)) item->setEnabled(false);
    }
}

}  // namespace velo
