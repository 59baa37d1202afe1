# The page (emcmake cmake): emscripten's GLFW 3.2 over a canvas, its OpenGL 1.x
# emulation over WebGL 1, its OpenAL over WebAudio, /app as the program's
# folder, the page's hide and leave events. The desktop's packages are stood
# in for by emscripten's own libraries (link options on imported targets) and
# by stb built from Debian's headers. No tests or tools: the page's tests
# drive it in a browser (tests/web), and the data generators are built in
# cmake/platform-web-targets.cmake.
# -O2: -O3 makes a larger page for no speed the tracker needs.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
# C++ exceptions work as on the desktop (emscripten's default ignores them).
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
# The data generators run under node at build time (3.1.6 would otherwise
# fetch the .wasm with node's fetch, which cannot read files).
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-experimental-fetch)

add_library(zrb_web_stb STATIC ${CMAKE_SOURCE_DIR}/web/StbWeb.c)
target_include_directories(zrb_web_stb SYSTEM PUBLIC /usr/include/stb)
target_compile_options(zrb_web_stb PRIVATE -w)

add_library(PkgConfig::STB INTERFACE IMPORTED)
set_target_properties(PkgConfig::STB PROPERTIES INTERFACE_LINK_LIBRARIES zrb_web_stb)
add_library(PkgConfig::GLFW INTERFACE IMPORTED)
set_target_properties(PkgConfig::GLFW PROPERTIES INTERFACE_LINK_OPTIONS "-sUSE_GLFW=3")
add_library(OpenGL::GL INTERFACE IMPORTED)
# GL_TESTING keeps the drawing buffer between frames (graphics/web/WebGlApi.cpp).
set_target_properties(OpenGL::GL PROPERTIES INTERFACE_LINK_OPTIONS "-sLEGACY_GL_EMULATION=1;-sGL_UNSAFE_OPTS=0;-sGL_TESTING=1")
add_library(OpenAL::OpenAL INTERFACE IMPORTED)
set_target_properties(OpenAL::OpenAL PROPERTIES INTERFACE_LINK_OPTIONS "-lopenal")

# io/AppDirectoryLookup.h
set(ZRB_PLATFORM_IO_SOURCES ${CMAKE_SOURCE_DIR}/io/web/PageDirectory.cpp)
# graphics/GlApi.h: RealGlApi
set(ZRB_PLATFORM_GRAPHICS_SOURCES ${CMAKE_SOURCE_DIR}/graphics/web/WebGlApi.cpp)
# audio/OpenAlApi.h: MakeOpenAlApi
set(ZRB_PLATFORM_AUDIO_SOURCES ${CMAKE_SOURCE_DIR}/audio/web/WebOpenAl.cpp)
# host/FrameLoop.h, host/TerminationRequests.h, host/WindowQueries.h
set(ZRB_PLATFORM_HOST_SOURCES
    ${CMAKE_SOURCE_DIR}/host/web/BrowserFrameLoop.cpp
    ${CMAKE_SOURCE_DIR}/host/web/PageTermination.cpp
    ${CMAKE_SOURCE_DIR}/host/web/PageWindowQueries.cpp)
set(ZRB_PLATFORM_HOST_LIBS)
