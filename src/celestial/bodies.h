// Celestial bodies: mass from radius and density, the view angles of the
// perspective projection, where a body appears in the field and in which
// order the bodies are stacked.
#pragma once

#include <vector>

#include "model/world.h"

namespace velo {

// Volume = 4 pi R^3 / 3 (as R (R (R 4pi)) / 3) and Mass = Volume * Density.
void UpdateBodyMass(HBody& body);

// Sets one view angle (radians) and derives the other angle and the
// projection distance from it: the field is 10000 by 7000 units.
void SetViewAngleV(CelestialParameters& params, double angle);
void SetViewAngleH(CelestialParameters& params, double angle);

// The keypad zoom of the celestial view: the horizontal view angle one
// hundredth of a radian wider or narrower, taken only while it stays within
// [0.1, 3]; the vertical angle and the distance follow. False, changing
// nothing, when the step would leave the range.
bool StepViewAngleH(CelestialParameters& params, bool wider);

// Where a body is drawn: a circle in field units (y up) with its left and
// top edges and its diameter, or nothing when it is not in view.
struct BodyCircle {
    bool Visible = false;
    double Left = 0;
    double Top = 0;
    double Diameter = 0;
};

// Seen from the origin along -z at projection distance D: a body in front
// of the observer (z < 0) that does not enclose it (|R| < |z|) appears with
// radius D R / sqrt(z^2 - R^2), at least 20 field units.
BodyCircle ProjectBody(const HBody& body, double observerDistance);

// Numbers of the bodies 0..HBodyCount in the order they are brought to the
// front: increasing depth z, so the nearest ends on top; of equal z the
// lower number first. Bodies whose z is not below 1e80 (or not a number)
// are never restacked and come first, in number order.
std::vector<int> BodyStackOrder(const World& world);

}  // namespace velo
