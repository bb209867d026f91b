#include "image_library_binding.h"

namespace {

HMODULE imageLibrary = nullptr;

HMODULE FindImageLibrary() {
    for (const char* name : kImageLibraryLoadedNames)
        if (HMODULE module = GetModuleHandleA(name)) return module;
    for (const char* name : kImageLibraryLoadableNames)
        if (HMODULE module = LoadLibraryA(name)) return module;
    return nullptr;
}

}  // namespace

HMODULE BindImageLibrary() {
    if (!imageLibrary) imageLibrary = FindImageLibrary();
    return imageLibrary;
}
