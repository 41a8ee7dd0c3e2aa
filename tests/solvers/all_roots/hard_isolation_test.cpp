#include "solvers/all_roots/enclosures.h"
#include "solvers/all_roots/iteration.h"

#include "hard_families.h"

#include <acb_poly.h>
#include <arb_fmpz_poly.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace valdrex {
namespace {

using namespace valdrex::testing;

// The sign of p at an exact point, by evaluation at rising precision.
int SignAt(const fmpz_poly_t p, const arf_t x) {
    Real point, value;
    arb_set_arf(point.get(), x);
    for (long prec = 128;; prec *= 2) {
        arb_fmpz_poly_evaluate_arb(value.get(), p, point.get(), prec);
        if (arb_is_zero(value.get()) || !arb_contains_zero(value.get()))
            return arb_is_zero(value.get()) ? 0 : arb_is_positive(value.get()) ? 1 : -1;
    }
}

// Whether each radius of b is at least 2^10 times each radius of `ref` (ignoring exact balls).
bool MuchWider(const acb_t b, const acb_t ref) {
    for (const mag_struct* r : {arb_radref(acb_realref(b)), arb_radref(acb_imagref(b))}) {
        mag_t narrow;
        mag_init(narrow);
        mag_mul_2exp_si(narrow, r, -10);
        const bool wide = mag_is_zero(r) || (mag_cmp(arb_radref(acb_realref(ref)), narrow) <= 0 &&
                                             mag_cmp(arb_radref(acb_imagref(ref)), narrow) <= 0);
        mag_clear(narrow);
        if (!wide)
            return false;
    }
    return true;
}

// Whether the ball z is within 2^-bits of its size.
bool Narrow(acb_srcptr z, long bits) {
    mag_t width, size;
    mag_init(width);
    mag_init(size);
    mag_hypot(width, arb_radref(acb_realref(z)), arb_radref(acb_imagref(z)));
    acb_get_mag_lower(size, z);
    mag_mul_2exp_si(size, size, -bits);
    const bool narrow = mag_cmp(width, size) <= 0;
    mag_clear(width);
    mag_clear(size);
    return narrow;
}

// The faults of `roots` as the promised isolating balls for p, judged against Arb's own
// enclosures (refined from our midpoints until far narrower than our balls) and exact signs.
std::string Faults(const fmpz_poly_t p, long bits, acb_srcptr roots) {
    const long n = fmpz_poly_degree(p);
    Balls reference(n), starts(n);
    for (long i = 0; i < n; ++i)
        acb_get_mid(starts.get() + i, roots + i);
    acb_poly_t ballPolynomial;
    acb_poly_init(ballPolynomial);
    bool isolated = false;
    for (long prec = 2 * bits + 128; prec < (1L << 18) && !isolated; prec *= 2) {
        acb_poly_set_fmpz_poly(ballPolynomial, p, prec);
        isolated =
            acb_poly_find_roots(reference.get(), ballPolynomial, starts.get(), 20, prec) == n;
        for (long i = 0; i < n && isolated; ++i)
            for (long j = 0; j < n && isolated; ++j)
                isolated = MuchWider(roots + i, reference.get() + j);
    }
    acb_poly_clear(ballPolynomial);
    if (!isolated)
        return "no reference enclosure";
    std::string faults;
    long zeros = 0;
    Float low, high;
    for (long i = 0; i < n; ++i) {
        const acb_srcptr b = roots + i;
        const std::string at = " at " + std::to_string(i) + ";";
        const bool real = arb_is_zero(acb_imagref(b));
        long holds = 0;
        for (long j = 0; j < n; ++j) {
            if (!acb_overlaps(b, reference.get() + j))
                continue;
            ++holds;
            const bool inside =
                acb_is_exact(b) ||
                (real ? arb_contains(acb_realref(b), acb_realref(reference.get() + j)) &&
                            arb_contains_zero(acb_imagref(reference.get() + j))
                      : acb_contains(b, reference.get() + j));
            if (!inside)
                faults += " root not inside" + at;
        }
        if (holds != 1)
            faults += " holds " + std::to_string(holds) + " roots" + at;
        for (long j = i + 1; j < n; ++j)
            if (acb_overlaps(b, roots + j))
                faults += " overlaps " + std::to_string(j) + at;
        if (!Narrow(b, bits))
            faults += " too wide" + at;
        zeros += acb_is_zero(b);
        if (real) {
            // A real root: an exact point is a root, a segment has a sign change.
            arb_get_lbound_arf(low.get(), acb_realref(b), ARF_PREC_EXACT);
            arb_get_ubound_arf(high.get(), acb_realref(b), ARF_PREC_EXACT);
            const bool exact = arf_equal(low.get(), high.get());
            if (exact ? SignAt(p, low.get()) != 0
                      : SignAt(p, low.get()) * SignAt(p, high.get()) >= 0)
                faults += " not proved real" + at;
            if (i > 0 &&
                (!arb_is_zero(acb_imagref(roots + i - 1)) ||
                 arf_cmp(arb_midref(acb_realref(roots + i - 1)), arb_midref(acb_realref(b))) >= 0))
                faults += " real out of order" + at;
        } else if (arb_is_positive(acb_imagref(b))) {
            Owned<acb_struct> mirror;
            acb_conj(mirror.get(), b);
            if (i + 1 == n || !acb_equal(mirror.get(), roots + i + 1))
                faults += " no exact conjugate" + at;
            if (i > 1 && !arb_is_zero(acb_imagref(roots + i - 2)) &&
                arf_cmp(arb_midref(acb_realref(roots + i - 2)), arb_midref(acb_realref(b))) > 0)
                faults += " pair out of order" + at;
        } else if (i == 0 || !arb_is_positive(acb_imagref(roots + i - 1))) {
            faults += " lower half without its pair" + at;
        }
    }
    if (zeros != (fmpz_is_zero(p->coeffs) ? 1 : 0))
        faults += " the zero root not exactly once;";
    return faults;
}

// Isolates the roots of p's square-free part and checks them; the work is added to `work`.
void ExpectIsolated(const fmpz_poly_t p, long bits, const std::string& name,
                    IsolationWork* work = nullptr) {
    Polynomial squareFree;
    SquareFreePart(squareFree.get(), p);
    if (squareFree.degree() < 1)
        return;
    Balls roots(squareFree.degree());
    // Nothing may depend on what the output held before.
    for (long i = 0; i < roots.size(); ++i)
        acb_set_si(roots.get() + i, -1);
    ASSERT_TRUE(IsolateRoots(squareFree.get(), bits, roots.get(), nullptr, work)) << name;
    EXPECT_EQ(Faults(squareFree.get(), bits, roots.get()), "") << name << " at " << bits << " bits";
}

// Every count of the work exactly the one given.
void ExpectWork(const IsolationWork& work, const IsolationWork& now, const char* name) {
    EXPECT_EQ(std::tuple(work.doubleSteps, work.steps, work.restarts, work.proofs,
                         work.topPrecision, work.topShiftPrecision, work.centreSteps),
              std::tuple(now.doubleSteps, now.steps, now.restarts, now.proofs, now.topPrecision,
                         now.topShiftPrecision, now.centreSteps))
        << name;
}

// Each hard family isolated correctly, with the work of docs/numerics.md: steps, restarts and
// proofs (summed over the family at 15 and 30 digits, the same on every run) and the precisions
// exactly what they are now. A heuristic changed by mistake, or one that stops paying for itself,
// shows here, though the results stay right.
TEST(HardIsolation, EveryMemberOfTheHardFamiliesAtFifteenAndThirtyDigits) {
    using Make = void (*)(fmpz_poly_t, long, long);
    const Make cluster = [](fmpz_poly_t p, long n, long e) { TightCluster(p, n, e, 0); };
    const Make shifted = [](fmpz_poly_t p, long n, long e) { TightCluster(p, n, e, 1); };
    struct Family {
        const char* name;
        std::vector<long> degrees, exponents;
        Make make;
        IsolationWork now;
    };
    const std::vector<long> all = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const Family families[] = {
        {"Mignotte", all, {1, 20, 50}, Mignotte, {2902, 2350, 44, 66, 142, 2720, 296}},
        {"Kameny", all, {1, 20, 50}, Kameny, {3870, 3504, 76, 68, 284, 2720, 624}},
        {"cluster", all, {3, 30}, cluster, {4250, 5293, 29, 55, 284, 2272, 166}},
        {"shifted cluster", all, {30}, shifted, {2068, 2952, 22, 22, 142, 2272, 142}},
        {"near-multiple", all, {10, 60, 100}, NearMultiple, {6328, 6263, 44, 78, 284, 568, 139}},
        // Roots 10^±38 are the farthest apart that still start in doubles; 10^±39 do not.
        {"different sizes",
         {6},
         {5, 20, 38, 39, 100},
         DifferentSizes,
         {1032, 2332, 20, 10, 142, 10880, 228}},
        {"nested clusters",
         {4, 6, 8, 12},
         {12, 30, 60, 100},
         NestedClusters,
         {3314, 6215, 88, 32, 142, 5440, 842}},
        {"unequal clusters", all, {3, 10}, UnequalClusters, {4244, 8949, 155, 52, 284, 1360, 1232}},
        {"spread rational", {6}, {5, 20, 100}, SpreadRational, {392, 313, 0, 6, 142, 0, 0}},
        // Coefficients of 2,000 digits: a cluster 10^-7000 wide.
        {"huge Mignotte", {12}, {1000}, Mignotte, {0, 184, 2, 2, 142, 72704, 36}},
    };
    Polynomial f;
    for (const Family& family : families) {
        IsolationWork work;
        for (const long bits : {53, 110})
            for (const long n : family.degrees)
                for (const long e : family.exponents) {
                    family.make(f.get(), n, e);
                    ExpectIsolated(f.get(), bits,
                                   family.name + (" n=" + std::to_string(n)) +
                                       " e=" + std::to_string(e),
                                   &work);
                }
        ExpectWork(work, family.now, family.name);
    }
}

// Random equations isolated correctly, their work summed and held exactly like the families'.
TEST(HardIsolation, RandomEquationsOfEveryDegreeSizeAndPrecision) {
    flint_rand_t state;
    flint_randinit(state);
    IsolationWork work;
    Polynomial f, square;
    fmpz_poly_set_coeff_si(square.get(), 2, 1);
    for (long n = 1; n <= 12; ++n)
        for (const long digits : {1, 3, 25, 1000})
            for (const long bits : {8, 53, 300}) {
                RandomPolynomial(f.get(), n, digits, state);
                // Some even (roots symmetric about 0, some on the imaginary axis), some with a
                // zero root.
                if (2 * n <= 12 && n_randint(state, 3) == 0)
                    fmpz_poly_compose(f.get(), f.get(), square.get());
                if (f.degree() < 12 && n_randint(state, 3) == 0)
                    fmpz_poly_shift_left(f.get(), f.get(), 1);
                ExpectIsolated(f.get(), bits, "random degree " + std::to_string(n), &work);
            }
    flint_randclear(state);
    ExpectWork(work, {5722, 2330, 0, 144, 332, 0, 0}, "random");
}

// The Newton polygon against brute force, on whole heights (exact in doubles): a point is a
// vertex when it lies strictly above every chord over it, the height anywhere is that of the
// highest chord over it; and the log sums against long double arithmetic.
TEST(HardIsolation, NewtonPolygonAndLogSums) {
    const double none = -std::numeric_limits<double>::infinity();
    std::mt19937 random(3);
    std::uniform_int_distribution<int> height(-13, 12);
    for (int run = 0; run < 3000; ++run) {
        std::vector<double> logs(static_cast<std::size_t>(1 + run % 13));
        std::vector<long> finite;
        std::vector<int> vertices, hull(logs.size());
        for (long k = 0; k < static_cast<long>(logs.size()); ++k) {
            const int h = height(random);
            logs[k] = h < -12 + run % 3 ? none : h;
            if (logs[k] != none)
                finite.push_back(k);
        }
        const auto below = [&](long i, long k, long j) { // (k, logs[k]) on or below the chord i–j
            return (logs[k] - logs[i]) * double(j - i) <= (logs[j] - logs[i]) * double(k - i);
        };
        for (const long k : finite)
            if (std::none_of(finite.begin(), finite.end(), [&](long i) {
                    return std::any_of(finite.begin(), finite.end(),
                                       [&](long j) { return i < k && k < j && below(i, k, j); });
                }))
                vertices.push_back(static_cast<int>(k));
        hull.resize(static_cast<std::size_t>(UpperHull(logs, hull)));
        ASSERT_EQ(hull, vertices) << run;
        for (long k = 0; k < static_cast<long>(logs.size()); ++k) {
            double highest = none;
            for (const long i : finite)
                for (const long j : finite)
                    if (i <= k && k <= j)
                        highest =
                            std::max(highest, i == j ? logs[i]
                                                     : logs[i] + (logs[j] - logs[i]) *
                                                                     double(k - i) / double(j - i));
            const double got = HullHeight(logs, vertices, k);
            EXPECT_TRUE(got == highest || std::fabs(got - highest) < 1e-12) << run << " at " << k;
        }
        const double a = logs[0] / 3, b = height(random) / 7.0;
        const long double sum = std::exp2l(a) + std::exp2l(b),
                          difference = std::exp2l(a) - std::exp2l(b);
        EXPECT_NEAR(LogAdd(a, b), static_cast<double>(std::log2l(sum)), 1e-12);
        EXPECT_EQ(LogAdd(none, b), b);
        if (difference > 0)
            EXPECT_NEAR(LogSub(a, b), static_cast<double>(std::log2l(difference)), 1e-9);
        else
            EXPECT_EQ(LogSub(a, b), none);
    }
    // Nothing and nothing: nothing, not NaN; and a size less itself is nothing.
    EXPECT_EQ(std::tuple(LogAdd(none, none), LogSub(none, none), LogSub(3, 3)),
              std::tuple(none, none, none));
}

TEST(HardIsolation, LowDegreesExactRootsAndNarrowBalls) {
    Polynomial f;
    for (const char* text : {"2  -3 1", "2  1 3", "2  0 7", "3  1 0 1", "3  0 0 -2", "4  0 -6 1 1",
                             "5  -1 0 0 0 1", "4  -1 0 0 8", "3  0 2 1",
                             // A pair close to the axis: each root's nearest neighbour is its
                             // conjugate.
                             "3  10001 -200 1"}) {
        fmpz_poly_set_str(f.get(), text);
        for (const long bits : {1, 53, 200})
            ExpectIsolated(f.get(), bits, text);
    }
    // Clusters when many bits are asked. Past 1,024 bits P starts there and doubles: proofs at
    // 1,024, 2,048 and 4,096 bits.
    Mignotte(f.get(), 12, 20);
    IsolationWork work;
    ExpectIsolated(f.get(), 2000, "Mignotte", &work);
    EXPECT_EQ(work.proofs, 3);
    EXPECT_EQ(work.topPrecision, 4096);
    NearMultiple(f.get(), 5, 100);
    ExpectIsolated(f.get(), 700, "near-multiple");
}

// Factors symmetric about the mean of their roots, isolated through the polynomial in t²: each
// listed root's ball within 2^-bits of its size and around a true root, and on the line
// Re x = b the real part b exactly.
TEST(HardIsolation, SymmetricFactorsToTheAskedAccuracy) {
    Polynomial f;
    Balls truth(4);
    Rational re;
    for (const char* text : {"5  941 -1240 648 -160 16", // (2x − 5)⁴ + 12(2x − 5)² + 16
                             "5  1 0 -10 0 1",           // ±√2 ± √3
                             "5  37 -24 40 -32 16"}) {   // (2x − 1)⁴ + 4(2x − 1)² + 32
        fmpz_poly_set_str(f.get(), text);
        IsolateRoots(f.get(), 2000, truth.get(), nullptr);
        IsolatedFactor factor(f.get());
        for (const long bits : {53, 400}) {
            ASSERT_TRUE(factor.Isolate(bits, nullptr));
            for (long i = 0; i < factor.count(); ++i) {
                const acb_srcptr z = factor.root(i);
                EXPECT_TRUE(Narrow(z, bits)) << text << " at " << bits;
                EXPECT_TRUE(acb_overlaps(z, truth[0]) || acb_overlaps(z, truth[1]) ||
                            acb_overlaps(z, truth[2]) || acb_overlaps(z, truth[3]))
                    << text;
                arf_get_fmpq(re.get(), arb_midref(acb_realref(z)));
                EXPECT_TRUE(!factor.onAxis(i) ||
                            (arb_is_exact(acb_realref(z)) && fmpq_equal(re.get(), factor.shift())))
                    << text;
            }
        }
    }
}

TEST(HardIsolation, AStopIsSeenBeforeAndDuringTheWork) {
    Polynomial f;
    Mignotte(f.get(), 12, 20000); // about a second of work
    Balls roots(12);
    std::atomic<bool> stop{true};
    EXPECT_FALSE(IsolateRoots(f.get(), 53, roots.get(), &stop));

    stop = false;
    bool found = true;
    std::chrono::steady_clock::time_point returned;
    std::thread solver([&] {
        found = IsolateRoots(f.get(), 53, roots.get(), &stop);
        returned = std::chrono::steady_clock::now();
        flint_cleanup(); // what FLINT keeps for this thread
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto stopped = std::chrono::steady_clock::now();
    stop = true;
    solver.join();
    EXPECT_FALSE(found);
    EXPECT_LT(returned - stopped, std::chrono::milliseconds(500));
}

} // namespace
} // namespace valdrex
