// gxtkVertex: the vertex layout of every client-side array the GL reads, the
// driver's batch and the presenter's quad alike.
#pragma once

// One vertex: position, texture coordinate, premultiplied RGBA bytes.
struct gxtkVertex {
    float x, y, u, v;
    unsigned char colour[4];
};
static_assert(sizeof(gxtkVertex) == 20, "the GL arrays use a 20-byte stride");
