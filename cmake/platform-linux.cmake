# The Linux desktop: GLFW 3.3 over X11, OpenGL through GLX, OpenAL Soft, the
# executable's folder from /proc, POSIX signals. Each ZRB_PLATFORM_<AREA>
# list names the files that stand behind that folder's platform seams; the
# folder's library adds them. Tests, tools and benchmarks build here.
pkg_check_modules(GLFW REQUIRED IMPORTED_TARGET glfw3)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
set(OpenGL_GL_PREFERENCE LEGACY)
find_package(OpenGL REQUIRED)
find_package(OpenAL REQUIRED)
find_package(X11 REQUIRED)

# io/AppDirectoryLookup.h
set(ZRB_PLATFORM_IO_SOURCES ${CMAKE_SOURCE_DIR}/io/linux/ExecutableDirectory.cpp)
# graphics/GlApi.h: RealGlApi
set(ZRB_PLATFORM_GRAPHICS_SOURCES ${CMAKE_SOURCE_DIR}/graphics/linux/GlxGlApi.cpp)
# audio/OpenAlApi.h: MakeOpenAlApi
set(ZRB_PLATFORM_AUDIO_SOURCES ${CMAKE_SOURCE_DIR}/audio/linux/OpenAlSoftApi.cpp)
# host/FrameLoop.h, host/TerminationRequests.h, host/WindowQueries.h
set(ZRB_PLATFORM_HOST_SOURCES
    ${CMAKE_SOURCE_DIR}/host/linux/X11FrameLoop.cpp
    ${CMAKE_SOURCE_DIR}/host/linux/TerminationSignals.cpp
    ${CMAKE_SOURCE_DIR}/host/linux/GlfwWindowQueries.cpp)
set(ZRB_PLATFORM_HOST_LIBS X11::X11 ${CMAKE_DL_LIBS})

set(ZRB_PLATFORM_TESTS_AND_TOOLS ON)
