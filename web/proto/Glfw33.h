// TEMPORARY until the platform seams land: GLFW 3.3 calls over emscripten's 3.2.
#pragma once
#include <GLFW/glfw3.h>
static inline void glfwGetMonitorContentScale(GLFWmonitor*, float* x, float* y) { *x = *y = 1; }
#define glfwGetKeyName(key, scancode) ((const char*)0)
