#pragma once
// Reading the frame view back: where a point of the bay (mm) lands on the panel, the
// colour a translucent fill leaves over another, and the geometry the drawers give
// OpenGL's feedback mode, back in the bay's millimetres.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <utility>
#include <vector>

#include "app/DOVEREFORM.h"
#include "drawing/view_fit.h"
#include "platform/gl/gl.h"
#include "platform/gl/testing.h"

namespace view_test {

struct Rgb {
    float r, g, b;
};

// src over dst with src's alpha, as the views blend.
inline Rgb Over(const TGlColor& src, Rgb dst) {
    const float a = src.A;
    return {src.R * a + dst.r * (1 - a), src.G * a + dst.g * (1 - a), src.B * a + dst.b * (1 - a)};
}
inline Rgb RgbOf(const TGlColor& c) { return {c.R, c.G, c.B}; }

inline bool Near(gl::Rgba a, gl::Rgba b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// Each channel within `tolerance` of the byte the renderer stores for the colour.
inline ::testing::AssertionResult ColourNear(gl::Rgba actual, Rgb expected, int tolerance = 2) {
    const gl::Rgba e = gl::OpaqueColor(expected.r, expected.g, expected.b);
    if (Near(actual, e, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << int(actual.r) << ", " << int(actual.g) << ", "
                                         << int(actual.b) << ") is not near (" << int(e.r) << ", " << int(e.g)
                                         << ", " << int(e.b) << ")";
}

// A vertex that feedback mode recorded in that colour.
inline bool SameColour(const gl::FeedbackVertex& v, Rgb c) {
    return std::fabs(v.r - c.r) < 1e-3 && std::fabs(v.g - c.g) < 1e-3 && std::fabs(v.b - c.b) < 1e-3;
}

struct Point {
    float x, y;
};

inline std::ostream& operator<<(std::ostream& out, const Point& p) { return out << "(" << p.x << ", " << p.y << ")"; }

// A point of the brace's own frame (along the axis from the lower work point, across
// it) in bay coordinates.
inline Point OnBrace(float tan_phi, float along, float across) {
    const double a = std::atan(static_cast<double>(tan_phi));
    return {static_cast<float>(along * std::cos(a) - across * std::sin(a)),
            static_cast<float>(along * std::sin(a) + across * std::cos(a))};
}
// Mirrored about x = L/2.
inline Point Mirrored(Point p, float L) { return {L - p.x, p.y}; }

// The configuration selector set to "Chevron", as a user's choice runs it.
inline void ChooseChevron(DOVEREForm* form) {
    form->ComboBox_cfg->SetItemIndex(1);
    ui::Dispatch([form] { form->ComboBox_cfgChange(form->ComboBox_cfg); });
}

// The frame view's fit for the members as they stand, and its mapping both ways.
class FrameProbe {
public:
    explicit FrameProbe(const DOVEREForm& form)
        : panel_(*form.OpGLPanel),
          fit_(FitFrameBox(panel_.ClientWidth(), panel_.ClientHeight(), form.FrameValues).value()) {}

    // The pixel that holds the bay point (x, y) mm, on the panel's last swapped image.
    gl::Rgba At(float x, float y) const {
        const float px = (x + fit_.OffsetX) * panel_.ClientWidth() / fit_.Width;
        const float py = (y + fit_.OffsetY) * panel_.ClientHeight() / fit_.Height;
        return gl::PixelAt(panel_.Surface(), static_cast<int>(std::floor(px)),
                           panel_.ClientHeight() - 1 - static_cast<int>(std::floor(py)));
    }
    // The image row (from the top) of a bay height.
    int Row(float y) const {
        const float py = (y + fit_.OffsetY) * panel_.ClientHeight() / fit_.Height;
        return panel_.ClientHeight() - 1 - static_cast<int>(std::floor(py));
    }
    int Column(float x) const {
        return static_cast<int>(std::floor((x + fit_.OffsetX) * panel_.ClientWidth() / fit_.Width));
    }
    Point Mm(const gl::FeedbackVertex& v) const {
        return {v.x * fit_.Width / panel_.ClientWidth() - fit_.OffsetX,
                v.y * fit_.Height / panel_.ClientHeight() - fit_.OffsetY};
    }

    // What draw gives feedback mode in the frame view's context, with the projection
    // and origin that a redraw sets.
    std::vector<gl::FeedbackItem> Record(const DOVEREForm& form, const std::function<void()>& draw) const {
        EXPECT_TRUE(wglMakeCurrent(form.FrameDC, form.FrameRC));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, fit_.Width, 0, fit_.Height, 0, 1000);
        glViewport(0, 0, panel_.ClientWidth(), panel_.ClientHeight());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(fit_.OffsetX, fit_.OffsetY, 0.0f);
        return gl::RecordFeedback(draw);
    }

    // The distinct vertices (mm) of the primitives of one kind drawn in that colour;
    // a polygon comes as the renderer's triangles, whose corners are the polygon's.
    std::vector<Point> Vertices(const std::vector<gl::FeedbackItem>& items, gl::FeedbackKind kind,
                                Rgb colour) const {
        std::vector<Point> points;
        for (const gl::FeedbackItem& item : items) {
            if (item.kind != kind) continue;
            for (const gl::FeedbackVertex& v : item.vertices) {
                if (!SameColour(v, colour)) continue;
                const Point p = Mm(v);
                bool known = false;
                for (const Point& q : points) known = known || (std::fabs(p.x - q.x) < 0.01 && std::fabs(p.y - q.y) < 0.01);
                if (!known) points.push_back(p);
            }
        }
        return points;
    }

    // The line segments (mm) drawn in that colour, line loops and strips included.
    std::vector<std::pair<Point, Point>> Segments(const std::vector<gl::FeedbackItem>& items, Rgb colour) const {
        std::vector<std::pair<Point, Point>> segments;
        for (const gl::FeedbackItem& item : items)
            if ((item.kind == gl::FeedbackKind::Line || item.kind == gl::FeedbackKind::LineReset) &&
                item.vertices.size() == 2 && SameColour(item.vertices[0], colour))
                segments.emplace_back(Mm(item.vertices[0]), Mm(item.vertices[1]));
        return segments;
    }

private:
    const TPanel& panel_;
    TViewFit fit_;
};

// The same points in any order, each within tolerance (mm).
inline ::testing::AssertionResult SamePoints(std::vector<Point> actual, const std::vector<Point>& expected,
                                             float tolerance = 0.02f) {
    std::ostringstream missing;
    for (const Point& e : expected) {
        auto it = std::find_if(actual.begin(), actual.end(), [&](const Point& a) {
            return std::fabs(a.x - e.x) <= tolerance && std::fabs(a.y - e.y) <= tolerance;
        });
        if (it == actual.end())
            missing << " " << e;
        else
            actual.erase(it);
    }
    if (missing.str().empty() && actual.empty()) return ::testing::AssertionSuccess();
    std::ostringstream extra;
    for (const Point& a : actual) extra << " " << a;
    return ::testing::AssertionFailure() << "missing:" << missing.str() << "; not expected:" << extra.str();
}

using Segment = std::pair<Point, Point>;

// The same segments in any order, each either way round, ends within tolerance (mm).
inline ::testing::AssertionResult SameSegments(std::vector<Segment> actual, const std::vector<Segment>& expected,
                                               float tolerance = 0.02f) {
    auto near = [tolerance](Point a, Point b) {
        return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance;
    };
    std::ostringstream missing;
    for (const Segment& e : expected) {
        auto it = std::find_if(actual.begin(), actual.end(), [&](const Segment& a) {
            return (near(a.first, e.first) && near(a.second, e.second)) ||
                   (near(a.first, e.second) && near(a.second, e.first));
        });
        if (it == actual.end())
            missing << " " << e.first << "-" << e.second;
        else
            actual.erase(it);
    }
    if (missing.str().empty() && actual.empty()) return ::testing::AssertionSuccess();
    std::ostringstream extra;
    for (const Segment& a : actual) extra << " " << a.first << "-" << a.second;
    return ::testing::AssertionFailure() << "missing:" << missing.str() << "; not expected:" << extra.str();
}

}  // namespace view_test
