#include "plot/plot_geometry.h"

#include "core_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace valdrex {
namespace {

// The polynomial with these roots and leading coefficient 1.
Polynomial FromRoots(std::initializer_list<double> roots) {
    std::vector<double> p{1};
    for (const double r : roots)
        p = testing::Multiply(p, std::vector{-r, 1.0});
    return testing::Poly(p);
}

FoundRoot Root(double re, double im = 0, int multiplicity = 1) {
    FoundRoot root;
    root.re = re;
    root.im = im;
    root.multiplicity = multiplicity;
    return root;
}

int SignChanges(const Curve& curve) {
    int changes = 0;
    for (std::size_t i = 1; i < curve.y.size(); ++i)
        changes += (curve.y[i - 1] < 0) != (curve.y[i] < 0);
    return changes;
}

// Turning points are the sign changes of the slope; the real view shows them and the roots
// with a margin.
TEST(PlotGeometry, RealViewShowsRootsAndTurningPointsWithAMargin) {
    const std::vector<double> points = TurningPoints(FromRoots({-2, 0, 2}), {-3, 3});
    ASSERT_EQ(points.size(), 2u);
    EXPECT_NEAR(points[0], -2 / std::sqrt(3.0), 1e-14);
    EXPECT_NEAR(points[1], 2 / std::sqrt(3.0), 1e-14);
    // x^3 is flat at 0 but never turns.
    EXPECT_TRUE(TurningPoints(FromRoots({0, 0, 0}), {-1, 1}).empty());
    // (x + 2)(x - 1)^2: roots -2 and 1, a maximum at -1 where P is 4.
    const RealView view =
        ChooseRealView(FromRoots({-2, 1, 1}), std::vector{Root(-2), Root(1, 0, 2)});
    EXPECT_LT(view.x.lo, -2.2);
    EXPECT_GT(view.x.hi, 1.2);
    EXPECT_LT(view.x.width(), 5);
    ASSERT_EQ(view.turningPoints.size(), 2u);
    EXPECT_TRUE(view.y.contains(4.1) && view.y.contains(-0.1));
    EXPECT_FALSE(view.clipped);

    // x^2 + 2x + 5 has no real root: the view centres on the real part of -1 ± 2i.
    const std::vector<FoundRoot> pair{Root(-1, 2), Root(-1, -2)};
    const RealView none = ChooseRealView({5, 2, 1}, pair);
    EXPECT_DOUBLE_EQ(none.x.centre(), -1);
    EXPECT_DOUBLE_EQ(none.x.width(), 4);
    EXPECT_TRUE(none.y.contains(4) && none.y.contains(8));
    EXPECT_LT(none.y.hi, 9) << "no higher than P's highest value in sight, 8, and a margin";
    // x^3 + x turns nowhere: the height holds P over the whole width, -2 to 2.
    const RealView odd =
        ChooseRealView({0, 1, 0, 1}, std::vector{Root(0), Root(0, 1), Root(0, -1)});
    EXPECT_TRUE(odd.y.contains(-2) && odd.y.contains(2));

    // Nothing but the axis: a band of 2 about it.
    const RealView flat = ChooseRealView({}, {});
    EXPECT_TRUE(flat.y.contains(-1) && flat.y.contains(1) && !flat.y.contains(2));
}

TEST(PlotGeometry, SteepOuterBranchesOfDegreeTwelveAreClipped) {
    std::vector<FoundRoot> roots;
    for (int k = -6; k < 6; ++k)
        roots.push_back(Root(k / 6.0));
    const Polynomial a = FromRoots(
        {-1, -5 / 6., -4 / 6., -.5, -2 / 6., -1 / 6., 0, 1 / 6., 2 / 6., .5, 4 / 6., 5 / 6.});
    const RealView view = ChooseRealView(a, roots);
    EXPECT_TRUE(view.clipped);
    double bump = 0;
    for (const double t : view.turningPoints)
        bump = std::max(bump, std::abs(PlotValue(a, t)));
    // The largest bump between the roots fills a good part of the height.
    EXPECT_GT(bump, view.y.width() / 4);
    EXPECT_LT(view.y.hi, PlotValue(a, view.x.hi));
}

TEST(PlotGeometry, SamplesTouchADoubleRootAndSeparateACluster) {
    const Polynomial touching = FromRoots({-2, 1, 1});
    const std::vector<double> keys{1};
    const Curve curve = SampleCurve(touching, {-3, 2}, {-1, 5}, 600, 400, keys);
    const auto at = std::find(curve.x.begin(), curve.x.end(), 1.0);
    ASSERT_NE(at, curve.x.end());
    const auto i = at - curve.x.begin();
    EXPECT_EQ(curve.y[i], 0);
    EXPECT_GT(curve.y[i - 1], 0);
    EXPECT_GT(curve.y[i + 1], 0);
    EXPECT_EQ(SignChanges(curve), 1); // only at -2
    EXPECT_LE(curve.x.size(), 4000u);
    // A straight line needs no refining: a sample every two pixels, 32 to 1,000 intervals.
    for (const auto& [width, samples] : {std::pair{600, 301u}, {40, 33u}, {4000, 1001u}})
        EXPECT_EQ(SampleCurve(FromRoots({0}), {-1, 1}, {-1, 1}, width, 400, {}).x.size(), samples);

    // Zoomed in on 1, 1.001, 1.002, all three crossings show; values far off are held.
    const Polynomial cluster = FromRoots({1, 1.001, 1.002, 5, -5, 7});
    const Curve near = SampleCurve(cluster, {0.9995, 1.0025}, {-1e-7, 1e-7}, 600, 400, {});
    EXPECT_EQ(SignChanges(near), 3);
    // A dip far narrower than the first spacing, found by refining where the curve leaves the view.
    const Curve dip = SampleCurve(FromRoots({0.3001, 0.3006}), {0, 1}, {-1e-7, 1e-7}, 600, 400, {});
    EXPECT_EQ(SignChanges(dip), 2);
    const Curve far = SampleCurve(cluster, {-100, 100}, {-1, 1}, 600, 400, {});
    EXPECT_LE(*std::max_element(far.y.begin(), far.y.end()), 1e6 * 2);
}

TEST(PlotGeometry, PlaneViewIsSquareAndHoldsRootsAndUnitCircle) {
    const std::vector<FoundRoot> roots{Root(3, 0.5), Root(3, -0.5), Root(-0.2)};
    const PlaneView view = ChoosePlaneView(roots);
    EXPECT_DOUBLE_EQ(view.re.width(), view.im.width());
    EXPECT_TRUE(view.re.contains(-1) && view.re.contains(3.1));
    EXPECT_TRUE(view.im.contains(-1) && view.im.contains(1));
    // Roots all near zero: the circle would hide them.
    const PlaneView tiny = ChoosePlaneView(std::vector{Root(0.01), Root(-0.02)});
    EXPECT_LT(tiny.re.width(), 0.1);
}

} // namespace
} // namespace valdrex
