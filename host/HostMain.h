// HostMain: the program's start-up sequence around the one application
// object, which the caller constructs (and never frees) in createApplication.
#pragma once

#include <functional>

int HostMain(int argc, char** argv, const std::function<void()>& createApplication);
