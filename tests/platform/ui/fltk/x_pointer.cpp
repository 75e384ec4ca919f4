#include "x_pointer.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xfixes.h>

namespace testing_x {

bool SamePointer(const PointerImage& a, const PointerImage& b) {
    if (!a.name.empty() || !b.name.empty()) return a.name == b.name;
    return a.width == b.width && a.height == b.height && a.xhot == b.xhot && a.yhot == b.yhot && a.pixels == b.pixels;
}

std::string Describe(const PointerImage& image) {
    return std::to_string(image.width) + "x" + std::to_string(image.height) + ", hot spot " +
           std::to_string(image.xhot) + "," + std::to_string(image.yhot) +
           (image.name.empty() ? "" : ", \"" + image.name + "\"");
}

PointerProbe::PointerProbe() : display_(XOpenDisplay(nullptr)) {
    int events = 0, errors = 0;
    if (display_ && !XFixesQueryExtension(display_, &events, &errors)) {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
}

PointerProbe::~PointerProbe() {
    if (display_) XCloseDisplay(display_);
}

void PointerProbe::MoveTo(const Fl_Window* window, int x, int y) {
    XWarpPointer(display_, None, fl_xid(window), 0, 0, 0, 0, x, y);
    XSync(display_, False);
}

PointerImage PointerProbe::Shown() {
    XSync(display_, False);
    PointerImage image;
    XFixesCursorImage* shown = XFixesGetCursorImage(display_);
    if (!shown) return image;
    image.width = shown->width;
    image.height = shown->height;
    image.xhot = shown->xhot;
    image.yhot = shown->yhot;
    image.name = shown->name ? shown->name : "";
    image.pixels.assign(shown->pixels, shown->pixels + shown->width * shown->height);
    XFree(shown);
    return image;
}

PointerImage PointerProbe::OfShape(unsigned shape) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.cursor = XCreateFontCursor(display_, shape);
    const Window window = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 8, 8, 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWOverrideRedirect | CWCursor, &attributes);
    XMapRaised(display_, window);
    XWarpPointer(display_, None, window, 0, 0, 0, 0, 4, 4);
    PointerImage image = Shown();
    XDestroyWindow(display_, window);
    XFreeCursor(display_, attributes.cursor);
    XSync(display_, False);
    return image;
}

PointerImage PointerProbe::Wait() { return OfShape(XC_watch); }
PointerImage PointerProbe::Arrow() { return OfShape(XC_left_ptr); }

}  // namespace testing_x
