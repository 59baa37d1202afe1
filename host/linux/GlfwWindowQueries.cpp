// The window queries over GLFW 3.3 (X11): the monitor's content scale and
// the layout's key names.
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include <algorithm>

#include "host/WindowQueries.h"

float PrimaryMonitorContentScale() {
    float contentScaleX = 1, contentScaleY = 1;
    if (GLFWmonitor* monitor = glfwGetPrimaryMonitor())
        glfwGetMonitorContentScale(monitor, &contentScaleX, &contentScaleY);
    return std::min(contentScaleX, contentScaleY);
}

const char* KeyNameOnLayout(int key, int scancode) { return glfwGetKeyName(key, scancode); }
