// The window of the movable objects of a selection ("Свойства подвижных")
// and the thread window ("Свойства нити №"): what they show, and the one
// thing the first applies.
#pragma once

#include "model/world.h"

namespace velo {

struct MovableSummary {
    double Mass = 0;
    double Energy = 0;    // kinetic, of balls, cylinders and rods
    Vec2 Momentum;
    Vec2 CentreOfMass;
    int Count = 0;
};
MovableSummary SummariseMovable(const World& world);

// "ОК" with "Материал" ticked: every selected ball and cylinder takes the
// material, its density scaled by the ratio of the materials' densities.
void ApplyMovableMaterial(World& world, int material);

struct ThreadSummary {
    double Length = 0;
    int Laval = 0;  // the suspension point of the first end
    Vec2 First, Second;
    int SecondBinding = 0;  // 0: the second end is free
};
ThreadSummary SummariseThread(const World& world, int number);

}  // namespace velo
