#pragma once

#include <dlfcn.h>

namespace zentaro {

// Looks up one function of a library opened with dlopen; false when missing.
template <typename Function>
bool Resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

} // namespace zentaro
