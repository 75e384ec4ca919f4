#pragma once
// Expected shapes of the detail view, as point lists in millimetres.
#include <cmath>
#include <vector>

#include "core/result_members.h"
#include "drawing/views/view_probe.h"

namespace detail_test {

using view_test::Point;

// The corners of the box from (x0, y0) to (x1, y1).
inline std::vector<Point> Corners(float x0, float y0, float x1, float y1) {
    return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
}

inline std::vector<Point> Joined(std::vector<std::vector<Point>> parts) {
    std::vector<Point> all;
    for (const std::vector<Point>& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

inline std::vector<Point> Moved(std::vector<Point> points, Point by) {
    for (Point& p : points) p = {p.x + by.x, p.y + by.y};
    return points;
}

// Each point once, as the recorder gives corners that two shapes share.
inline std::vector<Point> Distinct(const std::vector<Point>& points) {
    std::vector<Point> out;
    for (const Point& p : points) {
        bool known = false;
        for (const Point& q : out) known = known || (std::fabs(p.x - q.x) < 0.01 && std::fabs(p.y - q.y) < 0.01);
        if (!known) out.push_back(p);
    }
    return out;
}

// Lengths of the pieces from joint to joint; L_brb is set to their sum.
struct Pieces {
    float L_w, L_n, L_x, L_t, L_c;
};

inline void SetPieces(TBraceValues& b, Pieces p) {
    b.L_w = p.L_w;
    b.L_n = p.L_n;
    b.L_x = p.L_x;
    b.L_t = p.L_t;
    b.L_c = p.L_c;
    b.L_brb = 2 * (p.L_w + p.L_n + p.L_x + p.L_t) + p.L_c;
}

}  // namespace detail_test
