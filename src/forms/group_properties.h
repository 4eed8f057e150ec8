// The group properties window (prpGroup, "Свойства группы"): what it shows
// of the selection and what "ОК" applies to it.
#pragma once

#include <string>
#include <vector>

#include "model/world.h"

namespace velo {

struct GroupValues {
    std::vector<std::string> Lines;  // one line per selected kind
    bool OnlyPoints = false;         // only suspension points selected
    int Material = 0;                // the material box starts here
    bool ThicknessAvailable = false; // a fixed object other than a point
    double Thickness = 0;            // twice the default half thickness
    bool MoreAvailable = false;      // "Ещё": movable objects selected
    int SelectedCount = 0;           // "Всего объектов:"
};

GroupValues FillGroupWindow(const World& world);

struct GroupChoice {
    int Material = 0;
    bool ChangeThickness = false;
    double Thickness = 0;  // full thickness, as the field shows it
};

// "ОК": the thickness (when ticked) and the material (when it differs from
// the initial one) to every selected fixed object; the material to every
// selected ball, cylinder and rod, their density scaled by the ratio of the
// materials' densities. The choices become the defaults of new objects.
// Returns false, changing nothing, for a thickness that is not a finite
// number of at least 0.
bool ApplyGroupWindow(World& world, const GroupValues& initial, const GroupChoice& choice);

// "Свойства подвижных": deselects every fixed object.
void DeselectFixedObjects(World& world);

}  // namespace velo
