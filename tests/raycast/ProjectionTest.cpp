// The engine's projection constants, worked out by hand from its formulas:
// scale = floor(width / 2 * (0x5700 + 0x5800) / 0x8000), heightNumerator =
// scale * 1024, and column i's angle atan(floor(i * 65536 / width) / 0xAF00)
// in whole tenths of a degree, out from the two middle columns.

#include "raycast/Projection.h"

#include <gtest/gtest.h>

namespace tsl {
namespace {

struct ProjectionRow {
    int width, height;
    Fixed scale;
    int centreX, middleRow;
    int edgeAngle; // of column 0; the last column's is its negative
};

TEST(ProjectionTest, ConstantsFollowTheViewsWidth)
{
    const ProjectionRow rows[] = {
        {608, 304, 415, 303, 152, 360}, // the engine's view at 640 x 400
        {640, 400, 437, 319, 200, 360},
        {64, 40, 43, 31, 20, 353},
    };
    for (const ProjectionRow& row : rows) {
        SCOPED_TRACE(row.width);
        const Projection projection(row.width, row.height);
        EXPECT_EQ(projection.Scale(), row.scale);
        EXPECT_EQ(projection.HeightNumerator(), row.scale * 1024);
        EXPECT_EQ(projection.CentreX(), row.centreX);
        EXPECT_EQ(projection.MiddleRow(), row.middleRow);
        EXPECT_EQ(projection.PixelAngle(0), row.edgeAngle);
        EXPECT_EQ(projection.PixelAngle(row.width - 1), -row.edgeAngle);
        // Both middle columns look straight ahead.
        EXPECT_EQ(projection.PixelAngle(row.width / 2 - 1), 0);
        EXPECT_EQ(projection.PixelAngle(row.width / 2), 0);
    }
    // An odd width's last column goes on from the right half, a pixel further out.
    const Projection odd(65, 40);
    EXPECT_EQ(odd.PixelAngle(0), 349);
    EXPECT_EQ(odd.PixelAngle(63), -349);
    EXPECT_EQ(odd.PixelAngle(64), -357);
}

TEST(ProjectionTest, HeightsAreTheNumeratorOverTheDepthWithTheMinimumDistance)
{
    const Projection projection(608, 304);
    EXPECT_EQ(projection.HeightAt(kTileUnits), 424960 / 256); // one tile: 207 pixels up and down
    EXPECT_EQ(projection.HeightAt(kMinDistUnits), 424960 / 0x58);
    EXPECT_EQ(projection.HeightAt(kMinDistUnits / 2), projection.HeightAt(kMinDistUnits));
}

TEST(ProjectionTest, TheEyeStandsAFocalLengthBehindThePlayer)
{
    const ViewPoint east = MakeViewPoint(Camera{29.5, 57.5, 0});
    EXPECT_EQ(east.x, 29 * kTileUnits + 0x8000 - 0x5700);
    EXPECT_EQ(east.y, 57 * kTileUnits + 0x8000);
    EXPECT_EQ(east.angle, 0);
    EXPECT_EQ(east.playerTileX, 29);
    EXPECT_EQ(east.playerTileY, 57);
    const ViewPoint north = MakeViewPoint(Camera{29.5, 57.5, 90});
    EXPECT_EQ(north.x, 29 * kTileUnits + 0x8000);
    EXPECT_EQ(north.y, 57 * kTileUnits + 0x8000 + 0x5700); // y grows to the south
    EXPECT_EQ(north.angle, 900);
    EXPECT_EQ(MakeViewPoint(Camera{0, 0, 45.04}).angle, 450);
    EXPECT_EQ(MakeViewPoint(Camera{0, 0, -0.04}).angle, 0);
    EXPECT_EQ(MakeViewPoint(Camera{0, 0, 359.96}).angle, 0);
}

TEST(ProjectionTest, TablesHoldTheEnginesValues)
{
    // tan(0.05 degrees) and its inverse, in units of 65536.
    EXPECT_EQ(FineTangent(0), 57);
    EXPECT_EQ(FineTangent(899), 75098708);
    EXPECT_EQ(FineSine(0), 0);
    EXPECT_EQ(FineSine(900), kTileUnits);
    EXPECT_EQ(FineCosine(1800), -kTileUnits);
    EXPECT_EQ(FineSine(2700), -kTileUnits);
    EXPECT_EQ(FineSine(300), kTileUnits / 2 - 1); // sin 30 degrees, truncated from the summed float angle
}

TEST(ProjectionTest, SpritesScaleLikeWallsAtTheirDepth)
{
    const Projection projection(608, 304);
    const ViewPoint view = MakeViewPoint(Camera{1.5, 1.5, 0});
    // 3 tiles ahead: its depth from the eye, less the static objects' 0x2000.
    const Fixed depth = 3 * kTileUnits + 0x5700 - 0x2000;
    const SpriteProjection ahead = ProjectSprite(projection, view, ToFixed(4.5), ToFixed(1.5), kStaticFudgeUnits);
    ASSERT_TRUE(ahead.visible);
    EXPECT_EQ(ahead.centreX, 303);
    EXPECT_EQ(ahead.height, projection.HeightAt(depth));
    // A tile to the right (south): scale / depth tiles of pixels further right.
    const SpriteProjection right = ProjectSprite(projection, view, ToFixed(4.5), ToFixed(2.5), kStaticFudgeUnits);
    EXPECT_EQ(right.centreX, 303 + 415 * kTileUnits / depth);
    // Behind the eye, and nearer than the minimum distance: not drawn.
    EXPECT_FALSE(ProjectSprite(projection, view, ToFixed(0.5), ToFixed(1.5), kStaticFudgeUnits).visible);
    EXPECT_FALSE(ProjectSprite(projection, view, ToFixed(1.6), ToFixed(1.5), kActorFudgeUnits).visible);
    EXPECT_TRUE(ProjectSprite(projection, view, ToFixed(1.6), ToFixed(1.5), 0).visible);
}

} // namespace
} // namespace tsl
