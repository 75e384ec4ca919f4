#include "platform/gl/wgl.h"

#include <GL/osmesa.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "platform/ui/controls.h"

namespace {

constexpr int kFormat = 1;
constexpr int kDepthBits = 24;
constexpr int kStencilBits = 8;
// Mesa's largest framebuffer side.
constexpr int kMaxSide = 16384;

struct DeviceContext {
    TPanel* panel = nullptr;
    int format = 0;
};

struct RenderingContext {
    OSMesaContext mesa = nullptr;
    TPanel* panel = nullptr;
    int width = 0;
    int height = 0;
    std::vector<GLubyte> buffer;  // OSMesa's layout: bottom row first
    bool current = false;
    std::thread::id thread;  // meaningful while current
};

// Never destroyed: contexts left at exit stay reachable, and nothing is torn down
// after Mesa's own clean-up.
struct Registry {
    std::mutex mutex;
    std::uintptr_t next_id = 1;
    std::map<std::uintptr_t, DeviceContext> dcs;
    std::map<std::uintptr_t, std::unique_ptr<RenderingContext>> rcs;
};

Registry& registry() {
    static Registry* r = new Registry;
    return *r;
}

thread_local std::uintptr_t current_rc = 0;

std::uintptr_t Id(HDC dc) { return reinterpret_cast<std::uintptr_t>(dc); }
std::uintptr_t Id(HGLRC rc) { return reinterpret_cast<std::uintptr_t>(rc); }

DeviceContext* FindDc(Registry& r, HDC dc) {
    auto it = r.dcs.find(Id(dc));
    return it == r.dcs.end() ? nullptr : &it->second;
}

RenderingContext* FindRc(Registry& r, std::uintptr_t id) {
    auto it = r.rcs.find(id);
    return it == r.rcs.end() ? nullptr : it->second.get();
}

// Leaves this thread without a current context; a failed bind ends here too, so that
// no drawing lands in a context the caller did not ask for.
void Unbind(Registry& r) {
    if (current_rc == 0) return;
    if (RenderingContext* rc = FindRc(r, current_rc)) rc->current = false;
    OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    current_rc = 0;
}

bool Bind(RenderingContext& rc) {
    return OSMesaMakeCurrent(rc.mesa, rc.buffer.data(), GL_UNSIGNED_BYTE, rc.width, rc.height) == GL_TRUE;
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// OSMesa keeps about 160 bytes of framebuffer records per context that it never
// frees; the leak checker should report only what this program loses.
extern "C" const char* __lsan_default_suppressions() { return "leak:libOSMesa.so\n"; }
#endif

HDC GetDC(TPanel* panel) {
    if (!panel) return nullptr;
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const std::uintptr_t id = r.next_id++;
    r.dcs[id] = DeviceContext{panel, 0};
    return reinterpret_cast<HDC>(id);
}

int ReleaseDC(TPanel* panel, HDC dc) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.dcs.find(Id(dc));
    if (it == r.dcs.end() || it->second.panel != panel) return 0;
    r.dcs.erase(it);
    return 1;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* d) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (!FindDc(r, dc) || !d) return 0;
    if (d->nSize != sizeof(PIXELFORMATDESCRIPTOR) || d->nVersion != 1) return 0;
    constexpr std::uint32_t supported = PFD_DOUBLEBUFFER | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (!(d->dwFlags & PFD_SUPPORT_OPENGL) || (d->dwFlags & ~supported)) return 0;
    if (d->iPixelType != PFD_TYPE_RGBA || d->iLayerType != PFD_MAIN_PLANE) return 0;
    if (d->cColorBits > 32 || d->cRedBits > 8 || d->cGreenBits > 8 || d->cBlueBits > 8 || d->cAlphaBits > 8)
        return 0;
    if (d->cDepthBits > kDepthBits || d->cStencilBits > kStencilBits) return 0;
    if (d->cAccumBits || d->cAccumRedBits || d->cAccumGreenBits || d->cAccumBlueBits || d->cAccumAlphaBits ||
        d->cAuxBuffers)
        return 0;
    return kFormat;
}

bool SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    DeviceContext* d = FindDc(r, dc);
    if (!d || format != kFormat) return false;
    if (d->format != 0 && d->format != format) return false;
    d->format = format;
    return true;
}

HGLRC wglCreateContext(HDC dc) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    DeviceContext* d = FindDc(r, dc);
    if (!d || d->format == 0) return nullptr;
    const int w = d->panel->ClientWidth();
    const int h = d->panel->ClientHeight();
    if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return nullptr;

    auto rc = std::make_unique<RenderingContext>();
    rc->panel = d->panel;
    rc->width = w;
    rc->height = h;
    try {
        rc->buffer.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    rc->mesa = OSMesaCreateContextExt(OSMESA_RGBA, kDepthBits, kStencilBits, 0, nullptr);
    if (!rc->mesa) return nullptr;
    const std::uintptr_t id = r.next_id++;
    r.rcs[id] = std::move(rc);
    return reinterpret_cast<HGLRC>(id);
}

bool wglMakeCurrent(HDC dc, HGLRC rc) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (!rc) {
        Unbind(r);
        return true;
    }
    if (Id(rc) == current_rc) {
        const DeviceContext* d = FindDc(r, dc);
        if (d && d->panel == FindRc(r, current_rc)->panel) return true;
        Unbind(r);
        return false;
    }
    Unbind(r);
    const DeviceContext* d = FindDc(r, dc);
    RenderingContext* c = FindRc(r, Id(rc));
    if (!d || !c || d->panel != c->panel || d->format != kFormat || c->current) return false;
    if (!Bind(*c)) {
        OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
        return false;
    }
    c->current = true;
    c->thread = std::this_thread::get_id();
    current_rc = Id(rc);
    return true;
}

bool wglDeleteContext(HGLRC rc) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.rcs.find(Id(rc));
    if (it == r.rcs.end()) return false;
    if (it->second->current) {
        if (it->second->thread != std::this_thread::get_id()) return false;
        Unbind(r);
    }
    OSMesaDestroyContext(it->second->mesa);
    r.rcs.erase(it);
    return true;
}

bool SwapBuffers(HDC dc) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const DeviceContext* d = FindDc(r, dc);
    RenderingContext* c = FindRc(r, current_rc);
    if (!d || !c || c->panel != d->panel) return false;

    glFinish();
    ui::PixelImage image;
    image.width = c->width;
    image.height = c->height;
    image.rgba.resize(c->buffer.size());
    const std::size_t row = static_cast<std::size_t>(c->width) * 4;
    for (int y = 0; y < c->height; ++y) {
        const GLubyte* from = c->buffer.data() + static_cast<std::size_t>(c->height - 1 - y) * row;
        std::uint8_t* to = image.rgba.data() + static_cast<std::size_t>(y) * row;
        std::memcpy(to, from, row);
        for (std::size_t a = 3; a < row; a += 4) to[a] = 255;
    }
    d->panel->SetSurface(std::move(image));
    return true;
}

namespace gl {

int LiveDeviceContexts() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return static_cast<int>(r.dcs.size());
}

int LiveRenderingContexts() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return static_cast<int>(r.rcs.size());
}

}  // namespace gl
