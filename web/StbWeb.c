// The stb decoders and PNG writer for the page and its data generators:
// Debian's libstb holds native objects only, so emscripten builds them here
// from the same headers.
#define STBI_ONLY_PNG
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <stb_vorbis.h>
