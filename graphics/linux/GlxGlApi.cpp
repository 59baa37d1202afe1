// RealGlApi on the Linux desktop: OpenGlApi with entry points looked up
// through GLX, and a window that can copy a rectangle of its back buffer to
// the front where the server has GLX_MESA_copy_sub_buffer.
#include <GL/glx.h>

#include "graphics/OpenGlApi.h"

namespace {

class GlxGlApi final : public OpenGlApi {
public:
    bool LoadCopySubBuffer() override {
        copySubBuffer_ = nullptr;
        Display* display = glXGetCurrentDisplay();
        if (!display || !glXGetCurrentDrawable()) return false;
        if (!HasGlExtension(glXQueryExtensionsString(display, DefaultScreen(display)), "GLX_MESA_copy_sub_buffer"))
            return false;
        copySubBuffer_ = reinterpret_cast<CopySubBufferFunction>(LookupEntryPoint("glXCopySubBufferMESA"));
        return copySubBuffer_ != nullptr;
    }
    void CopySubBuffer(GLint x, GLint y, GLsizei width, GLsizei height) override {
        copySubBuffer_(glXGetCurrentDisplay(), glXGetCurrentDrawable(), x, y, width, height);
    }

protected:
    GlEntryPoint LookupEntryPoint(const char* name) override {
        return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
    }

private:
    using CopySubBufferFunction = void (*)(Display*, GLXDrawable, int, int, int, int);
    CopySubBufferFunction copySubBuffer_ = nullptr;
};

}  // namespace

GlApi& RealGlApi() {
    static GlApi* api = new GlxGlApi();
    return *api;
}
