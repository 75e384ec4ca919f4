#include "platform/gl/testing.h"

#include <GL/osmesa.h>

#include <bit>
#include <cstddef>
#include <string>

#include "platform/text/exception.h"

namespace gl {

// Mesa's own conversion: the float sum puts value * 255, rounded to nearest even in
// single precision, into the low byte of the mantissa. A plain lround(value * 255)
// differs for 0.3 and 0.7, for example.
std::uint8_t ChannelByte(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 1.0f) return 255;
    const float biased = value * (255.0f / 256.0f) + 32768.0f;
    return static_cast<std::uint8_t>(std::bit_cast<std::uint32_t>(biased) & 0xFF);
}

Rgba OpaqueColor(float r, float g, float b) { return Rgba{ChannelByte(r), ChannelByte(g), ChannelByte(b), 255}; }

Rgba PixelAt(const ui::PixelImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height ||
        image.rgba.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4)
        throw Exception("No pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") in an image of " +
                        std::to_string(image.width) + " x " + std::to_string(image.height));
    const std::uint8_t* p = image.rgba.data() + (static_cast<std::size_t>(y) * image.width + x) * 4;
    return Rgba{p[0], p[1], p[2], p[3]};
}

int CountPixels(const ui::PixelImage& image, Rgba color) {
    int count = 0;
    for (std::size_t i = 0; i + 3 < image.rgba.size(); i += 4)
        if (Rgba{image.rgba[i], image.rgba[i + 1], image.rgba[i + 2], image.rgba[i + 3]} == color) ++count;
    return count;
}

namespace {

constexpr std::size_t kVertexFloats = 7;  // GL_3D_COLOR in RGBA mode
constexpr std::size_t kFirstSize = std::size_t{1} << 16;
constexpr std::size_t kMaxSize = std::size_t{1} << 26;

class Reader {
public:
    Reader(const std::vector<GLfloat>& data, std::size_t count) : data_(data), count_(count) {}
    bool More() const { return at_ < count_; }
    float Next() {
        if (at_ >= count_) throw Exception("The feedback record ends inside a primitive");
        return data_[at_++];
    }
    FeedbackVertex Vertex() {
        FeedbackVertex v;
        v.x = Next(), v.y = Next(), v.z = Next();
        v.r = Next(), v.g = Next(), v.b = Next(), v.a = Next();
        return v;
    }

private:
    const std::vector<GLfloat>& data_;
    std::size_t count_;
    std::size_t at_ = 0;
};

std::vector<FeedbackItem> Parse(const std::vector<GLfloat>& data, std::size_t count) {
    std::vector<FeedbackItem> items;
    Reader in(data, count);
    while (in.More()) {
        const auto token = static_cast<GLenum>(in.Next());
        FeedbackItem item;
        std::size_t vertices = 1;
        switch (token) {
        case GL_POINT_TOKEN: item.kind = FeedbackKind::Point; break;
        case GL_LINE_TOKEN: item.kind = FeedbackKind::Line, vertices = 2; break;
        case GL_LINE_RESET_TOKEN: item.kind = FeedbackKind::LineReset, vertices = 2; break;
        case GL_POLYGON_TOKEN:
            item.kind = FeedbackKind::Polygon;
            vertices = static_cast<std::size_t>(in.Next());
            break;
        case GL_BITMAP_TOKEN: item.kind = FeedbackKind::Bitmap; break;
        case GL_DRAW_PIXEL_TOKEN: item.kind = FeedbackKind::DrawPixels; break;
        case GL_COPY_PIXEL_TOKEN: item.kind = FeedbackKind::CopyPixels; break;
        case GL_PASS_THROUGH_TOKEN:
            item.kind = FeedbackKind::PassThrough;
            item.marker = in.Next();
            vertices = 0;
            break;
        default: throw Exception("Unknown feedback token " + std::to_string(token));
        }
        for (std::size_t i = 0; i < vertices; ++i) item.vertices.push_back(in.Vertex());
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

std::vector<FeedbackItem> RecordFeedback(const std::function<void()>& draw) {
    if (!OSMesaGetCurrentContext()) throw Exception("Feedback needs a current rendering context");
    GLint mode = 0;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode != GL_RENDER) throw Exception("Feedback needs the context in render mode");

    for (std::size_t size = kFirstSize;; size *= 4) {
        std::vector<GLfloat> buffer(size);
        glFeedbackBuffer(static_cast<GLsizei>(size), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        try {
            draw();
        } catch (...) {
            glRenderMode(GL_RENDER);
            throw;
        }
        const GLint used = glRenderMode(GL_RENDER);
        if (used >= 0) return Parse(buffer, static_cast<std::size_t>(used));
        if (size >= kMaxSize) throw Exception("The drawing records more feedback than a test can hold");
    }
}

}  // namespace gl
