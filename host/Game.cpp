// BBGame: flags, update rate and the event wrappers.
#include "host/Game.h"

#include "io/TextFile.h"
#include "runtime/RuntimeError.h"

namespace {
BBGame* theGame = nullptr;
}

BBGame::BBGame() { theGame = this; }

BBGame::~BBGame() {
    if (theGame == this) theGame = nullptr;
}

BBGame* BBGame::Game() { return theGame; }

String BBGame::LoadString(const String& path) { return ::LoadString(path); }

void BBGame::GetWindowSize(int* width, int* height, int* framebufferWidth, int* framebufferHeight) {
    *width = *framebufferWidth = GetDeviceWidth();
    *height = *framebufferHeight = GetDeviceHeight();
}

void BBGame::ExitOnUncaught() { ::ExitOnUncaught(); }

// Language exceptions end the program with the uncaught-exception report;
// other C++ exceptions (std::bad_alloc and the like) take the same road
// instead of aborting without a word.
template <typename Deliver>
void BBGame::DeliverGuarded(Deliver deliver) {
    try {
        deliver();
    } catch (const ThrowableObject& exception) {
        ::ExitOnUncaught(exception);
    } catch (...) {
        ExitOnUncaught();
    }
    ReclaimAfterEvent();
}

void BBGame::StartApp() {
    if (started_) return;
    started_ = true;
    DeliverGuarded([this] {
        if (delegate_) delegate_->StartApp();
    });
}

void BBGame::SuspendApp() {
    if (!started_ || suspended_) return;
    suspended_ = true;
    DeliverGuarded([this] {
        if (delegate_) delegate_->SuspendApp();
    });
}

void BBGame::ResumeApp() {
    if (!started_ || !suspended_) return;
    suspended_ = false;
    DeliverGuarded([this] {
        if (delegate_) delegate_->ResumeApp();
    });
}

void BBGame::UpdateApp() {
    if (!started_ || suspended_) return;
    DeliverGuarded([this] {
        if (delegate_) delegate_->UpdateApp();
    });
}

void BBGame::RenderApp() {
    if (!started_) return;
    DeliverGuarded([this] {
        if (delegate_) delegate_->RenderApp();
    });
}

void BBGame::FirstFrameShown() {
    if (!started_) return;
    DeliverGuarded([this] {
        if (delegate_) delegate_->FirstFrameShown();
    });
}

void BBGame::KeyEvent(int event, int data) {
    if (!started_) return;
    DeliverGuarded([&] {
        if (delegate_) delegate_->KeyEvent(event, data);
    });
}

void BBGame::MouseEvent(int event, int data, float x, float y, float z) {
    if (!started_) return;
    DeliverGuarded([&] {
        if (delegate_) delegate_->MouseEvent(event, data, x, y, z);
    });
}

void BBGame::TouchEvent(int event, int data, float x, float y) {
    if (!started_) return;
    DeliverGuarded([&] {
        if (delegate_) delegate_->TouchEvent(event, data, x, y);
    });
}

void BBGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!started_) return;
    DeliverGuarded([&] {
        if (delegate_) delegate_->MotionEvent(event, data, x, y, z);
    });
}

void BBGame::ReleaseGraphics() {
    if (!started_) return;
    DeliverGuarded([this] {
        if (delegate_) delegate_->ReleaseGraphics();
    });
}
