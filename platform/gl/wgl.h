#pragma once
// Rendering contexts on panels, with the names of the Windows context functions the
// drawing code is written against. Each context renders (OSMesa, software) into an
// RGBA buffer of its panel's client size; SwapBuffers copies that buffer into the
// panel's surface, which the desktop backend shows and tests read.
//
// Handles are numbers that are never reused, so a released or deleted handle is
// refused (null, 0 or false), never followed. Nothing here throws.
//
// A device context refers to its panel: release it before the panel is destroyed.
// Everything runs on one thread at a time per context; "current" is per thread.
#include <cstdint>

class TPanel;

struct HDC__;
struct HGLRC__;
using HDC = HDC__*;
using HGLRC = HGLRC__*;

struct PIXELFORMATDESCRIPTOR {
    std::uint16_t nSize;
    std::uint16_t nVersion;
    std::uint32_t dwFlags;
    std::uint8_t iPixelType;
    std::uint8_t cColorBits;
    std::uint8_t cRedBits;
    std::uint8_t cRedShift;
    std::uint8_t cGreenBits;
    std::uint8_t cGreenShift;
    std::uint8_t cBlueBits;
    std::uint8_t cBlueShift;
    std::uint8_t cAlphaBits;
    std::uint8_t cAlphaShift;
    std::uint8_t cAccumBits;
    std::uint8_t cAccumRedBits;
    std::uint8_t cAccumGreenBits;
    std::uint8_t cAccumBlueBits;
    std::uint8_t cAccumAlphaBits;
    std::uint8_t cDepthBits;
    std::uint8_t cStencilBits;
    std::uint8_t cAuxBuffers;
    std::uint8_t iLayerType;
    std::uint8_t bReserved;
    std::uint32_t dwLayerMask;
    std::uint32_t dwVisibleMask;
    std::uint32_t dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "callers set nSize to 40");

inline constexpr std::uint32_t PFD_DOUBLEBUFFER = 0x00000001;
inline constexpr std::uint32_t PFD_DRAW_TO_WINDOW = 0x00000004;
inline constexpr std::uint32_t PFD_SUPPORT_OPENGL = 0x00000020;
inline constexpr std::uint8_t PFD_TYPE_RGBA = 0;
inline constexpr std::uint8_t PFD_MAIN_PLANE = 0;

// The panel's device context; null for a null panel. Every call gives a new handle.
HDC GetDC(TPanel* panel);
// Gives back a device context taken from that panel: 1 when released, 0 when the
// handle is not a live device context of that panel.
int ReleaseDC(TPanel* panel, HDC dc);

// The format that meets the descriptor (1, the only one: RGBA with 8 bits a channel,
// 24 depth and 8 stencil bits, double-buffered, drawing to a panel), or 0 when the
// descriptor asks for more than it has or for something else (colour index, overlay
// planes, accumulation or auxiliary buffers, GDI or bitmap drawing, stereo).
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
// Gives the device context the format; false for an unknown format or handle, or when
// it already has another format. The descriptor is not read and may be null.
bool SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);

// A context for the device context's panel at its present client size; null when the
// device context is unknown or has no format, the panel has no client area (or one
// larger than 16384 on a side), or the renderer cannot make a context.
HGLRC wglCreateContext(HDC dc);
// Makes the context current on this thread, drawing into its buffer. A null context
// leaves no context current (true). False, and then no context is current, for an
// unknown or deleted handle, a device context of another panel than the context's,
// or a context current on another thread.
bool wglMakeCurrent(HDC dc, HGLRC rc);
// Frees the context (leaving no context current if it was this thread's); false for
// an unknown handle or a context current on another thread.
bool wglDeleteContext(HGLRC rc);

// Finishes the drawing of the context current on this thread and copies its buffer
// into the device context's panel (top row first, opaque). False when the current
// context is not one of that panel's.
bool SwapBuffers(HDC dc);

namespace gl {

// Live handles, for checking that a window gave back everything it took.
int LiveDeviceContexts();
int LiveRenderingContexts();

}  // namespace gl
