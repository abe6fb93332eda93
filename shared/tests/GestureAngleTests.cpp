#include "shared/GestureAngle.h"

#include <gtest/gtest.h>

// Each sector edge from both sides, the diagonals and the axes (dy upwards).
TEST(GestureAngle, SectorEdgesFromBothSides)
{
    using namespace GestureAngle;
    const struct
    {
        int dx, dy, angle;
        Direction direction;
    } cases[] = {
        {30, 0, 0, kRight},       {1000, 983, 44, kRight},   {1000, 1000, 45, kUp},
        {1000, 1017, 45, kUp},    {0, 30, 90, kUp},          {-1000, 1000, 135, kUp},
        {-1000, 983, 135, kUp},   {-1000, 960, 136, kLeft},  {-30, 0, 180, kLeft},
        {-1000, -983, 224, kLeft}, {-1000, -1000, 225, kDown}, {-983, -1000, 225, kDown},
        {0, -30, 270, kDown},     {1000, -983, 315, kDown},  {1000, -1000, 315, kDown},
        {1000, -960, 316, kRight}, {1000, -1, 359, kRight},  {0, 0, 0, kRight},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy);
        EXPECT_EQ(c.angle, Of(c.dx, c.dy));
        EXPECT_EQ(c.direction, DirectionOf(Of(c.dx, c.dy)));
    }
}
