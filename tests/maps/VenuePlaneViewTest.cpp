// Where the outdoor map's pins stand on the plane: north up, east right, a
// degree of longitude as long as on a map of that latitude, the group fitted
// to the area, and a lone venue in the middle.
#include <gtest/gtest.h>

#include <cmath>

#include "maps/VenuePlaneView.h"

namespace {

using Pin = VenuePlaneView::Pin;

TEST(VenuePlaneViewTest, PinsStandByLatitudeAndLongitudeFittedToTheArea) {
    const graphics::Rect area(10, 20, 300, 200);
    // At latitude 60 a degree of longitude is half as long as one of latitude
    // (the group's mean latitude, 60.17, makes it 0.5 % shorter still).
    const auto points = VenuePlaneView::placePins(
        {{"South-west", 60, 0}, {"South-east", 60, 1}, {"North-west", 60.5, 0}}, area);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_NEAR((points[1].x - points[0].x) / (points[0].y - points[2].y), 1, 0.01);
    EXPECT_NEAR(points[0].y, points[1].y, 1e-9);
    // Square group in a wide area: the height limits it, centred across.
    EXPECT_NEAR(points[0].y, area.maxY(), 0.5);
    EXPECT_NEAR(points[2].y, area.minY(), 0.5);
    EXPECT_NEAR((points[0].x + points[1].x) / 2, area.midX(), 1e-9);
}

TEST(VenuePlaneViewTest, ALoneVenueOrOneWithoutCoordinatesStandsInTheMiddle) {
    const graphics::Rect area(0, 0, 200, 100);
    const graphics::Point middle(100, 50);
    EXPECT_EQ(VenuePlaneView::placePins({{"Hall", 46.2, 6.1}}, area), std::vector<graphics::Point>{middle});
    EXPECT_EQ(VenuePlaneView::placePins({{"Hall", 46.2, 6.1}, {"Annex", 46.2, 6.1}}, area),
              (std::vector<graphics::Point>{middle, middle}));
    const auto points = VenuePlaneView::placePins({{"Hall", 46, 6}, {"Nowhere", NAN, 6}, {"Annex", 46, 7}}, area);
    EXPECT_EQ(points[1], middle);
    EXPECT_NEAR(points[0].x, 0, 1e-9);
    EXPECT_NEAR(points[2].x, 200, 1e-9);
}

}  // namespace
