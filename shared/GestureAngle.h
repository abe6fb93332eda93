// The direction of a mouse movement: one rule for the mouse gestures and the
// drag-to-search directions, so that a movement means the same in both.
#ifndef VA_SHARED_GESTUREANGLE_H
#define VA_SHARED_GESTUREANGLE_H

namespace GestureAngle {

// The four sectors, each with its arrow and its drag direction.
enum Direction
{
    kRight,
    kUp,
    kLeft,
    kDown,
};

// The angle of a movement in whole degrees from 0 to 359: 0 is right and
// angles grow counter-clockwise (dx to the right, dy upwards, so up is 90).
// No movement gives 0.
int Of(int dx, int dy);

// The sector of an angle: below 45 or above 315 right, 45 to 135 up, 136 to
// 224 left, 225 to 315 down.
Direction DirectionOf(int angle);

} // namespace GestureAngle

#endif // VA_SHARED_GESTUREANGLE_H
