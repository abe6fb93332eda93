#include "shared/GestureAngle.h"

#include <cmath>

namespace GestureAngle {

namespace {

// Degrees per radian as the gestures have always measured them, a little
// above 180 / pi.
const double kDegreesPerRadian = 57.297469361769856;

} // namespace

int Of(int dx, int dy)
{
    if (dy == 0)
        return dx < 0 ? 180 : 0;
    if (dx == 0)
        return dy > 0 ? 90 : 270;
    // The diagonals belong to the vertical sectors; with the scale above,
    // truncation alone would put 225 among the left ones.
    if (dx == dy || dx == -dy)
        return dy > 0 ? (dx > 0 ? 45 : 135) : (dx < 0 ? 225 : 315);
    double angle = std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * kDegreesPerRadian;
    // A full turn is added before the fraction goes: -44.5 is 315, not 316.
    if (angle < 0)
        angle += 360;
    const int whole = static_cast<int>(angle);
    return whole >= 360 ? 0 : whole;
}

Direction DirectionOf(int angle)
{
    if (angle < 45 || angle > 315)
        return kRight;
    if (angle <= 135)
        return kUp;
    if (angle <= 224)
        return kLeft;
    return kDown;
}

} // namespace GestureAngle
