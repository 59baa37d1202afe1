// OpenGlApi: finding the framebuffer objects of the current context.
#include "graphics/OpenGlApi.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool HasGlExtension(const char* extensions, const char* name) {
    if (!extensions) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + length, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}

template <typename Function>
bool OpenGlApi::Lookup(Function& function, const char* name, const char* suffix) {
    char full[64];
    std::snprintf(full, sizeof full, "%s%s", name, suffix);
    function = reinterpret_cast<Function>(LookupEntryPoint(full));
    return function != nullptr;
}

bool OpenGlApi::LoadFramebufferObjects() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const char* suffix = nullptr;
    if ((version && std::atoi(version) >= 3) || HasGlExtension(extensions, "GL_ARB_framebuffer_object")) {
        suffix = "";
    } else if (HasGlExtension(extensions, "GL_EXT_framebuffer_object") &&
               HasGlExtension(extensions, "GL_EXT_framebuffer_blit")) {
        suffix = "EXT";
    }
    if (!suffix) return false;
    // The EXT entry points take the same arguments and enum values.
    return Lookup(genFramebuffers_, "glGenFramebuffers", suffix) &&
           Lookup(deleteFramebuffers_, "glDeleteFramebuffers", suffix) &&
           Lookup(bindFramebuffer_, "glBindFramebuffer", suffix) &&
           Lookup(framebufferTexture2D_, "glFramebufferTexture2D", suffix) &&
           Lookup(checkFramebufferStatus_, "glCheckFramebufferStatus", suffix) &&
           Lookup(blitFramebuffer_, "glBlitFramebuffer", suffix);
}
