#pragma once
// Reading the detail view back: the geometry its drawers give OpenGL's feedback mode
// inside a chosen box (mm), two such records compared, and the pixel that holds a
// point of the view after a redraw, for a box worked out apart from the fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "drawing/views/view_probe.h"

namespace detail_test {

using view_test::Point;
using view_test::Rgb;

// A box of the view's world (mm) drawn onto the whole detail panel.
struct Box {
    float x0, y0, x1, y1;
};

using view_test::SameColour;

// What draw gives feedback mode in the detail view's context, the modelview matrix
// starting at the identity, and its vertices back in the box's millimetres.
class Recorder {
public:
    Recorder(const DOVEREForm& form, Box box) : form_(form), box_(box) {}

    std::vector<gl::FeedbackItem> Record(const std::function<void()>& draw) const {
        EXPECT_TRUE(wglMakeCurrent(form_.DetailDC, form_.DetailRC));
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(box_.x0, box_.x1, box_.y0, box_.y1, 0, 1000);
        glViewport(0, 0, Width(), Height());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        // The layout translates without saving: each pass of draw starts afresh.
        return gl::RecordFeedback([&] {
            glPushMatrix();
            draw();
            glPopMatrix();
        });
    }

    Point Mm(const gl::FeedbackVertex& v) const {
        return {box_.x0 + v.x * (box_.x1 - box_.x0) / Width(), box_.y0 + v.y * (box_.y1 - box_.y0) / Height()};
    }

    // The distinct vertices of the primitives of one kind in that colour; a polygon
    // comes as the renderer's triangles, whose corners are the polygon's.
    std::vector<Point> Vertices(const std::vector<gl::FeedbackItem>& items, gl::FeedbackKind kind, Rgb colour) const {
        std::vector<Point> points;
        for (const gl::FeedbackItem& item : items) {
            if (item.kind != kind) continue;
            for (const gl::FeedbackVertex& v : item.vertices) {
                if (!SameColour(v, colour)) continue;
                const Point p = Mm(v);
                bool known = false;
                for (const Point& q : points)
                    known = known || (std::fabs(p.x - q.x) < 0.01 && std::fabs(p.y - q.y) < 0.01);
                if (!known) points.push_back(p);
            }
        }
        return points;
    }

    // The line segments in that colour, each as its two ends, in drawing order.
    std::vector<std::pair<Point, Point>> Segments(const std::vector<gl::FeedbackItem>& items, Rgb colour) const {
        std::vector<std::pair<Point, Point>> segments;
        for (const gl::FeedbackItem& item : items)
            if ((item.kind == gl::FeedbackKind::Line || item.kind == gl::FeedbackKind::LineReset) &&
                item.vertices.size() == 2 && SameColour(item.vertices[0], colour))
                segments.push_back({Mm(item.vertices[0]), Mm(item.vertices[1])});
        return segments;
    }

    int Width() const { return form_.OpGLPanel2->ClientWidth(); }
    int Height() const { return form_.OpGLPanel2->ClientHeight(); }

private:
    const DOVEREForm& form_;
    Box box_;
};

// The box of a Diagonal bay's detail view on its panel, worked out in double precision
// from the brace: the span of the brace and both plates' legs along the beam with 10 %
// around it, by the tallest of 4.5 D_j and the two legs along the column with 10 %,
// grown to the panel's shape; the brace's span centred, its axis 1.2 D_j up.
inline view_test::ViewBox DiagonalDetailBox(const TBraceValues& b, int cw, int ch) {
    const double span = double(b.L_brb) + b.down_L_h + b.up_L_h + 2.0 * b.D_j;
    const double w0 = 1.1 * span;
    const double h0 = 1.1 * std::max({4.5 * b.D_j, double(b.down_L_v), double(b.up_L_v)});
    double w = w0, h = h0;
    if (cw / w0 < ch / h0)
        h = ch * w0 / cw;
    else
        w = cw * h0 / ch;
    return {float(w), float(h), float((w - span) / 2), float(1.2 * b.D_j)};
}

// The pixel of the detail panel's last image that holds the view's point (x, y) mm,
// for the box and origin of the view drawn.
inline gl::Rgba PixelOf(const DOVEREForm& f, const view_test::ViewBox& box, float x, float y) {
    const TPanel& panel = *f.OpGLPanel2;
    const float px = (x + box.offset_x) * panel.ClientWidth() / box.width;
    const float py = (y + box.offset_y) * panel.ClientHeight() / box.height;
    return gl::PixelAt(panel.Surface(), static_cast<int>(std::floor(px)),
                       panel.ClientHeight() - 1 - static_cast<int>(std::floor(py)));
}

// The items of a record but those in one colour.
inline std::vector<gl::FeedbackItem> Without(const std::vector<gl::FeedbackItem>& items, Rgb colour) {
    std::vector<gl::FeedbackItem> kept;
    for (const gl::FeedbackItem& item : items)
        if (item.vertices.empty() || !view_test::SameColour(item.vertices[0], colour)) kept.push_back(item);
    return kept;
}

// The same primitives in the same order, each vertex within a hundredth of a pixel.
inline ::testing::AssertionResult SameRecord(const std::vector<gl::FeedbackItem>& actual,
                                             const std::vector<gl::FeedbackItem>& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " primitives, not " << expected.size();
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const gl::FeedbackItem &a = actual[i], &e = expected[i];
        bool same = a.kind == e.kind && a.vertices.size() == e.vertices.size();
        for (std::size_t k = 0; same && k < a.vertices.size(); ++k) {
            const gl::FeedbackVertex &u = a.vertices[k], &v = e.vertices[k];
            same = std::fabs(u.x - v.x) < 0.01f && std::fabs(u.y - v.y) < 0.01f && u.r == v.r && u.g == v.g &&
                   u.b == v.b && u.a == v.a;
        }
        if (!same) return ::testing::AssertionFailure() << "primitive " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

inline gl::Rgba Opaque(Rgb c) { return gl::OpaqueColor(c.r, c.g, c.b); }

// The detail panel's image after draw has drawn the box onto the cleared panel, the
// modelview matrix starting at the identity.
inline const ui::PixelImage& Render(const DOVEREForm& f, Box box, const std::function<void()>& draw) {
    EXPECT_TRUE(wglMakeCurrent(f.DetailDC, f.DetailRC));
    const TGlColor& bg = f.GlPalette.BackgroundColor;
    glClearColor(bg.R, bg.G, bg.B, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(box.x0, box.x1, box.y0, box.y1, 0, 1000);
    glViewport(0, 0, f.OpGLPanel2->ClientWidth(), f.OpGLPanel2->ClientHeight());
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    draw();
    glFlush();
    SwapBuffers(f.DetailDC);
    return f.OpGLPanel2->Surface();
}

}  // namespace detail_test
