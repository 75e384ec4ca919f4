#include <gtest/gtest.h>

#include "platform/gl/gl.h"
#include "platform/gl/testing.h"
#include "platform/text/exception.h"
#include "view_fixture.h"

namespace {

using gl::FeedbackItem;
using gl::FeedbackKind;
using gl_test::View;

// The frame view's shape: 20 mm to a pixel over a 409 x 294 panel.
void MillimetreProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 8180, 0, 5880, 0, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

TEST(GlFeedback, LinesArriveInWindowCoordinates) {
    View view(409, 294);
    MillimetreProjection();
    const auto items = gl::RecordFeedback([] {
        glColor4f(0.2f, 1.0f, 1.0f, 0.8f);
        glBegin(GL_LINES);
        glVertex2f(1000, 2000);
        glVertex2f(5000, 4000);
        glEnd();
        glPassThrough(7);
        glPushMatrix();
        glTranslatef(6000, 0, 0);
        glScalef(-1, 1, 1);  // the mirror of a Chevron bay's right side
        glBegin(GL_LINE_STRIP);
        glVertex2f(0, 0);
        glVertex2f(1000, 0);
        glVertex2f(1000, 500);
        glEnd();
        glPopMatrix();
    });

    // Mesa records every segment as a plain line; either kind is a line.
    auto is_line = [](const FeedbackItem& item) {
        return item.kind == FeedbackKind::Line || item.kind == FeedbackKind::LineReset;
    };
    ASSERT_EQ(items.size(), 4u);
    EXPECT_TRUE(is_line(items[0]));
    ASSERT_EQ(items[0].vertices.size(), 2u);
    EXPECT_FLOAT_EQ(items[0].vertices[0].x, 50);
    EXPECT_FLOAT_EQ(items[0].vertices[0].y, 100);
    EXPECT_FLOAT_EQ(items[0].vertices[1].x, 250);
    EXPECT_FLOAT_EQ(items[0].vertices[1].y, 200);
    EXPECT_FLOAT_EQ(items[0].vertices[1].g, 1.0f);
    EXPECT_FLOAT_EQ(items[0].vertices[1].a, 0.8f);

    EXPECT_EQ(items[1].kind, FeedbackKind::PassThrough);
    EXPECT_EQ(items[1].marker, 7);
    EXPECT_TRUE(items[1].vertices.empty());

    EXPECT_TRUE(is_line(items[2]));
    EXPECT_TRUE(is_line(items[3]));
    EXPECT_FLOAT_EQ(items[2].vertices[0].x, 300);
    EXPECT_FLOAT_EQ(items[2].vertices[1].x, 250);
    EXPECT_FLOAT_EQ(items[3].vertices[1].x, 250);
    EXPECT_FLOAT_EQ(items[3].vertices[1].y, 25);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GlFeedback, PolygonsAndPointsAreRecordedAndNothingIsDrawn) {
    View view(409, 294);
    MillimetreProjection();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const auto items = gl::RecordFeedback([] {
        glColor3f(1, 0, 0);
        gl_test::FillRect(-100, -100, 9000, 9000);  // clipped to the box
        glBegin(GL_POINTS);
        glVertex2f(4090, 2940);
        glVertex2f(-10, 0);  // outside: not recorded
        glEnd();
    });
    ASSERT_TRUE(SwapBuffers(view.dc));
    EXPECT_EQ(gl::CountPixels(view.panel.Surface(), gl::OpaqueColor(0, 0, 0)), 409 * 294);

    float min_x = 1e9f, max_x = -1e9f, min_y = 1e9f, max_y = -1e9f;
    int polygons = 0, points = 0;
    for (const FeedbackItem& item : items) {
        if (item.kind == FeedbackKind::Point) {
            ++points;
            EXPECT_FLOAT_EQ(item.vertices.at(0).x, 204.5f);
            EXPECT_FLOAT_EQ(item.vertices.at(0).y, 147);
            continue;
        }
        ASSERT_EQ(item.kind, FeedbackKind::Polygon);
        ++polygons;
        EXPECT_GE(item.vertices.size(), 3u);
        for (const auto& v : item.vertices) {
            min_x = std::min(min_x, v.x), max_x = std::max(max_x, v.x);
            min_y = std::min(min_y, v.y), max_y = std::max(max_y, v.y);
            EXPECT_FLOAT_EQ(v.r, 1);
        }
    }
    EXPECT_GE(polygons, 1);
    EXPECT_EQ(points, 1);
    EXPECT_FLOAT_EQ(min_x, 0);
    EXPECT_FLOAT_EQ(max_x, 409);
    EXPECT_FLOAT_EQ(min_y, 0);
    EXPECT_FLOAT_EQ(max_y, 294);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GlFeedback, ALargeDrawingIsRecordedWhole) {
    View view(409, 294);
    MillimetreProjection();
    int runs = 0;
    const auto items = gl::RecordFeedback([&] {
        ++runs;
        glBegin(GL_LINES);
        for (int i = 0; i < 20000; ++i) {
            glVertex2f(0, 0);
            glVertex2f(20.0f * (i % 400), 5000);
        }
        glEnd();
    });
    EXPECT_GT(runs, 1) << "the first record is too small for this drawing";
    ASSERT_EQ(items.size(), 20000u);
    EXPECT_FLOAT_EQ(items.back().vertices[1].x, 399);
}

TEST(GlFeedback, FailuresLeaveTheContextInRenderMode) {
    View view(40, 30);
    EXPECT_THROW(gl::RecordFeedback([] { throw Exception("drawer failed"); }), Exception);
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    EXPECT_EQ(mode, GL_RENDER);

    // Nested recording is refused from inside; the outer one then ends cleanly.
    EXPECT_THROW(gl::RecordFeedback([] { gl::RecordFeedback([] {}); }), Exception);
    glGetIntegerv(GL_RENDER_MODE, &mode);
    EXPECT_EQ(mode, GL_RENDER);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    wglMakeCurrent(nullptr, nullptr);
    EXPECT_THROW(gl::RecordFeedback([] {}), Exception);
}

TEST(GlPixels, ChannelBytesMatchWhatTheRendererStores) {
    View view(4, 3);
    view.PixelProjection();
    const float channels[] = {0.0f,  1.0f, 0.5f, 0.732f, 0.888f, 0.928f, 0.3f, 0.1f,
                              0.7f,  0.35f, 0.25f, 0.6f, 0.8f,  0.2f,   -1.0f, 2.0f};
    for (float c : channels) {
        glClearColor(c, c, c, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(c, 1 - c, c);
        gl_test::FillRect(0, 0, 1, 1);
        ASSERT_TRUE(SwapBuffers(view.dc));
        EXPECT_EQ(gl::PixelAt(view.panel.Surface(), 3, 0), gl::OpaqueColor(c, c, c)) << "cleared " << c;
        EXPECT_EQ(gl::PixelAt(view.panel.Surface(), 0, 2), gl::OpaqueColor(c, 1 - c, c)) << "drawn " << c;
    }
}

TEST(GlPixels, PixelOutsideTheImageIsAnError) {
    ui::PixelImage image{2, 2, std::vector<std::uint8_t>(16, 0)};
    image.rgba[(1 * 2 + 0) * 4] = 9;  // column 0, row 1
    EXPECT_EQ(gl::PixelAt(image, 0, 1).r, 9);
    const int outside[][2] = {{-1, 0}, {0, -1}, {2, 0}, {0, 2}};
    for (const auto& p : outside) EXPECT_THROW(gl::PixelAt(image, p[0], p[1]), Exception);
    EXPECT_THROW(gl::PixelAt(ui::PixelImage{}, 0, 0), Exception);
    EXPECT_THROW(gl::PixelAt(ui::PixelImage{2, 2, {}}, 0, 0), Exception);
}

}  // namespace
