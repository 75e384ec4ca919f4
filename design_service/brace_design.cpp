#include "design_service/brace_design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "design_service/result_keys.h"

namespace zorv_service {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSteelDensity = 7.85e-9;   // tonf/mm^3
constexpr double kMortarDensity = 2.3e-9;   // tonf/mm^3
constexpr double kKilonewtonsPerTonf = 9.80665;
constexpr double kPhiYield = 0.9;
constexpr double kPhiRupture = 0.75;
constexpr double kJointAmplification = 1.1;  // joint area over what keeps it just elastic
constexpr double kSlotClearance = 2;         // slot width over the gusset thickness
constexpr double kSlotRunout = 25;           // the slot runs this far past the joint
constexpr double kWeldLines = 8;             // gusset to both ribs and both slot halves, two lines each
constexpr double kWeldDuctility = 1.25;      // gusset interface welds
constexpr double kCasingCover = 15;          // mortar around the widest part inside the casing
constexpr double kCasingSafety = 1.5;        // casing Euler load over the brace's largest force
constexpr double kMiddleClearance = 25;      // brace end corner to the middle gusset's centre line
constexpr double kMinEdge = 10;              // gusset edge beyond the joint when no gap is given
constexpr double kMinCoreRatio = 0.1;        // shortest core, over the work-point length
constexpr double kMaxRatio = 99.99;
constexpr double kPlates[] = {16, 18, 20, 22, 25, 28, 30, 32, 35, 38, 40, 45, 50, 55, 60, 65, 70, 75, 80};
const double kTan30 = std::tan(kPi / 6);

double CeilTo(double x, double step) { return std::ceil(x / step - 1e-9) * step; }
double FloorTo(double x, double step) { return std::floor(x / step + 1e-9) * step; }

double Ratio(double demand, double capacity) {
    if (capacity > 1e-12) return std::min(demand / capacity, kMaxRatio);
    return demand > 0 ? kMaxRatio : 0;
}

// Critical stress of a column of slenderness kl/r (inelastic, then Euler).
double ColumnStress(double slenderness, double fy, double e) {
    if (slenderness < 1e-6) return fy;
    double fe = kPi * kPi * e / (slenderness * slenderness);
    return fy / fe <= 2.25 ? std::pow(0.658, fy / fe) * fy : 0.877 * fe;
}

struct Pt {
    double x = 0, y = 0;
};
Pt operator+(Pt a, Pt b) { return {a.x + b.x, a.y + b.y}; }
Pt operator-(Pt a, Pt b) { return {a.x - b.x, a.y - b.y}; }
Pt operator*(double k, Pt a) { return {k * a.x, k * a.y}; }
double Dot(Pt a, Pt b) { return a.x * b.x + a.y * b.y; }

struct Check {
    double demand = 0, capacity = 0;
    double ratio() const { return Ratio(demand, capacity); }
};

// One end of a brace, in the frame of its gusset plate: the plate's inner
// corner is the origin, the faces run along +x (beam) and +y (column), the
// brace comes in along u from the work point at (-a, -b). The upper plates
// and the middle plate's halves are turned into this frame (see README).
struct EndFrame {
    double a = 0, b = 0;    // work point to the inner corner
    double xc = 0, yc = 0;  // clear lines the brace end must stay beyond, from the work point
    bool middle = false;    // half of a Chevron middle plate: no column, a centre line
    bool auto_size = true;
};

struct Plate {
    double lh = 0, lv = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double Area() const {
        const Pt p[] = {{0, 0}, {0, lv}, {x2, y2}, {x1, y1}, {lh, 0}};
        double twice = 0;
        for (int i = 0; i < 5; ++i) {
            const Pt& a = p[i];
            const Pt& b = p[(i + 1) % 5];
            twice += a.x * b.y - b.x * a.y;
        }
        return std::abs(twice) / 2;
    }
};

// What one end's plate gives: shape, Whitmore line, buckling lines, interface forces.
struct EndResult {
    Plate plate;
    double s0 = 0;                     // work point to the brace end
    std::array<Pt, 6> be_points{};     // work-point frame
    Pt be_from, be_to;                 // the Be line as drawn, clipped to the plate
    double be = 0;                     // its length
    std::array<std::array<Pt, 2>, 3> lines{};
    double l_avg = 0;
    double hb = 0, vb = 0, hc = 0, vc = 0;  // interface forces: beam (along x) and column (along y)
    std::array<Check, 6> connection{};
    double weld_beam = 0, weld_column = 0;
    Check yield, buckling;
};

struct Core {
    double tc = 0, bc = 0, dc = 0, ac = 0;
};

struct Joint {
    double tj = 0, tgs = 0, bj = 0, dj = 0, aj = 0, at = 0, inertia = 0;
};

struct Bolts {
    int n = 0, rows = 2;
    double lbs = 0, wbs = 0;
};

// Everything of one brace.
struct Brace {
    double phi = 0, c = 0, s = 0, lwp = 0;
    Core core;
    Joint joint;
    Bolts bolts;
    double tg = 0, py = 0, tmax = 0, pmax = 0;
    double lw = 0, ln = 0, lx = 0, lt = 0, lc = 0, lbrb = 0, lsc = 0, tw = 0;
    double s0_down = 0, s0_up = 0;
    const CasingSection* casing = nullptr;
    double isc_req = 0, dt_req = 0;
    double keff = 0, q = 0, alpha = 0, theta = 0;
    EndResult down, up;
    std::map<std::string, Check> checks;  // by suffix
    std::vector<std::string> notes;
    bool fits = true;
};

double EndDistance(const EndFrame& end, const Brace& b, double half) {
    double by_column = (end.xc + half * b.s) / b.c;
    double by_beam = (end.yc + half * b.c) / b.s;
    return std::max({0.0, by_column, by_beam});
}

// The plate of an end: its free edge stands square to the brace where the
// gusset tip sits inside the joint (s_tip from the work point) and reaches
// `half` each side of the axis. Forced legs, when larger, widen it.
Plate ShapePlate(const EndFrame& end, const Brace& b, double s_tip, double half, double lh_forced = 0,
                 double lv_forced = 0) {
    Pt tip = {std::max(1.0, s_tip * b.c - end.a), std::max(1.0, s_tip * b.s - end.b)};
    Plate p;
    p.lv = std::max(tip.y + half * b.c, lv_forced);
    p.lh = std::max(tip.x + half * b.s, lh_forced);
    p.x2 = tip.x - (p.lv - tip.y) / b.c * b.s;
    p.y1 = tip.y - (p.lh - tip.x) / b.s * b.c;
    // Keep the free edge inside the faces: a corner cut short stops on the face.
    if (p.x2 < 0) {
        p.x2 = 0;
        p.lv = tip.y + tip.x / b.s * b.c;
    }
    if (p.y1 < 0) {
        p.y1 = 0;
        p.lh = tip.x + tip.y / b.c * b.s;
    }
    p.y2 = p.lv;
    p.x1 = p.lh;
    return p;
}

// Clips the line q + t n, t in [lo, hi], to the plate; false when nothing is left.
bool ClipToPlate(const Plate& p, Pt q, Pt n, Pt tip, Pt u, double& lo, double& hi) {
    // Half-planes k.p + k0 >= 0.
    struct HalfPlane {
        Pt k;
        double k0;
    };
    const HalfPlane planes[] = {
        {{1, 0}, 0}, {{0, 1}, 0}, {{0, -1}, p.lv}, {{-1, 0}, p.lh}, {{-u.x, -u.y}, Dot(u, tip)},
    };
    for (const HalfPlane& h : planes) {
        double at_q = Dot(h.k, q) + h.k0;
        double slope = Dot(h.k, n);
        if (std::abs(slope) < 1e-12) {
            if (at_q < 0) return false;
            continue;
        }
        double t = -at_q / slope;
        if (slope > 0) lo = std::max(lo, t);
        else hi = std::min(hi, t);
    }
    return lo <= hi;
}

// Length from p back along -u to the beam or column face.
double ToFaces(Pt p, const Brace& b) { return std::max(0.0, std::min(p.x / b.c, p.y / b.s)); }

void FinishEnd(const DesignRequest& q, const EndFrame& end, const Brace& b, double s_tip, double width,
               double spread, EndResult& r) {
    const Pt u = {b.c, b.s};
    const Pt n = {-b.s, b.c};
    const Pt wp = {-end.a, -end.b};
    const Pt tip = wp + s_tip * u;
    const Pt q0 = wp + r.s0 * u;
    const double half = width / 2 + spread * kTan30;
    r.be_points = {tip + (-width / 2) * n, tip + (width / 2) * n, q0 + (-half) * n, q0 + half * n, tip, q0};
    double lo = -half, hi = half;
    const Plate& p = r.plate;
    if (!ClipToPlate(p, q0, n, tip, u, lo, hi)) lo = hi = 0;
    r.be = hi - lo;
    Pt from = q0 + lo * n, to = q0 + hi * n;
    r.be_from = from;
    r.be_to = to;
    const Pt starts[3] = {q0 + (0.5 * (lo + hi)) * n, to, from};
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        double len = ToFaces(starts[i], b);
        r.lines[i] = {starts[i], starts[i] - len * u};
        sum += len;
    }
    r.l_avg = sum / 3;
    // Work-point frame for everything drawn from the work point.
    const Pt shift = {end.a, end.b};
    for (Pt& pt : r.be_points) pt = pt + shift;
    r.be_from = r.be_from + shift;
    r.be_to = r.be_to + shift;
    for (auto& line : r.lines)
        for (Pt& pt : line) pt = pt + shift;

    // Interface forces: the generalised uniform force split keeps equilibrium
    // and shares each component by the interface centroids and eccentricities.
    const double px = b.pmax * b.c, py = b.pmax * b.s;
    const double alpha = p.lh / 2, beta = p.lv / 2;
    if (q.generalized_ufm && !end.middle) {
        r.hb = px * alpha / (alpha + end.a);
        r.hc = px - r.hb;
        r.vb = py * end.b / (beta + end.b);
        r.vc = py - r.vb;
    } else if (end.middle) {
        r.hb = px;
        r.vb = py;
    } else {
        r.hb = px;
        r.vc = py;
    }
    auto interface = [&](double normal, double shear, double length, Check* out, double& weld) {
        double area = length * b.tg;
        double sigma = area > 0 ? std::abs(normal) / area : 0;
        double tau = area > 0 ? std::abs(shear) / area : 0;
        out[0] = {std::sqrt(sigma * sigma + 3 * tau * tau), kPhiYield * q.fy_g};
        out[1] = {sigma, kPhiRupture * q.fu_g};
        out[2] = {tau, kPhiRupture * 0.6 * q.fu_g};
        double per_mm = std::hypot(sigma, tau) * b.tg * kWeldDuctility;
        weld = std::max(6.0, std::ceil(per_mm / (2 * kPhiRupture * 0.6 * 0.707 * q.f_exx) - 1e-9));
    };
    interface(r.vb, r.hb, p.lh, &r.connection[0], r.weld_beam);
    interface(r.hc, r.vc, p.lv, &r.connection[3], r.weld_column);

    const double gusset_area = r.be * b.tg;
    r.yield = {b.pmax, kPhiYield * q.fy_g * gusset_area};
    const double k = q.stiffener ? 0.65 : 1.2;
    const double radius = b.tg / std::sqrt(12.0);
    r.buckling = {b.pmax, kPhiYield * ColumnStress(k * r.l_avg / radius, q.fy_g, q.e) * gusset_area};
}

bool ConnectionPasses(const EndResult& r, bool middle) {
    int count = middle ? 3 : 6;
    for (int i = 0; i < count; ++i)
        if (r.connection[i].ratio() >= 1) return false;
    return true;
}

Core SizeCore(const DesignRequest& q) {
    Core core;
    if (q.bolted && q.bolt.tc > 0 && q.bolt.bc > 0) {
        core.tc = q.bolt.tc;
        core.bc = q.bolt.bc;
    } else {
        core.tc = q.core_class.tc;
        core.bc = q.core_class.bc;
    }
    core.dc = q.cruciform ? core.bc : core.tc;
    core.ac = CoreArea(q.cruciform ? CoreShape::kCruciform : CoreShape::kFlat, core.tc, core.bc);
    return core;
}

// The joint: the core plate split by the slot, with a rib each side of the
// gusset; square, wide enough to stay elastic under the largest force.
Joint SizeJoint(const DesignRequest& q, const Core& core, double tg, double pmax) {
    Joint j;
    j.tj = q.bolted && q.bolt.tj > 0 ? q.bolt.tj : core.tc;
    j.tgs = tg + kSlotClearance;
    const double narrowest = std::max(core.bc + j.tgs, core.dc + core.tc);
    double width;
    if (q.auto_joint) {
        double area = kJointAmplification * pmax / (kPhiYield * q.fy_c);
        width = (area + j.tgs * core.tc + j.tj * core.tc) / (core.tc + j.tj);
    } else {
        width = 1.5 * std::max(core.bc, core.dc);
    }
    j.bj = j.dj = CeilTo(std::max(width, narrowest), 5);
    j.aj = (j.bj - j.tgs) * core.tc + j.tj * (j.dj - core.tc);
    j.at = (core.ac + j.aj) / 2;
    const double w = (j.bj - j.tgs) / 2, hr = (j.dj - core.tc) / 2, tc = core.tc;
    const double ixx = 2 * (w * tc * tc * tc / 12) + 2 * (j.tj * hr * hr * hr / 12 + j.tj * hr * std::pow(tc / 2 + hr / 2, 2));
    const double iyy = 2 * (tc * w * w * w / 12 + tc * w * std::pow(j.tgs / 2 + w / 2, 2)) +
                       2 * (hr * j.tj * j.tj * j.tj / 12 + hr * j.tj * std::pow((j.tgs + j.tj) / 2, 2));
    j.inertia = std::min(ixx, iyy);
    return j;
}

std::string Trim(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", x);
    std::string s = text;
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
    return s;
}

// Block shear: min of rupture and yield on the shear planes, plus tension rupture.
double BlockShear(double agv, double anv, double ant, double fy, double fu) {
    return kPhiRupture * std::min(0.6 * fu * anv + fu * ant, 0.6 * fy * agv + fu * ant);
}

// Bearing of a bolt group: two rows, an end bolt and inner bolts per row.
double Bearing(const DesignRequest& q, const Bolts& bolts, double t, double fu) {
    const BoltedInput& bi = q.bolt;
    auto one = [&](double clear) { return std::min(1.2 * std::max(clear, 0.0) * t * fu, 2.4 * bi.d * t * fu); };
    int per_row = bolts.n / bolts.rows;
    return kPhiRupture * bolts.rows * (one(bi.el - bi.dh / 2) + (per_row - 1) * one(bi.s - bi.dh));
}

// Designs one brace for a gusset thickness; `middle_legs` forces the legs of
// a Chevron middle half-plate (0: its own size).
Brace DesignBrace(const DesignRequest& q, double phi, double lwp, const EndFrame& low, const EndFrame& high,
                  double tg, double middle_lh = 0, double middle_lv = 0) {
    Brace b;
    b.phi = phi;
    b.c = std::cos(phi);
    b.s = std::sin(phi);
    b.lwp = lwp;
    b.tg = tg;
    b.core = SizeCore(q);
    b.py = b.core.ac * q.fy_c;
    b.tmax = q.omega_h * q.ry_c * b.py;
    b.pmax = q.beta * b.tmax;
    b.joint = SizeJoint(q, b.core, tg, b.pmax);
    const Joint& j = b.joint;

    // Joint length: the weld run (welded) or the bolt group (bolted).
    b.tw = std::clamp(std::ceil(0.6 * std::min(tg, j.tj) - 1e-9), 6.0, 16.0);
    if (q.bolted) {
        const BoltedInput& bi = q.bolt;
        double per_bolt = kPhiRupture * bi.fnv * kPi * bi.d * bi.d / 4 * 2;  // double shear
        int n = static_cast<int>(std::ceil(b.pmax / per_bolt / 2 - 1e-9)) * 2;
        b.bolts.n = std::clamp(n, 4, 200);
        int per_row = b.bolts.n / b.bolts.rows;
        b.bolts.lbs = bi.el + (per_row - 1) * bi.s;
        b.bolts.wbs = b.core.tc + 2 * bi.et;
        b.lw = CeilTo(2 * bi.el + (per_row - 1) * bi.s, 10);
    } else if (q.auto_lw) {
        double per_mm = kWeldLines * kPhiRupture * 0.6 * q.f_exx * 0.707 * b.tw;
        double by_weld = b.pmax / per_mm + 2 * b.tw;
        double fv = std::min(q.fy_g, q.fu_g);
        double by_block = (b.pmax / (kPhiRupture * 0.9) - q.fu_g * j.dj * tg) / (1.2 * fv * tg);
        b.lw = CeilTo(std::max({150.0, by_weld, by_block, 0.5 * j.dj}), 10);
    } else {
        b.lw = CeilTo(std::max(150.0, j.dj), 10);
    }
    b.lt = CeilTo(std::max(50.0, 2 * std::max(j.bj - b.core.bc, j.dj - b.core.dc) / 2), 10);  // 1:2 taper
    const double lx_min = CeilTo(std::max(100.0, 0.5 * j.dj), 10);

    // Brace ends beyond the clear lines; the length in steps of the increment.
    b.s0_down = EndDistance(low, b, j.dj / 2);
    b.s0_up = EndDistance(high, b, j.dj / 2);
    double room = lwp - b.s0_down - b.s0_up;
    b.lbrb = FloorTo(std::max(room, 0.0), q.lbrb_increment);
    double left_over = room - b.lbrb;
    if (q.auto_work_point) {
        b.s0_down += left_over / 2;
        b.s0_up += left_over / 2;
    } else {
        b.s0_up += left_over;
    }

    // Casing: the lightest section that holds the joint and is stiff enough.
    const bool circular = q.circular;
    double fit = circular ? 2 * std::max(std::hypot(j.bj / 2, b.core.tc / 2), std::hypot(j.tgs / 2 + j.tj, j.dj / 2))
                          : std::max(j.bj, j.dj);
    fit += 2 * kCasingCover;
    const double length_for_casing = std::max(b.lbrb, 1.0);
    b.isc_req = kCasingSafety * b.pmax * length_for_casing * length_for_casing / (kPi * kPi * q.e);
    const std::vector<CasingSection>& sections = CasingSections(circular);
    const CasingSection* best = nullptr;
    const CasingSection* stiffest_fitting = nullptr;
    for (const CasingSection& cs : sections) {
        if (cs.inner < fit) continue;
        if (!stiffest_fitting || cs.inertia > stiffest_fitting->inertia) stiffest_fitting = &cs;
        if (cs.inertia >= b.isc_req && (!best || cs.area < best->area)) best = &cs;
    }
    if (!best) {
        best = stiffest_fitting ? stiffest_fitting : &sections.back();
        b.notes.push_back("No casing of the list is stiff enough or wide enough; the largest one is used.");
    }
    b.casing = best;
    b.dt_req = fit + 2 * best->t;

    // The casing clears the frame too: it starts after the exposed neck L_n.
    double ln_need = std::max(EndDistance(low, b, best->d / 2) - b.s0_down, EndDistance(high, b, best->d / 2) - b.s0_up);
    b.ln = CeilTo(std::max(50.0, ln_need - b.lw), 10);

    // Core length: what the ends leave, unless the stiffness is to be met.
    double lc_floor = kMinCoreRatio * lwp;
    double ends = 2 * (b.lw + b.ln + lx_min + b.lt);
    double lx_base = lx_min;
    if (b.lbrb - ends < lc_floor) {
        b.fits = false;
        b.notes.push_back("The brace does not fit between the clear distances; its ends reach into them.");
        double wanted = ends + lc_floor;
        if (wanted > lwp) {
            // Not even the work-point length holds the ends: shrink them alike.
            double f = (lwp - lc_floor) / std::max(ends, 1.0);
            b.lw *= f;
            b.ln *= f;
            lx_base *= f;
            b.lt *= f;
            ends = 2 * (b.lw + b.ln + lx_base + b.lt);
            wanted = lwp;
        }
        double grow = wanted - b.lbrb;
        b.lbrb = wanted;
        b.s0_down = std::max(0.0, b.s0_down - grow / 2);
        b.s0_up = std::max(0.0, lwp - b.lbrb - b.s0_down);
    }
    const double lc_max = b.lbrb - ends;
    b.lc = lc_max;
    const double ac = b.core.ac, at = j.at, aj = j.aj;
    if (q.auto_keff && q.keff_req > 0) {
        double lower = lc_floor;
        if (q.keff_by_target_lc) lower = std::max(lower, q.lc_min_length);
        if (q.keff_by_lc_to_lwp) lower = std::max(lower, q.lc_min_ratio * lwp);
        lower = std::min(lower, lc_max);
        double per_length = 1 / ac - 1 / aj;
        if (per_length > 1e-15) {
            double target = (q.e / q.keff_req - 2 * b.lt / at - (lwp - 2 * b.lt) / aj) / per_length;
            b.lc = std::clamp(FloorTo(target, 1), lower, lc_max);
        }
    }
    b.lx = (b.lbrb - b.lc - 2 * (b.lw + b.ln + b.lt)) / 2;
    b.lsc = b.lbrb - 2 * (b.lw + b.ln);

    double flexibility = (b.lc / ac + 2 * b.lt / at + std::max(0.0, lwp - b.lc - 2 * b.lt) / aj) / q.e;
    b.keff = 1 / flexibility;
    b.q = b.keff / (q.e * ac / lwp);
    b.alpha = b.lc / lwp;
    b.theta = b.py / b.keff / b.c / q.h_col;

    // Gusset plates at both ends.
    const double tip_down = b.s0_down + b.lw, tip_up = b.s0_up + b.lw;
    const double width = q.bolted ? b.bolts.wbs : j.dj;
    const double spread = q.bolted ? b.bolts.lbs : b.lw;
    const double edge = std::max(q.gusset_gap, kMinEdge);
    auto design_end = [&](const EndFrame& end, double s0, double tip, double lh_forced, double lv_forced) {
        EndResult r;
        r.s0 = s0;
        for (double extra = 0;; extra += 25) {
            r.plate = ShapePlate(end, b, tip, j.dj / 2 + edge + extra, lh_forced, lv_forced);
            FinishEnd(q, end, b, tip, width, spread, r);
            // A middle half grows with the whole middle plate, not on its own.
            bool last = !end.auto_size || end.middle || extra >= 500 || r.plate.x2 <= 0 || r.plate.y1 <= 0;
            if (last || ConnectionPasses(r, end.middle)) break;
        }
        return r;
    };
    b.down = design_end(low, b.s0_down, tip_down, 0, 0);
    b.up = design_end(high, b.s0_up, tip_up, middle_lh, middle_lv);

    // Checks.
    const double ab = q.bolted ? kPi * q.bolt.d * q.bolt.d / 4 : 0;
    b.checks["1"] = {b.isc_req, b.casing->inertia};
    const Check joint_yield = {b.pmax, kPhiYield * q.fy_c * aj};
    const double radius = std::sqrt(j.inertia / aj);
    auto joint_buckling = [&](double s0) {
        double length = b.ln + b.lw + s0;
        return Check{b.pmax, kPhiYield * ColumnStress(length / radius, q.fy_c, q.e) * aj};
    };
    const char* up_part = q.bolted ? "12_up_c" : "7_up_c";
    const char* down_part = q.bolted ? "12_down_c" : "7_down_c";
    for (int i = 0; i < 6; ++i) {
        b.checks[up_part + std::to_string(i + 1)] = b.up.connection[i];
        b.checks[down_part + std::to_string(i + 1)] = b.down.connection[i];
    }
    if (!q.bolted) {
        b.checks["2"] = joint_yield;
        b.checks["3_up"] = joint_buckling(b.s0_up);
        b.checks["3_down"] = joint_buckling(b.s0_down);
        b.checks["4"] = {b.pmax, BlockShear(2 * b.lw * tg, 2 * b.lw * tg, j.dj * tg, q.fy_g, q.fu_g)};
        b.checks["5_up"] = b.up.yield;
        b.checks["5_down"] = b.down.yield;
        b.checks["6_up"] = b.up.buckling;
        b.checks["6_down"] = b.down.buckling;
    } else {
        const BoltedInput& bi = q.bolt;
        const Bolts& bo = b.bolts;
        int per_row = bo.n / bo.rows;
        b.checks["2"] = {b.pmax, bo.n * kPhiRupture * bi.fnv * ab * 2};
        b.checks["3"] = {b.pmax, Bearing(q, bo, 2 * j.tj, bi.fu)};
        b.checks["4"] = joint_yield;
        double net = aj - 2 * bo.rows * bi.dh * j.tj;
        if (bi.staggered) net += 2 * j.tj * bi.s * bi.s / (4 * bi.g);
        net = std::clamp(net, 0.0, 0.85 * aj);
        b.checks["5"] = {b.pmax, kPhiRupture * bi.fu * net};
        b.checks["6_up"] = joint_buckling(b.s0_up);
        b.checks["6_down"] = joint_buckling(b.s0_down);
        const double shear_net = std::max(0.0, bo.lbs - (per_row - 0.5) * bi.dh);
        const double tension_net = std::max(0.0, bo.wbs - bi.dh);
        const double splice = 2 * j.tj;
        b.checks["7"] = {b.pmax, BlockShear(2 * bo.lbs * splice, 2 * shear_net * splice, tension_net * splice, bi.fy, bi.fu)};
        b.checks["8"] = {b.pmax, Bearing(q, bo, tg, bi.fug)};
        b.checks["9"] = {b.pmax, BlockShear(2 * bo.lbs * tg, 2 * shear_net * tg, tension_net * tg, bi.fyg, bi.fug)};
        b.checks["10_up"] = b.up.yield;
        b.checks["10_down"] = b.down.yield;
        b.checks["11_up"] = b.up.buckling;
        b.checks["11_down"] = b.down.buckling;
    }
    return b;
}

double WorstRatio(const Brace& b, const std::vector<std::string>& suffixes) {
    double worst = 0;
    for (const std::string& s : suffixes) {
        auto it = b.checks.find(s);
        if (it != b.checks.end()) worst = std::max(worst, it->second.ratio());
    }
    return worst;
}

double BeamCapacity(const DesignRequest& q, const BeamSection& beam) {
    double area = 2 * beam.bw * beam.tf + std::max(0.0, beam.d - 2 * beam.tf) * beam.tw;
    return kPhiYield * q.fy_b * area;
}

// The middle gusset of a Chevron bay, welded to the beam only: the two
// braces' horizontal components add, their vertical ones nearly cancel.
struct Middle {
    double half_l = 0, half_r = 0, lv = 0;
    Plate left, right;  // the halves in their end frames
    std::array<Check, 3> checks{};
    double weld = 0, lsf = 0, h = 0;
};

void MiddleChecks(const DesignRequest& q, const Brace& b, Middle& m) {
    const double lh = m.half_l + m.half_r;
    const double e = q.beam_up.d / 2;
    m.h = (b.pmax + b.tmax) * b.c;
    const double v = (b.pmax - b.tmax) * b.s;
    const double area = lh * b.tg;
    double sigma = area > 0 ? std::abs(v) / area + 6 * m.h * e / (b.tg * lh * lh) : 0;
    double tau = area > 0 ? m.h / area : 0;
    m.checks[0] = {std::sqrt(sigma * sigma + 3 * tau * tau), kPhiYield * q.fy_g};
    m.checks[1] = {sigma, kPhiRupture * q.fu_g};
    m.checks[2] = {tau, kPhiRupture * 0.6 * q.fu_g};
    double per_mm = std::hypot(sigma, tau) * b.tg * kWeldDuctility;
    m.weld = std::max(6.0, std::ceil(per_mm / (2 * kPhiRupture * 0.6 * 0.707 * q.f_exx) - 1e-9));
    m.lsf = std::max(0.0, m.left.x2 + m.right.x2 - 50);
}

struct Bay {
    bool chevron = false;
    Brace left, right;  // Diagonal: left only
    Middle middle;
    double worst = 0;
};

Bay DesignAt(const DesignRequest& q, double tg) {
    Bay bay;
    bay.chevron = q.chevron;
    const double h = q.h_col, l = q.l_beam;
    auto lower = [&](double dc, double gap) {
        EndFrame e;
        e.a = dc / 2;
        e.b = q.beam_down.d / 2;
        e.xc = e.a + gap;
        e.yc = e.b + q.slab + q.gap_down;
        e.auto_size = q.auto_plate_lower;
        return e;
    };
    const Family family = FamilyOf(q.chevron, q.bolted);
    if (!q.chevron) {
        EndFrame up;
        up.a = q.dc_right / 2;
        up.b = q.beam_up.d / 2;
        up.xc = up.a + q.gap_right;
        up.yc = up.b + q.gap_up;
        up.auto_size = q.auto_plate_upper;
        bay.left = DesignBrace(q, std::atan2(h, l), std::hypot(l, h), lower(q.dc_left, q.gap_left), up, tg);
        bay.worst = WorstRatio(bay.left, BraceCheckSuffixes(family));
        return bay;
    }
    EndFrame mid;
    mid.a = 0;
    mid.b = q.beam_up.d / 2;
    mid.xc = kMiddleClearance;
    mid.yc = mid.b + q.gap_up;
    mid.middle = true;
    mid.auto_size = q.auto_plate_upper;
    const double phi = std::atan2(h, l / 2), lwp = std::hypot(l / 2, h);
    const EndFrame low_l = lower(q.dc_left, q.gap_left), low_r = lower(q.dc_right, q.gap_right);
    // The middle plate is one plate: both halves take the larger size.
    Brace first_l = DesignBrace(q, phi, lwp, low_l, mid, tg);
    Brace first_r = DesignBrace(q, phi, lwp, low_r, mid, tg);
    double half = std::max(first_l.up.plate.lh, first_r.up.plate.lh);
    double lv = std::max(first_l.up.plate.lv, first_r.up.plate.lv);
    for (double extra = 0;; extra += 25) {
        bay.left = DesignBrace(q, phi, lwp, low_l, mid, tg, half + extra, lv + extra);
        bay.right = DesignBrace(q, phi, lwp, low_r, mid, tg, half + extra, lv + extra);
        Middle& m = bay.middle;
        m.left = bay.left.up.plate;
        m.right = bay.right.up.plate;
        m.half_l = m.left.lh;
        m.half_r = m.right.lh;
        m.lv = std::max(m.left.lv, m.right.lv);
        MiddleChecks(q, bay.right.pmax >= bay.left.pmax ? bay.right : bay.left, m);
        bool passes = std::all_of(m.checks.begin(), m.checks.end(), [](const Check& c) { return c.ratio() < 1; });
        if (passes || !q.auto_plate_upper || extra >= 500 || m.left.x2 <= 0 || m.right.x2 <= 0) break;
    }
    bay.worst = std::max(WorstRatio(bay.left, BraceCheckSuffixes(family)), WorstRatio(bay.right, BraceCheckSuffixes(family)));
    for (const Check& c : bay.middle.checks) bay.worst = std::max(bay.worst, c.ratio());
    return bay;
}

void Put(ResultValues& v, const std::string& key, double x) { v.numbers[key] = x; }

void PutEnd(ResultValues& v, const EndResult& r, const std::string& end, const std::string& be, bool stiffener) {
    const Plate& p = r.plate;
    Put(v, end + "_L_v", p.lv);
    Put(v, end + "_L_h", p.lh);
    Put(v, "Gusset_Plate_" + end + "_x1", p.x1);
    Put(v, "Gusset_Plate_" + end + "_y1", p.y1);
    Put(v, "Gusset_Plate_" + end + "_x2", p.x2);
    Put(v, "Gusset_Plate_" + end + "_y2", p.y2);
    Put(v, end + "_L_sf_h", stiffener ? std::max(0.0, p.x2 - 50) : 0);
    Put(v, end + "_L_sf_v", stiffener ? std::max(0.0, p.y1 - 50) : 0);
    Put(v, end + "_T_b", r.weld_beam);
    Put(v, end + "_T_c", r.weld_column);
    for (int i = 0; i < 6; ++i) {
        Put(v, "Be_" + be + "_x" + std::to_string(i + 1), r.be_points[i].x);
        Put(v, "Be_" + be + "_y" + std::to_string(i + 1), r.be_points[i].y);
    }
    Put(v, "Be_" + be + "_fx1", r.be_from.x);
    Put(v, "Be_" + be + "_fy1", r.be_from.y);
    Put(v, "Be_" + be + "_fx2", r.be_to.x);
    Put(v, "Be_" + be + "_fy2", r.be_to.y);
    for (int i = 0; i < 3; ++i) {
        const std::string stem = "L_" + std::to_string(i + 1) + "_" + end + "_";
        Put(v, stem + "x0", r.lines[i][0].x);
        Put(v, stem + "y0", r.lines[i][0].y);
        Put(v, stem + "x1", r.lines[i][1].x);
        Put(v, stem + "y1", r.lines[i][1].y);
    }
}

ResultValues BraceValues(const DesignRequest& q, const Brace& b, const Bay& bay, const Family family) {
    ResultValues v;
    const Core& core = b.core;
    const Joint& j = b.joint;
    Put(v, "d_c_left", q.dc_left);
    Put(v, "d_c_right", q.dc_right);
    Put(v, "H_col", q.h_col);
    Put(v, "L_beam", q.l_beam);
    v.texts["WES_Type"] = q.cruciform ? "Cruciform" : "Flat";
    v.texts["STEEL_CASING_Type"] = q.circular ? "Circular" : "Square";
    v.texts["Steel_Casing_Size"] = b.casing->name;
    v.texts["Steel_Casing_Source"] = q.circular ? "Circular hollow section (steel pipe)" : "Cold-formed square hollow section";

    const double tsf = std::max(12.0, CeilTo(0.6 * b.tg, 2));
    PutEnd(v, b.down, "down", "dw", q.stiffener);
    PutEnd(v, b.up, "up", "up", q.stiffener);
    Put(v, "t_sf", tsf);
    Put(v, "Le_upper", b.s0_up);
    Put(v, "Le_lower", b.s0_down);

    Put(v, "tan_phi", b.s / b.c);
    Put(v, "L_wp", b.lwp);
    Put(v, "L_brb", b.lbrb);
    Put(v, "L_c", b.lc);
    Put(v, "L_t", b.lt);
    Put(v, "L_x", b.lx);
    Put(v, "L_n", b.ln);
    Put(v, "L_w", b.lw);
    Put(v, "L_j", b.lw + b.ln + b.lx);
    Put(v, "Shrink_Ratio_DOWN", b.s0_down / b.lwp);
    Put(v, "Shrink_Ratio_UP", b.s0_up / b.lwp);
    Put(v, "P_y", b.py);
    Put(v, "A_c", core.ac);
    Put(v, "A_j", j.aj);
    Put(v, "A_t", j.at);
    Put(v, "B_c", core.bc);
    Put(v, "B_j", j.bj);
    Put(v, "D_c", core.dc);
    Put(v, "D_j", j.dj);
    Put(v, "t_c", core.tc);
    Put(v, "t_j", j.tj);
    Put(v, "t_g", b.tg);
    Put(v, "t_g_s", j.tgs);

    Put(v, "P_max", b.pmax);
    Put(v, "K_eff", b.keff);
    Put(v, "Q_factor", b.q);
    Put(v, "Alpha_L", b.alpha);
    Put(v, "Theda_y", b.theta);
    Put(v, "K_eff_h", b.keff * b.c * b.c);
    Put(v, "I_sc_required", b.isc_req);
    Put(v, "I_sc_designed", b.casing->inertia);
    Put(v, "L_s", b.lw + kSlotRunout);
    Put(v, "T_w", b.tw);
    if (q.bolted) {
        Put(v, "Bolted_Lbs", b.bolts.lbs);
        Put(v, "Bolted_Wbs", b.bolts.wbs);
        Put(v, "Bolted_et", q.bolt.et);
        Put(v, "Bolted_el", q.bolt.el);
        Put(v, "Bolted_s", q.bolt.s);
        Put(v, "Bolted_n", b.bolts.n);
    }
    Put(v, "t", b.casing->t);
    Put(v, "D_t", b.casing->d);
    Put(v, "L_sc", b.lsc);
    Put(v, "D_t_required", b.dt_req);

    // Beam axial load ratios: the horizontal force each beam takes at its gusset.
    double upper_force = bay.chevron ? bay.middle.h / 2 : b.up.hb;
    Put(v, "U_Beam_Ratio", Ratio(upper_force, BeamCapacity(q, q.beam_up)));
    Put(v, "L_Beam_Ratio", Ratio(b.down.hb, BeamCapacity(q, q.beam_down)));

    // Quantities: steel of the core and casing, mortar between them, plates.
    const double weight = q.units == "kN-mm" ? kKilonewtonsPerTonf : 1.0;
    const double core_volume = core.ac * b.lc + 2 * j.at * b.lt + 2 * j.aj * (b.lx + b.ln + b.lw);
    const double inside = core.ac * b.lc + 2 * j.at * b.lt + 2 * j.aj * b.lx;
    const double inner = b.casing->inner;
    const double inner_area = q.circular ? kPi / 4 * inner * inner : inner * inner;
    const double mortar = std::max(0.0, inner_area * b.lsc - inside);
    const double casing_volume = b.casing->area * b.lsc;
    Put(v, "Core_Self_Volume", core_volume);
    Put(v, "Core_Self_Weight", core_volume * kSteelDensity * weight);
    Put(v, "Casing_Self_Volume", casing_volume);
    Put(v, "Casing_Self_Weight", casing_volume * kSteelDensity * weight);
    Put(v, "Motar_Self_Volume", mortar);
    Put(v, "Motar_Self_Weight", mortar * kMortarDensity * weight);
    Put(v, "Total_Weight", (core_volume + casing_volume) * kSteelDensity * weight + mortar * kMortarDensity * weight);
    const double up_area = b.up.plate.Area(), down_area = b.down.plate.Area();
    Put(v, "Gusset_UP_Area", up_area);
    Put(v, "Gusset_UP_Volume", up_area * b.tg);
    Put(v, "Gusset_UP_Weight", up_area * b.tg * kSteelDensity * weight);
    Put(v, "Gusset_DOWN_Area", down_area);
    Put(v, "Gusset_DOWN_Volume", down_area * b.tg);
    Put(v, "Gusset_DOWN_Weight", down_area * b.tg * kSteelDensity * weight);

    for (const std::string& s : BraceCheckSuffixes(family)) {
        const Check& c = b.checks.at(s);
        Put(v, "DCR_" + s, c.ratio());
        Put(v, "Demand_" + s, c.demand);
        Put(v, "Capacity_" + s, c.capacity);
    }
    return v;
}

void AddCasings(std::vector<CasingSection>& out, bool circular) {
    static const double walls[] = {4.5, 6, 9, 12, 16, 19, 22, 25, 28, 32};
    for (double d = 100; d <= 1500 + 1e-9; d += d < 300 ? 25 : 50) {
        for (double t : walls) {
            if (d / t > 75 || d / t < 10) continue;
            CasingSection cs;
            cs.d = d;
            cs.t = t;
            cs.inner = d - 2 * t;
            if (circular) {
                cs.name = "CHS " + Trim(d) + "x" + Trim(t);
                cs.area = kPi / 4 * (d * d - cs.inner * cs.inner);
                cs.inertia = kPi / 64 * (std::pow(d, 4) - std::pow(cs.inner, 4));
            } else {
                cs.name = "SHS " + Trim(d) + "x" + Trim(d) + "x" + Trim(t);
                cs.area = d * d - cs.inner * cs.inner;
                cs.inertia = (std::pow(d, 4) - std::pow(cs.inner, 4)) / 12;
            }
            out.push_back(cs);
        }
    }
}

}  // namespace

const std::vector<CasingSection>& CasingSections(bool circular) {
    static const std::vector<CasingSection> square = [] {
        std::vector<CasingSection> v;
        AddCasings(v, false);
        return v;
    }();
    static const std::vector<CasingSection> round = [] {
        std::vector<CasingSection> v;
        AddCasings(v, true);
        return v;
    }();
    return circular ? round : square;
}

BayDesign DesignBay(const DesignRequest& q) {
    // Gusset thickness: as asked, or (auto) the thinnest of the plate list
    // from there up with which every check of the bay passes.
    const double base = q.tg_equals_tc ? SizeCore(q).tc : q.t_g;
    std::vector<double> candidates = {base};
    if (q.auto_tg)
        for (double t : kPlates)
            if (t > base) candidates.push_back(t);
    Bay bay;
    bool chosen = false;
    Bay least_bad;
    for (double tg : candidates) {
        Bay trial = DesignAt(q, tg);
        if (trial.worst < 1) {
            bay = trial;
            chosen = true;
            break;
        }
        if (least_bad.left.tg == 0 || trial.worst < least_bad.worst) least_bad = trial;
    }
    if (!chosen) bay = least_bad;

    BayDesign out;
    out.worst_ratio = bay.worst;
    out.fits = bay.left.fits && (!q.chevron || bay.right.fits);
    out.notes = q.notes;
    const Family family = FamilyOf(q.chevron, q.bolted);
    auto add_notes = [&](const Brace& b) {
        for (const std::string& n : b.notes)
            if (std::find(out.notes.begin(), out.notes.end(), n) == out.notes.end()) out.notes.push_back(n);
    };
    ResultValues& top = out.top;
    Put(top, "d_b_up", q.beam_up.d);
    Put(top, "d_b_down", q.beam_down.d);
    Put(top, "col_left_gap_for_L_brb", q.gap_left);
    Put(top, "col_right_gap_for_L_brb", q.gap_right);
    Put(top, "beam_up_gap_for_L_brb", q.gap_up);
    Put(top, "beam_down_gap_for_L_brb", q.gap_down);
    Put(top, "default_thickness_of_slab_for_L_brb", q.slab);
    Put(top, "default_gap_for_gusset_plate", q.gusset_gap);
    top.texts["WES_Type"] = q.cruciform ? "Cruciform" : "Flat";
    top.texts["STEEL_CASING_Type"] = q.circular ? "Circular" : "Square";
    if (!q.chevron) {
        add_notes(bay.left);
        ResultValues brace = BraceValues(q, bay.left, bay, family);
        top.numbers.insert(brace.numbers.begin(), brace.numbers.end());
        top.texts.insert(brace.texts.begin(), brace.texts.end());
        return out;
    }
    add_notes(bay.left);
    add_notes(bay.right);
    out.left = BraceValues(q, bay.left, bay, family);
    out.right = BraceValues(q, bay.right, bay, family);
    // A brace's upper plate is half of the middle gusset, welded to the beam only.
    for (ResultValues* side : {&out.left, &out.right}) {
        side->numbers["up_T_b"] = bay.middle.weld;
        side->numbers["up_T_c"] = 0;
    }
    // The top level shows the governing brace; the right one on a tie.
    const auto suffixes = BraceCheckSuffixes(family);
    const ResultValues& governing =
        WorstRatio(bay.left, suffixes) > WorstRatio(bay.right, suffixes) ? out.left : out.right;
    top.numbers.insert(governing.numbers.begin(), governing.numbers.end());
    top.texts.insert(governing.texts.begin(), governing.texts.end());

    const Middle& m = bay.middle;
    Put(top, "MIDDLE_GUSSET_x1", m.half_l);
    Put(top, "MIDDLE_GUSSET_y1", m.left.y1);
    Put(top, "MIDDLE_GUSSET_x2", m.left.x2);
    Put(top, "MIDDLE_GUSSET_y2", m.lv);
    Put(top, "MIDDLE_GUSSET_x3", m.right.x2);
    Put(top, "MIDDLE_GUSSET_y3", m.lv);
    Put(top, "MIDDLE_GUSSET_x4", m.half_r);
    Put(top, "MIDDLE_GUSSET_y4", m.right.y1);
    Put(top, "Lh_mid", m.half_l + m.half_r);
    Put(top, "Lv_mid", m.lv);
    Put(top, "Lsf_mid", m.lsf);
    Put(top, "Tb_mid", m.weld);
    const auto& middle = MiddleCheckSuffixes(family);
    for (std::size_t i = 0; i < middle.size(); ++i) {
        Put(top, "DCR_" + middle[i], m.checks[i].ratio());
        Put(top, "Demand_" + middle[i], m.checks[i].demand);
        Put(top, "Capacity_" + middle[i], m.checks[i].capacity);
    }
    return out;
}

}  // namespace zorv_service
