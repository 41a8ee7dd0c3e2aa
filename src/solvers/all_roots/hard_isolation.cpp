// Root isolation for the equations the double path cannot certify: clusters, huge or tiny roots,
// coefficients of any size. Part of the enclosure phase: enclosures.cpp rounds these balls.
//
// Method. Aberth–Ehrlich iteration on midpoints at a working precision P, started on circles
// whose radii come from the Newton polygon of the coefficients. A group of approximations that
// converges to a cluster of m roots only gains a constant factor per sweep, so once such a group
// stands apart from the others it is restarted: Newton's method on p^(m−1) finds a point c
// within about the cluster's width of it, the Newton polygon of p(c + y) gives the moduli of
// its m roots about c, and the m approximations start again on those circles. P doubles when
// the evaluation noise hides the cluster (p(c) not known to a bit) and when the proof fails;
// the frames are then dropped, and the clusters restart at the new P.
//
// Guarantee. Nothing the iteration does is trusted: with the approximations made symmetric
// about the real axis, every ball comes from the inclusion test below, computed in ball
// arithmetic from the exact coefficients. For distinct z_1..z_n, Lagrange interpolation gives
//   p(z) = a_n Π_k (z − z_k) (1 + Σ_j w_j / (z − z_j)),  w_j = p(z_j) / (a_n Π_{k≠j} (z_j − z_k)),
// so on the circle |z − (z_i − w_i)| = R the function p(z) / (a_n Π_{j≠i} (z − z_j)) differs from
// z − (z_i − w_i) by at most (R + |w_i|) σ_i, σ_i = Σ_{j≠i} |w_j| / (|z_i − z_j| − |w_i| − R).
// With σ_i ≤ 1/4 computed for R = |w_i|, any R > |w_i| σ_i / (1 − σ_i) makes that difference
// smaller than R, and by Rouché's theorem the disc holds exactly one root (no z_j lies inside).
// n pairwise disjoint discs then hold the n roots one each. A disc centred on the real axis
// holds a real root (its conjugate is in the same disc); an upper one that misses the axis
// holds a non-real root, and its mirror image the conjugate.
#include "solvers/all_roots/enclosures.h"
#include "solvers/all_roots/iteration.h"

#include <acb_poly.h>
#include <arb_poly.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <memory>
#include <numbers>
#include <numeric>
#include <vector>

namespace valdrex {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Sweeps of one precision before the proof is tried anyway.
constexpr long kMaxSweeps = 200;
// Sweeps after which a group that still moves counts as a cluster too.
constexpr long kPatientSweeps = 16;
// Sweeps in hardware doubles before the big numbers take over.
constexpr long kDoubleSweeps = 60;

// The angle of the k-th of `count` starting points on the circle of the Newton polygon's edge e:
// evenly spread, and turned further for each edge so that the circles' points do not line up.
double StartAngle(long k, long count, std::size_t e) {
    return 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(count) + 0.4 +
           1.3 * static_cast<double>(e);
}

struct Acb : Owned<acb_struct> {
    operator acb_ptr() { return get(); }
};

struct Arb : Owned<arb_struct> {
    operator arb_ptr() { return get(); }
};

struct Mag {
    Mag() { mag_init(v); }
    Mag(const Mag& other) {
        mag_init(v);
        mag_set(v, other.v);
    }
    Mag& operator=(const Mag& other) {
        mag_set(v, other.v);
        return *this;
    }
    ~Mag() { mag_clear(v); }
    operator mag_ptr() { return v; }
    operator mag_srcptr() const { return v; }
    mag_t v;
};

// log2 of a bound, for the heuristics (exponents of any size fit a double well enough).
double Log2(mag_srcptr m) {
    if (mag_is_zero(m))
        return -kInfinity;
    if (mag_is_inf(m))
        return kInfinity;
    return static_cast<double>(fmpz_get_si(MAG_EXPREF(m))) +
           std::log2(static_cast<double>(MAG_MAN(m))) - MAG_BITS;
}

double Log2Abs(const acb_t x) {
    Mag m;
    acb_get_mag(m, x);
    return Log2(m);
}

// True when x is below 16 times its own rounding error: rounding decides even its sign, so no
// step taken from it can be trusted.
bool WithinNoise(const acb_t x) {
    Mag size, error;
    acb_get_mag(size, x);
    mag_hypot(error, arb_radref(acb_realref(x)), arb_radref(acb_imagref(x)));
    mag_mul_2exp_si(error, error, 5);
    return mag_cmp(size, error) <= 0;
}

// True when a step moves x by less than 2^8 units of its last place at `precision`: as far as
// that precision can tell, x has stopped moving.
bool Negligible(const acb_t step, const acb_t x, long precision) {
    return Log2Abs(step) < Log2Abs(x) - static_cast<double>(precision - 8);
}

} // namespace

double LogAdd(double a, double b) {
    const double hi = std::max(a, b), lo = std::min(a, b);
    return hi == -kInfinity ? hi : hi + std::log2(1 + std::exp2(lo - hi));
}
double LogSub(double a, double b) {
    return b >= a ? -kInfinity : a + std::log2(1 - std::exp2(b - a));
}

double HullHeight(const std::vector<double>& logs, const std::vector<int>& hull, long k) {
    for (std::size_t v = 0; v + 1 < hull.size(); ++v)
        if (hull[v] <= k && k <= hull[v + 1])
            return logs[hull[v]] + (logs[hull[v + 1]] - logs[hull[v]]) *
                                       static_cast<double>(k - hull[v]) /
                                       static_cast<double>(hull[v + 1] - hull[v]);
    return hull.size() == 1 && hull[0] == k ? logs[k] : -kInfinity;
}

namespace {

// The vertices of the Newton polygon of `logs`.
std::vector<int> HullOf(const std::vector<double>& logs) {
    std::vector<int> hull(logs.size());
    hull.resize(static_cast<std::size_t>(UpperHull(logs, hull)));
    return hull;
}

double Log2(const fmpz_t x) {
    if (fmpz_is_zero(x))
        return -kInfinity;
    long exponent = 0;
    const double mantissa = fmpz_get_d_2exp(&exponent, x);
    return std::log2(std::fabs(mantissa)) + static_cast<double>(exponent);
}

// A polynomial in local coordinates: the approximations near `centre` iterate on
// q(y) = p(centre + y), whose coefficients are known to the working precision relative to their
// Newton polygon, so that a cluster is resolved at the working precision however tight it is.
struct Frame {
    explicit Frame(long n) : coeffs(n + 1) {}
    Acb centre;   // exact
    Balls coeffs; // q, rounded to the working precision
};

class Isolator {
  public:
    Isolator(const fmpz_poly_t p, long relativeBits, const std::atomic<bool>* stop,
             IsolationWork& work)
        : p_(p), n_(fmpz_poly_degree(p)), bits_(relativeBits), stop_(stop), work_(work), z_(n_),
          y_(n_), frameOf_(n_), done_(n_), logValue_(n_, kInfinity), logRadius_(n_, kInfinity),
          logDistance_(n_ * n_), restartScale_(n_, kInfinity) {
        // A bound far beyond the precision any cluster of p can need: its roots are at least
        // about H^-(n−1) apart for coefficients of H bits.
        const long heightBits = std::labs(fmpz_poly_max_bits(p));
        maxShiftPrecision_ = (n_ * n_ + 1) * (heightBits + 2 * n_ + 16) + 4096;
    }

    bool Run(acb_ptr out);

  private:
    enum class Proof { NotIsolated, TooWide, Done };

    bool Stopped() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }
    bool EvaluateWithSlope(acb_t value, acb_t slope, acb_srcptr p, long length, const acb_t x,
                           long precision) const;
    void RoundCoefficients(acb_ptr coeffs, long precision) const;
    void SetPrecision(long precision);
    bool BuildFrame(Frame& frame, long members, long startPrecision);
    bool Known(acb_srcptr q, std::vector<double>& logs) const;
    void SetLocal(long i, const acb_t local);
    double PlaceOnCircles(long frame, const std::vector<double>& logs,
                          const std::vector<long>& targets);
    bool StartInDoubles(const std::vector<double>& logs);
    bool Iterate();
    void Update(long i);
    void MeasureInclusion();
    void RestartClusters(long sweep);
    void Restart(const std::vector<long>& members, const acb_t centroid, double logSize);
    bool Symmetrize();
    Proof Certify(acb_ptr out);

    const fmpz_poly_struct* p_;
    long n_, bits_;
    const std::atomic<bool>* stop_;
    IsolationWork& work_;
    long precision_; // the working precision, set by Run
    long maxShiftPrecision_;
    std::vector<std::unique_ptr<Frame>> frames_; // frames_[0]: p itself about 0
    Balls z_;                                    // the approximations, exact points
    Balls y_;                                    // the same about their frame's centre
    std::vector<long> frameOf_;
    std::vector<char> done_;
    std::vector<double> logValue_;     // log2 of a bound on |p(z_i)| at the last evaluation
    std::vector<double> logRadius_;    // log2 of n |w_i|: the union of these discs holds the roots
    std::vector<double> logDistance_;  // log2 |z_i − z_j|
    std::vector<double> restartScale_; // log2 of the circle z_i last restarted on
    long reals_;                       // set by Symmetrize: z_[0..reals_) real, then pairs
};

void Isolator::RoundCoefficients(acb_ptr coeffs, long precision) const {
    for (long k = 0; k <= n_; ++k) {
        arb_set_round_fmpz(acb_realref(coeffs + k), p_->coeffs + k, precision);
        arb_zero(acb_imagref(coeffs + k));
    }
}

void Isolator::SetPrecision(long precision) {
    precision_ = precision;
    work_.topPrecision = std::max(work_.topPrecision, precision);
    // The frames were shifted for the old precision: every approximation goes back to p itself,
    // and the sweeps restart the clusters that still need frames at the new one.
    frames_.resize(1);
    if (!frames_[0])
        frames_[0] = std::make_unique<Frame>(n_);
    RoundCoefficients(frames_[0]->coeffs.get(), precision);
    for (long i = 0; i < n_; ++i) {
        frameOf_[i] = 0;
        acb_set(y_[i], z_[i]);
    }
    std::fill(restartScale_.begin(), restartScale_.end(), kInfinity);
    std::fill(done_.begin(), done_.end(), 0);
}

// Whether q = p(c + y), computed in ball arithmetic, is known to the working precision: each
// coefficient's error at most 2^-precision_ of the Newton polygon's height there. q(0) may be
// lost in the noise if that noise is that small beside the polygon of the others extended to 0
// (a root within that distance of c). Fills `logs` with log2 |q_k| (−inf for q(0) in the
// noise).
bool Isolator::Known(acb_srcptr q, std::vector<double>& logs) const {
    Mag size, error;
    std::vector<double> logErrors(n_ + 1);
    for (long k = 0; k <= n_; ++k) {
        acb_get_mag(size, q + k);
        mag_hypot(error, arb_radref(acb_realref(q + k)), arb_radref(acb_imagref(q + k)));
        logs[k] = Log2(size);
        logErrors[k] = Log2(error);
    }
    std::vector<double> heights(logs);
    heights[0] = -kInfinity;
    const std::vector<int> inner = HullOf(heights);
    if (inner.size() >= 2)
        heights[0] = logs[inner[0]] - (logs[inner[1]] - logs[inner[0]]) /
                                          static_cast<double>(inner[1] - inner[0]) *
                                          static_cast<double>(inner[0]);
    heights[0] = std::max(heights[0], logs[0]);
    const std::vector<int> hull = HullOf(heights);
    for (long k = 0; k <= n_; ++k)
        if (logErrors[k] > HullHeight(heights, hull, k) - static_cast<double>(precision_))
            return false;
    if (acb_contains_zero(q))
        logs[0] = -kInfinity;
    return true;
}

// p(x) and p'(x) by Horner's scheme, watching for a stop between steps: at the precision of the
// tightest clusters one product takes tens of milliseconds. False when stopped.
bool Isolator::EvaluateWithSlope(acb_t value, acb_t slope, acb_srcptr p, long length, const acb_t x,
                                 long precision) const {
    acb_set(value, p + length - 1);
    acb_zero(slope);
    for (long k = length - 2; k >= 0; --k) {
        if (Stopped())
            return false;
        acb_mul(slope, slope, x, precision);
        acb_add(slope, slope, value, precision);
        acb_mul(value, value, x, precision);
        acb_add(value, value, p + k, precision);
    }
    return true;
}

// Computes the frame's q, raising the shift's precision until q is known well enough. The
// centre first moves, by Newton's method at that precision, to the root of p^(members − 1)
// nearest to it (members >= 2). False when stopped or given up.
bool Isolator::BuildFrame(Frame& frame, long members, long startPrecision) {
    Balls exact(n_ + 1), derivative(n_ + 1);
    Acb value, slope, step;
    std::vector<double> logs(n_ + 1);
    const long first = std::max(startPrecision, precision_);
    for (long precision = first; precision <= std::max(first, maxShiftPrecision_); precision *= 2) {
        if (Stopped())
            return false;
        RoundCoefficients(exact.get(), precision);
        _acb_vec_set(derivative.get(), exact.get(), n_ + 1);
        for (long k = 1; k < members; ++k)
            _acb_poly_derivative(derivative.get(), derivative.get(), n_ + 2 - k, precision);
        for (int iteration = 0; iteration < 100; ++iteration) {
            ++work_.centreSteps;
            if (!EvaluateWithSlope(value, slope, derivative.get(), n_ + 2 - members, frame.centre,
                                   precision))
                return false;
            if (WithinNoise(value) || acb_contains_zero(slope))
                break;
            acb_div(step, value, slope, precision);
            acb_sub(frame.centre, frame.centre, step, precision);
            acb_get_mid(frame.centre, frame.centre);
            if (Negligible(step, frame.centre, precision))
                break;
        }
        // q(y) = p(c + y) by Horner's scheme, watching for a stop between products: one takes
        // tens of milliseconds at the precision of the tightest clusters.
        for (long i = 0; i < n_; ++i)
            for (long j = n_ - 1; j >= i; --j) {
                if (Stopped())
                    return false;
                acb_addmul(exact[j], exact[j + 1], frame.centre, precision);
            }
        if (!Known(exact.get(), logs))
            continue;
        for (long k = 0; k <= n_; ++k)
            acb_set_round(frame.coeffs[k], exact[k], precision_);
        work_.topShiftPrecision = std::max(work_.topShiftPrecision, precision);
        return true;
    }
    return false;
}

// y_i = local, z_i = its frame's centre + local, exactly.
void Isolator::SetLocal(long i, const acb_t local) {
    acb_set(y_[i], local);
    acb_add(z_[i], frames_[frameOf_[i]]->centre, y_[i], ARF_PREC_EXACT);
}

// The targets start on the circles about the frame's centre that the Newton polygon of the logs
// gives, in order from the smallest, at angles spread over each circle and turned from one
// circle to the next. Returns log2 of the largest radius used.
double Isolator::PlaceOnCircles(long frame, const std::vector<double>& logs,
                                const std::vector<long>& targets) {
    const std::vector<int> hull = HullOf(logs);
    std::size_t next = 0;
    double largest = -kInfinity;
    Acb point;
    for (std::size_t e = 0; e + 1 < hull.size(); ++e) {
        const long count = hull[e + 1] - hull[e];
        const double logRadius = (logs[hull[e]] - logs[hull[e + 1]]) / static_cast<double>(count);
        const double whole = std::floor(logRadius);
        const double scale = std::exp2(logRadius - whole);
        for (long k = 0; k < count && next < targets.size(); ++k) {
            const double angle = StartAngle(k, count, e);
            arb_set_d(acb_realref(point.get()), scale * std::cos(angle));
            arb_set_d(acb_imagref(point.get()), scale * std::sin(angle));
            acb_mul_2exp_si(point, point, static_cast<long>(whole));
            frameOf_[targets[next]] = frame;
            SetLocal(targets[next], point);
            largest = logRadius;
            ++next;
        }
    }
    return largest;
}

// Starting approximations from Aberth–Ehrlich sweeps in hardware doubles on
// b(y) = p(2^u y) / 2^s, when the values of that polynomial over the annulus of the roots (from
// the Newton polygon) fit doubles: then no partial sum of Horner's scheme can overflow and what
// underflows is negligible. The approximations come out as accurate as doubles and the
// conditioning allow, and the big-number sweeps only finish them. False, with nothing set, when
// the range does not fit or a step fails.
bool Isolator::StartInDoubles(const std::vector<double>& logs) {
    const std::vector<int> hull = HullOf(logs);
    std::vector<double> radii;
    for (std::size_t e = 0; e + 1 < hull.size(); ++e)
        radii.push_back((logs[hull[e]] - logs[hull[e + 1]]) /
                        static_cast<double>(hull[e + 1] - hull[e]));
    const auto [low, high] = std::minmax_element(radii.begin(), radii.end());
    const double u = std::round((*low + *high) / 2);
    // log2 of the largest term of p at |x| = 2^t: convex in t, so its extremes over the annulus
    // lie at the ends and at the polygon's radii.
    const auto largestTerm = [&](double t) {
        double largest = -kInfinity;
        for (long k = 0; k <= n_; ++k)
            largest = std::max(largest, logs[k] + static_cast<double>(k) * t);
        return largest;
    };
    const double inner = largestTerm(*low - 2), outer = largestTerm(*high + 2);
    double smallest = std::min(inner, outer);
    for (const double r : radii)
        smallest = std::min(smallest, largestTerm(r));
    const double largest = std::max(inner, outer);
    if (largest - smallest > 1600)
        return false;
    const double s = std::round((largest + smallest) / 2);
    std::vector<double> b(n_ + 1);
    for (long k = 0; k <= n_; ++k) {
        if (logs[k] == -kInfinity)
            continue;
        const double exponent = logs[k] + static_cast<double>(k) * u - s;
        if (exponent < -1000 || exponent > 900)
            return false;
        long e = 0;
        const double mantissa = fmpz_get_d_2exp(&e, p_->coeffs + k);
        b[k] = std::ldexp(
            mantissa, static_cast<int>(static_cast<double>(e) + static_cast<double>(k) * u - s));
    }
    using Complex = std::complex<double>;
    std::vector<Complex> y(n_);
    std::size_t next = 0;
    for (std::size_t e = 0; e < radii.size(); ++e)
        for (long k = hull[e]; k < hull[e + 1]; ++k)
            y[next++] = std::polar(std::exp2(radii[e] - u),
                                   StartAngle(k - hull[e], hull[e + 1] - hull[e], e));
    std::vector<char> settled(n_);
    for (long sweep = 0; sweep < kDoubleSweeps; ++sweep) {
        bool moved = false;
        for (long i = 0; i < n_; ++i) {
            if (settled[i])
                continue;
            ++work_.doubleSteps;
            Complex value = b[n_], slope = 0;
            double bound = std::abs(b[n_]);
            for (long k = n_ - 1; k >= 0; --k) {
                slope = slope * y[i] + value;
                value = value * y[i] + b[k];
                bound = bound * std::abs(y[i]) + std::abs(b[k]);
            }
            // Within the rounding of Horner's scheme: as good as doubles get.
            if (std::abs(value) <= 0x1p-50 * static_cast<double>(n_) * bound) {
                settled[i] = 1;
                continue;
            }
            const Complex newton = value / slope;
            Complex sum = 0;
            for (long j = 0; j < n_; ++j)
                if (j != i)
                    sum += 1.0 / (y[i] - y[j]);
            const Complex step = newton / (1.0 - newton * sum);
            if (!std::isfinite(step.real()) || !std::isfinite(step.imag()))
                return false;
            y[i] -= step;
            settled[i] = std::abs(step) <= 0x1p-50 * std::abs(y[i]);
            moved = true;
        }
        if (!moved)
            break;
    }
    Acb point;
    for (long i = 0; i < n_; ++i) {
        if (!std::isfinite(std::abs(y[i])))
            return false;
        acb_set_d_d(point, y[i].real(), y[i].imag());
        acb_mul_2exp_si(point, point, static_cast<long>(u));
        frameOf_[i] = 0;
        SetLocal(i, point);
    }
    return true;
}

// One Aberth–Ehrlich step for z_i: z_i − N / (1 − N Σ_{j≠i} 1/(z_i − z_j)), N = p(z_i)/p'(z_i),
// with p evaluated in z_i's frame. A root is done at this precision when p(z_i) is lost in the
// rounding of its evaluation, or when the step no longer changes y_i within the precision.
void Isolator::Update(long i) {
    ++work_.steps;
    Acb value, slope, sum, t;
    _acb_poly_evaluate2_horner(value, slope, frames_[frameOf_[i]]->coeffs.get(), n_ + 1, y_[i],
                               precision_);
    logValue_[i] = Log2Abs(value);
    if (WithinNoise(value)) {
        done_[i] = 1;
        return;
    }
    acb_get_mid(value, value);
    acb_get_mid(slope, slope);
    acb_div(value, value, slope, precision_);
    for (long j = 0; j < n_; ++j) {
        if (j == i)
            continue;
        acb_sub(t, z_[i], z_[j], precision_);
        acb_inv(t, t, precision_);
        acb_add(sum, sum, t, precision_);
    }
    acb_mul(t, value, sum, precision_);
    acb_sub_ui(t, t, 1, precision_);
    acb_neg(t, t);
    acb_div(t, value, t, precision_);
    if (!acb_is_finite(t)) {
        // A critical point, or two equal approximations: step aside by a small relative amount.
        acb_mul_2exp_si(t, acb_is_zero(y_[i]) ? z_[i] : y_[i], -precision_ / 2);
        acb_mul_onei(t, t);
    }
    acb_sub(value, y_[i], t, precision_);
    acb_get_mid(value, value);
    SetLocal(i, value);
    if (Negligible(t, y_[i], precision_))
        done_[i] = 1;
}

// Distances between the approximations and each one's inclusion radius n |w_i|, from the last
// values of p: every root lies in the union of these discs, and a connected group of m of them
// holds m roots.
void Isolator::MeasureInclusion() {
    Acb t;
    for (long i = 0; i < n_; ++i)
        for (long j = i + 1; j < n_; ++j) {
            acb_sub(t, z_[i], z_[j], precision_);
            logDistance_[i * n_ + j] = logDistance_[j * n_ + i] = Log2Abs(t);
        }
    const double logLead = Log2(p_->coeffs + n_) - std::log2(static_cast<double>(n_));
    for (long i = 0; i < n_; ++i) {
        double logProduct = logLead;
        for (long j = 0; j < n_; ++j)
            if (j != i)
                logProduct += logDistance_[i * n_ + j];
        logRadius_[i] = logValue_[i] - logProduct;
    }
}

// Groups of overlapping inclusion discs that stand well apart from the other approximations,
// whose members are done (or have had time to be), are clusters: restart each.
void Isolator::RestartClusters(long sweep) {
    std::vector<long> group(n_);
    std::iota(group.begin(), group.end(), 0);
    const auto find = [&](long i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    for (long i = 0; i < n_; ++i)
        for (long j = i + 1; j < n_; ++j)
            if (logDistance_[i * n_ + j] <= LogAdd(logRadius_[i], logRadius_[j]))
                group[find(i)] = find(j);
    Acb centroid, t;
    for (long root = 0; root < n_; ++root) {
        if (find(root) != root)
            continue;
        std::vector<long> members;
        for (long i = 0; i < n_; ++i)
            if (find(i) == root)
                members.push_back(i);
        const bool settled =
            std::all_of(members.begin(), members.end(), [&](long i) { return done_[i] != 0; });
        if (members.size() < 2 || (!settled && sweep < kPatientSweeps))
            continue;
        acb_zero(centroid);
        for (long i : members)
            acb_add(centroid, centroid, z_[i], ARF_PREC_EXACT);
        acb_div_ui(centroid, centroid, members.size(), 4 * precision_);
        acb_get_mid(centroid, centroid);
        double logSize = -kInfinity, logGap = kInfinity;
        for (long i = 0; i < n_; ++i) {
            acb_sub(t, z_[i], centroid, precision_);
            if (find(i) == root)
                logSize = std::max(logSize, LogAdd(Log2Abs(t), logRadius_[i]));
            else
                logGap = std::min(logGap, LogSub(Log2Abs(t), logRadius_[i]));
        }
        // Apart by four times its size, and four times smaller than the last restart's circles.
        const bool apart = logSize + 2 < logGap;
        const bool smaller = std::all_of(members.begin(), members.end(),
                                         [&](long i) { return logSize + 2 < restartScale_[i]; });
        if (apart && smaller)
            Restart(members, centroid, logSize);
    }
}

// Restarts a cluster of m approximations in a frame about the root of p^(m−1) near their
// centroid, on the circles of that frame's Newton polygon.
void Isolator::Restart(const std::vector<long>& members, const acb_t centroid, double logSize) {
    ++work_.restarts;
    for (long i : members)
        restartScale_[i] = logSize;
    auto frame = std::make_unique<Frame>(n_);
    acb_set(frame->centre, centroid);
    const long m = static_cast<long>(members.size());
    if (!BuildFrame(*frame, m, 2 * precision_))
        return;
    std::vector<double> logs(n_ + 1);
    for (long k = 0; k <= n_; ++k)
        logs[k] = Log2Abs(frame->coeffs[k]);
    if (acb_contains_zero(frame->coeffs[0]))
        logs[0] = -kInfinity;
    frames_.push_back(std::move(frame));
    const long f = static_cast<long>(frames_.size()) - 1;
    std::vector<long> targets(members);
    if (logs[0] == -kInfinity) {
        // One root within the noise of the centre: it starts there.
        Acb zero;
        frameOf_[targets.back()] = f;
        SetLocal(targets.back(), zero);
        targets.pop_back();
    }
    const double scale = PlaceOnCircles(f, logs, targets);
    for (long i : members) {
        done_[i] = 0;
        restartScale_[i] = scale;
    }
}

// Sweeps at the current precision until every root is done; false when stopped.
bool Isolator::Iterate() {
    for (long sweep = 0;; ++sweep) {
        if (Stopped())
            return false;
        for (long i = 0; i < n_; ++i) {
            if (Stopped())
                return false;
            if (!done_[i])
                Update(i);
        }
        MeasureInclusion();
        RestartClusters(sweep);
        if (sweep >= kMaxSweeps ||
            std::all_of(done_.begin(), done_.end(), [](char d) { return d != 0; }))
            return true;
    }
}

// Makes the approximations symmetric about the real axis: those whose inclusion disc reaches
// the axis become real, the others are paired with their nearest mirror images. False when they
// do not pair up. Reals come first, then each upper point and its conjugate.
bool Isolator::Symmetrize() {
    Acb t, value, slope;
    for (long i = 0; i < n_; ++i) {
        _acb_poly_evaluate2_horner(value, slope, frames_[frameOf_[i]]->coeffs.get(), n_ + 1, y_[i],
                                   precision_);
        logValue_[i] = Log2Abs(value);
    }
    MeasureInclusion();
    std::vector<long> reals, uppers, lowers;
    for (long i = 0; i < n_; ++i) {
        Mag im;
        arb_get_mag(im, acb_imagref(z_[i]));
        if (Log2(im) <= logRadius_[i])
            reals.push_back(i);
        else if (arb_is_positive(acb_imagref(z_[i])))
            uppers.push_back(i);
        else
            lowers.push_back(i);
    }
    if (uppers.size() != lowers.size())
        return false;
    std::vector<std::pair<long, long>> pairs;
    for (long u : uppers) {
        // Its partner: the lower point not yet paired whose mirror image is nearest.
        const auto fromMirror = [&](long l) {
            acb_conj(t, z_[l]);
            acb_sub(t, z_[u], t, precision_);
            return Log2Abs(t);
        };
        const auto nearest = std::min_element(lowers.begin(), lowers.end(), [&](long a, long b) {
            return fromMirror(a) < fromMirror(b);
        });
        if (fromMirror(*nearest) > LogAdd(logRadius_[u], logRadius_[*nearest]))
            return false;
        pairs.emplace_back(u, *nearest);
        lowers.erase(nearest);
    }
    Balls old(n_);
    _acb_vec_set(old.get(), z_.get(), n_);
    const std::vector<long> oldFrame(frameOf_);
    const std::vector<char> oldDone(done_);
    const std::vector<double> oldScale(restartScale_);
    const auto move = [&](long to, long from, const acb_t point) {
        frameOf_[to] = oldFrame[from];
        done_[to] = oldDone[from];
        restartScale_[to] = oldScale[from];
        acb_set(z_[to], point);
        acb_sub(y_[to], z_[to], frames_[frameOf_[to]]->centre, ARF_PREC_EXACT);
    };
    long k = 0;
    for (long i : reals) {
        acb_set_arb(t, acb_realref(old[i]));
        move(k++, i, t);
    }
    for (const auto& [u, l] : pairs) {
        acb_conj(t, old[l]);
        acb_add(t, t, old[u], ARF_PREC_EXACT);
        acb_mul_2exp_si(t, t, -1);
        move(k, u, t);
        acb_conj(t, t);
        move(k + 1, l, t);
        k += 2;
    }
    reals_ = static_cast<long>(reals.size());
    return true;
}

// The inclusion test on the symmetric approximations (see the top of the file).
Isolator::Proof Isolator::Certify(acb_ptr out) {
    const long prec = precision_;
    Balls w(n_), balls(n_);
    std::vector<Mag> wBound(n_);
    Acb t, value, product;
    Arb x, s;
    for (long i = 0; i < n_; i += i < reals_ ? 1 : 2) {
        _acb_poly_evaluate_horner(value, frames_[frameOf_[i]]->coeffs.get(), n_ + 1, y_[i], prec);
        if (i < reals_) {
            // Real arithmetic keeps w_i, and with it the disc's centre, exactly real: its
            // imaginary part stays the 0 the vector was made with.
            const arb_srcptr xi = acb_realref(z_[i]);
            arb_set(s, acb_realref(frames_[0]->coeffs[n_]));
            for (long j = 0; j < n_; j += j < reals_ ? 1 : 2) {
                if (j == i)
                    continue;
                arb_sub(x, xi, acb_realref(z_[j]), prec);
                if (j >= reals_) {
                    arb_sqr(x, x, prec);
                    arb_addmul(x, acb_imagref(z_[j]), acb_imagref(z_[j]), prec);
                }
                arb_mul(s, s, x, prec);
            }
            arb_div(acb_realref(w[i]), acb_realref(value.get()), s, prec);
        } else {
            acb_set(product, frames_[0]->coeffs[n_]);
            for (long j = 0; j < n_; ++j) {
                if (j == i)
                    continue;
                acb_sub(t, z_[i], z_[j], prec);
                acb_mul(product, product, t, prec);
            }
            acb_div(w[i], value, product, prec);
            acb_conj(w[i + 1], w[i]);
        }
        if (!acb_is_finite(w[i]))
            return Proof::NotIsolated;
    }
    for (long i = 0; i < n_; ++i)
        acb_get_mag(wBound[i], w[i]);
    Mag sigma, term, gap, twice, quarter, one, radius;
    mag_set_ui_2exp_si(quarter, 1, -2);
    mag_one(one);
    for (long i = 0; i < n_; i += i < reals_ ? 1 : 2) {
        mag_mul_2exp_si(twice, wBound[i], 1);
        mag_zero(sigma);
        for (long j = 0; j < n_; ++j) {
            if (j == i)
                continue;
            acb_sub(t, z_[i], z_[j], prec);
            acb_get_mag_lower(gap, t);
            mag_sub_lower(gap, gap, twice);
            if (mag_is_zero(gap))
                return Proof::NotIsolated;
            mag_div(term, wBound[j], gap);
            mag_add(sigma, sigma, term);
        }
        if (mag_cmp(sigma, quarter) > 0)
            return Proof::NotIsolated;
        // R = |w_i| σ / (1 − σ), rounded up, and a little more for the strict inequality.
        mag_sub_lower(gap, one, sigma);
        mag_mul(term, wBound[i], sigma);
        mag_div(radius, term, gap);
        mag_mul_2exp_si(term, radius, -20);
        mag_add(radius, radius, term);
        // z_i is exact, so the centre's only error is that of w_i.
        acb_sub(balls[i], z_[i], w[i], ARF_PREC_EXACT);
        acb_add_error_mag(balls[i], radius);
        // The mirror image of a disc holds the conjugate root.
        if (i >= reals_)
            acb_conj(balls[i + 1], balls[i]);
    }
    for (long i = 0; i < n_; ++i)
        for (long j = i + 1; j < n_; ++j)
            if (acb_overlaps(balls[i], balls[j]))
                return Proof::NotIsolated;
    // Each ball now holds exactly one root; a real disc's root is real.
    for (long i = 0; i < reals_; ++i)
        arb_zero(acb_imagref(balls[i]));
    Mag width, size;
    for (long i = 0; i < n_; ++i) {
        mag_hypot(width, arb_radref(acb_realref(balls[i])), arb_radref(acb_imagref(balls[i])));
        acb_get_mag_lower(size, balls[i]);
        mag_mul_2exp_si(size, size, -bits_);
        if (mag_cmp(width, size) > 0)
            return Proof::TooWide;
    }
    // Reals in ascending order, then the pairs by their real parts.
    std::vector<long> order;
    for (long i = 0; i < n_; i += i < reals_ ? 1 : 2)
        order.push_back(i);
    const auto less = [&](long a, long b) {
        return arf_cmp(arb_midref(acb_realref(balls[a])), arb_midref(acb_realref(balls[b]))) < 0;
    };
    std::sort(order.begin(), order.begin() + reals_, less);
    std::sort(order.begin() + reals_, order.end(), less);
    long k = 0;
    for (long i : order) {
        acb_set(out + k++, balls[i]);
        if (i >= reals_)
            acb_conj(out + k++, balls[i]);
    }
    return Proof::Done;
}

bool Isolator::Run(acb_ptr out) {
    // Beyond 1,024 bits the sweeps start there and P doubles up to what is asked: most sweeps
    // then run at low precision, and each doubling takes a sweep or two. A part 10^-247,000 of
    // its root's size, which needs some 822,000 bits, took five times as long started at the top.
    SetPrecision(std::max<long>(64, std::min<long>(bits_ + 32, 1024)));
    std::vector<double> logs(n_ + 1);
    for (long k = 0; k <= n_; ++k)
        logs[k] = Log2(p_->coeffs + k);
    std::vector<long> everything(n_);
    std::iota(everything.begin(), everything.end(), 0);
    if (!StartInDoubles(logs))
        PlaceOnCircles(0, logs, everything);
    for (;;) {
        if (!Iterate())
            return false;
        ++work_.proofs;
        if (Symmetrize() && Certify(out) == Proof::Done)
            return true;
        SetPrecision(2 * precision_);
        if (Stopped())
            return false;
    }
}

} // namespace

bool IsolateRoots(const fmpz_poly_t p, long relativeBits, acb_ptr roots,
                  const std::atomic<bool>* stop, IsolationWork* work) {
    IsolationWork unread;
    IsolationWork& counted = work != nullptr ? *work : unread;
    const long n = fmpz_poly_degree(p);
    if (!fmpz_is_zero(p->coeffs))
        return Isolator(p, relativeBits, stop, counted).Run(roots);
    // The root 0 is exact; the others are those of p / x, placed around it in ascending order.
    IntegerPolynomial q;
    fmpz_poly_shift_right(q.get(), p, 1);
    if (n > 1 && !Isolator(q.get(), relativeBits, stop, counted).Run(roots))
        return false;
    long at = 0;
    while (at < n - 1 && arb_is_zero(acb_imagref(roots + at)) &&
           arb_is_negative(acb_realref(roots + at)))
        ++at;
    for (long k = n - 1; k > at; --k)
        acb_swap(roots + k, roots + k - 1);
    acb_zero(roots + at);
    return true;
}

} // namespace valdrex
