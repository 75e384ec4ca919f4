#!/usr/bin/env python3
"""Tells which pointer the X server on $DISPLAY shows, read through XFIXES as it is on
screen: "wait", "arrow" or "other WxH".

  x-pointer.py references FILE   keeps X's own wait and arrow pointers in FILE, each
                                 read over a small window of this script's own; the
                                 pointer goes back where it was
  x-pointer.py shown FILE        the pointer shown now, against those in FILE

Without a cursor theme X's pointers are still images that compare exactly: start the
program under test with XCURSOR_PATH set empty, as this script does for itself."""
import ctypes
import json
import os
import sys

os.environ["XCURSOR_PATH"] = ""

XC_LEFT_PTR = 68
XC_WATCH = 150
CW_OVERRIDE_REDIRECT = 1 << 9
CW_CURSOR = 1 << 14


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


class WindowAttributes(ctypes.Structure):
    _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("cursor", ctypes.c_ulong)]


def load():
    x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
    fixes = ctypes.cdll.LoadLibrary("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XCreateFontCursor.restype = ctypes.c_ulong
    x11.XCreateFontCursor.argtypes = [ctypes.c_void_p, ctypes.c_uint]
    x11.XCreateWindow.restype = ctypes.c_ulong
    x11.XCreateWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_uint, ctypes.c_void_p,
                                  ctypes.c_ulong, ctypes.POINTER(WindowAttributes)]
    for name in ("XMapRaised", "XDestroyWindow", "XFreeCursor"):
        getattr(x11, name).argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XWarpPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                 ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]
    x11.XQueryPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XFree.argtypes = [ctypes.c_void_p]
    fixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    fixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("x-pointer.py: cannot open the display " + os.environ.get("DISPLAY", "(none)"))
    return x11, fixes, display


def shown(x11, fixes, display):
    x11.XSync(display, 0)
    image = fixes.XFixesGetCursorImage(display)
    if not image:
        sys.exit("x-pointer.py: the server gave no pointer image (no XFIXES?)")
    i = image.contents
    result = {"size": [i.width, i.height], "hot": [i.xhot, i.yhot],
              "pixels": [i.pixels[k] for k in range(i.width * i.height)]}
    x11.XFree(image)
    return result


def of_shape(x11, fixes, display, shape):
    root = x11.XDefaultRootWindow(display)
    attributes = WindowAttributes()
    attributes.override_redirect = 1
    attributes.cursor = x11.XCreateFontCursor(display, shape)
    window = x11.XCreateWindow(display, root, 0, 0, 8, 8, 0, 0, 1, None, CW_OVERRIDE_REDIRECT | CW_CURSOR,
                               ctypes.byref(attributes))
    x11.XMapRaised(display, window)
    x11.XWarpPointer(display, 0, window, 0, 0, 0, 0, 4, 4)
    image = shown(x11, fixes, display)
    x11.XDestroyWindow(display, window)
    x11.XFreeCursor(display, attributes.cursor)
    return image


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("references", "shown"):
        sys.exit("usage: x-pointer.py references|shown FILE")
    x11, fixes, display = load()
    if sys.argv[1] == "references":
        root = x11.XDefaultRootWindow(display)
        at = [ctypes.c_int() for _ in range(4)]
        ignored = [ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_uint()]
        x11.XQueryPointer(display, root, ctypes.byref(ignored[0]), ctypes.byref(ignored[1]), ctypes.byref(at[0]),
                          ctypes.byref(at[1]), ctypes.byref(at[2]), ctypes.byref(at[3]), ctypes.byref(ignored[2]))
        references = {"wait": of_shape(x11, fixes, display, XC_WATCH),
                      "arrow": of_shape(x11, fixes, display, XC_LEFT_PTR)}
        x11.XWarpPointer(display, 0, root, 0, 0, 0, 0, at[0].value, at[1].value)
        x11.XSync(display, 0)
        with open(sys.argv[2], "w") as out:
            json.dump(references, out)
        return
    with open(sys.argv[2]) as kept:
        references = json.load(kept)
    now = shown(x11, fixes, display)
    for name, image in references.items():
        if image == now:
            print(name)
            return
    print("other %dx%d" % tuple(now["size"]))


if __name__ == "__main__":
    main()
