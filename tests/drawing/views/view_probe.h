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
#include "platform/gl/gl.h"
#include "platform/gl/testing.h"
#include "support/asymmetric_bay.h"

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

using testing_support::ViewBox;

// The frame view's mapping both ways, for the box of the bay drawn as a test worked it
// out: never the fit under test, which would move the mapping with the drawing.
class FrameProbe {
public:
    FrameProbe(const DOVEREForm& form, ViewBox box) : panel_(*form.OpGLPanel), box_(box) {}

    // The pixel that holds the bay point (x, y) mm, on the panel's last swapped image.
    gl::Rgba At(float x, float y) const {
        const float px = (x + box_.offset_x) * panel_.ClientWidth() / box_.width;
        const float py = (y + box_.offset_y) * panel_.ClientHeight() / box_.height;
        return gl::PixelAt(panel_.Surface(), static_cast<int>(std::floor(px)),
                           panel_.ClientHeight() - 1 - static_cast<int>(std::floor(py)));
    }
    // The image row (from the top) of a bay height.
    int Row(float y) const {
        const float py = (y + box_.offset_y) * panel_.ClientHeight() / box_.height;
        return panel_.ClientHeight() - 1 - static_cast<int>(std::floor(py));
    }
    int Column(float x) const {
        return static_cast<int>(std::floor((x + box_.offset_x) * panel_.ClientWidth() / box_.width));
    }
    Point Mm(const gl::FeedbackVertex& v) const {
        return {v.x * box_.width / panel_.ClientWidth() - box_.offset_x,
                v.y * box_.height / panel_.ClientHeight() - box_.offset_y};
    }

    // What draw gives feedback mode in the frame view's context, projected onto the
    // box with the model's origin where the box puts it.
    std::vector<gl::FeedbackItem> Record(const DOVEREForm& form, const std::function<void()>& draw) const {
        EXPECT_TRUE(wglMakeCurrent(form.FrameDC, form.FrameRC));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, box_.width, 0, box_.height, 0, 1000);
        glViewport(0, 0, panel_.ClientWidth(), panel_.ClientHeight());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(box_.offset_x, box_.offset_y, 0.0f);
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
    ViewBox box_;
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
