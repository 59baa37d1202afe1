// An instrumented build of the image and Vorbis decoders from Debian's stb
// headers, linked into the fuzz targets in place of the shared library's copy.
// The loader hands the decoder nothing but PNG.
#define STBI_ONLY_PNG
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <stb_vorbis.h>
