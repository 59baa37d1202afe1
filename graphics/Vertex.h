// gxtkVertex: the vertex layout of every client-side array the GL reads, the
// driver's batch and the presenter's quad alike, and how the GL is pointed at one.
#pragma once

#include "graphics/GlApi.h"

// One vertex: position, texture coordinate, premultiplied RGBA bytes.
struct gxtkVertex {
    float x, y, u, v;
    unsigned char colour[4];
};
static_assert(sizeof(gxtkVertex) == 20, "the GL arrays use a 20-byte stride");

// Points the GL's vertex, texture-coordinate and colour arrays at `vertices`
// and enables them.
inline void UseVertexArrays(GlApi& gl, const gxtkVertex* vertices) {
    gl.EnableClientState(GL_VERTEX_ARRAY);
    gl.VertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
    gl.EnableClientState(GL_TEXTURE_COORD_ARRAY);
    gl.TexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
    gl.EnableClientState(GL_COLOR_ARRAY);
    gl.ColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertices[0].colour);
}
