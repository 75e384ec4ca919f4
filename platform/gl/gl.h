#pragma once
// OpenGL 1.1 for the drawing code, with the context functions. The calls reach
// Mesa's software renderer through the OSMesa library; never link libGL beside it.
#include <GL/gl.h>

#include "platform/gl/wgl.h"
