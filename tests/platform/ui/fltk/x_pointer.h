#pragma once
// What the X server shows as the pointer, read on a connection of the test's own
// through XFIXES: the real window's cursor, not what the backend meant to set.
#include <string>
#include <vector>

class Fl_Window;
struct _XDisplay;

namespace testing_x {

struct PointerImage {
    int width = 0, height = 0, xhot = 0, yhot = 0;
    std::string name;  // set by a cursor theme; empty for the core cursors
    std::vector<unsigned long> pixels;
};

// One shape: the same theme name, or the same image where no theme names them.
bool SamePointer(const PointerImage& a, const PointerImage& b);
std::string Describe(const PointerImage& image);

class PointerProbe {
public:
    PointerProbe();
    ~PointerProbe();
    PointerProbe(const PointerProbe&) = delete;
    PointerProbe& operator=(const PointerProbe&) = delete;

    // False when the display cannot be opened or has no XFIXES.
    bool Open() const { return display_ != nullptr; }
    // Puts the pointer at (x, y) of the window, as the user's mouse would.
    void MoveTo(const Fl_Window* window, int x, int y);
    // The pointer the server shows now.
    PointerImage Shown();
    // The wait and the arrow pointer of this display, as X itself makes them over a
    // window of the probe's own (the core shapes "watch" and "left_ptr").
    PointerImage Wait();
    PointerImage Arrow();

private:
    PointerImage OfShape(unsigned shape);
    _XDisplay* display_ = nullptr;
};

}  // namespace testing_x
