#include "image_library_binding.h"

namespace {

// Every build looks for the same names in the same order, the Vice City build's first.
constexpr const char* kLoadedNames[] = {
    "Ombrix.VC.asi", "Ombrix.asi", "Ombrix.SA.asi", "Ombrix.III.asi", "Ombrix.VC.dll", "Ombrix.dll",
};
constexpr const char* kLoadableNames[] = {
    "scripts\\Ombrix.VC.asi", "scripts\\Ombrix.asi", "scripts\\Ombrix.SA.asi",
    "scripts\\Ombrix.III.asi", "Ombrix.VC.asi",     "Ombrix.asi",
    "Ombrix.SA.asi",          "Ombrix.III.asi",
};

HMODULE imageLibrary = nullptr;

HMODULE FindImageLibrary() {
    for (const char* name : kLoadedNames)
        if (HMODULE module = GetModuleHandleA(name)) return module;
    for (const char* name : kLoadableNames)
        if (HMODULE module = LoadLibraryA(name)) return module;
    return nullptr;
}

}  // namespace

HMODULE BindImageLibrary() {
    if (!imageLibrary) imageLibrary = FindImageLibrary();
    return imageLibrary;
}
