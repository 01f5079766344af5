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

// Opens the library soname and fills an Api of its functions with
// resolveAll(library, api); nullptr when the library is missing or
// resolveAll fails. Each Api is loaded once: call it to initialise a static.
template <typename Api, typename ResolveAll>
const Api* LoadLibraryApi(const char* soname, ResolveAll resolveAll)
{
    void* library = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    static Api loaded{};
    return resolveAll(library, loaded) ? &loaded : nullptr;
}

} // namespace zentaro
