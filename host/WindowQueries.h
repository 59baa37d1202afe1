// What the host asks the window system beyond opening a window and reading
// its events; a window system without the answer gives the neutral one.
// GLFW 3.3's answers on the Linux desktop (host/linux/GlfwWindowQueries.cpp).
#pragma once

// The primary monitor's content scale (the smaller of its two axes); 1 when
// there is no monitor or the window system does not say.
float PrimaryMonitorContentScale();
// The text the key types on the user's layout (GLFW's key name), or null
// when the window system cannot name it.
const char* KeyNameOnLayout(int key, int scancode);
