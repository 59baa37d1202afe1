// Object: the root of framework and application classes. Objects are shared
// by std::shared_ptr and never freed explicitly; the virtual destructor lets a
// shared_ptr<Object> release any derived class.
#pragma once

class Object {
public:
    virtual ~Object() = default;
};
