// c_App: the application base. Constructing it registers the one
// application and creates the delegate; the hooks run only from the
// delegate, and reach the devices through the accessors below.
#pragma once

#include "runtime/Object.h"

class c_InputDevice;
class AudioDevice;
class c_GraphicsContext;

class c_App : public Object {
public:
    // Raises "App has already been created" for a second application.
    c_App();
    ~c_App() override;

    virtual int OnCreate() { return 0; }
    virtual int OnUpdate() { return 0; }
    virtual int OnRender() { return 0; }
    // The program is about to end (close button, termination signal); the
    // application keeps what must not be lost. It must return.
    virtual void OnClose() {}

    // The process-wide devices; they exist from the start event on.
    c_InputDevice& Input() const;
    AudioDevice& Audio() const;
    c_GraphicsContext& Graphics() const;
};
