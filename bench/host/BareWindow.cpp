// The yardstick for start-up time: a bare GLFW window with a GL context, made
// like the tracker's (640 x 475, fixed size, hidden until placed), cleared to
// the tracker's background colour and shown, then waiting until it is closed.
#define GLFW_INCLUDE_GLCOREARB
#include <GL/gl.h>
#include <GLFW/glfw3.h>

int main() {
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(640, 475, "bare window", nullptr, nullptr);
    if (!window) return 1;
    glfwShowWindow(window);
    glfwMakeContextCurrent(window);
    while (!glfwWindowShouldClose(window)) {
        glClearColor(86 / 255.0f, 60 / 255.0f, 106 / 255.0f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwWaitEvents();
    }
    glfwTerminate();
    return 0;
}
