// Test control of the platform substitute: failures on demand, call counts, live COM objects.
#pragma once

namespace substitute {

// Every substitute call that can fail on Windows.
enum class Call {
    MultiByteToWideChar,
    GetFileAttributesExA,
    GetFileAttributesA,
    CreateDirectoryA,
    DeleteFileA,
    CreateFileA,
    ReadFile,
    WriteFile,
    CoCreateInstance,
    CreateDecoderFromFilename,
    GetFrame,
    GetSize,
    CreateFormatConverter,
    ConverterInitialize,
    CreateBitmapFromSource,
    CreateBitmapScaler,
    ScalerInitialize,
    CopyPixels,
    D3D11CreateDevice,
    QueryDxgiDevice,
    D2D1CreateFactory,
    D2D1CreateDevice,
    CreateDeviceContext,
    QueryDeviceContext5,
    SHCreateMemStream,
    CreateSvgDocument,
    FindElementById,
    CreateTexture2D,
    QueryDxgiSurface,
    CreateBitmapFromDxgiSurface,
    EndDraw,
    Map,
    CreateEffect,
    SetAttributeValue,
    RemoveAttribute,
    VirtualProtect,
    GetModuleHandleA,
    GetModuleFileNameA,
    LoadLibraryA,
    GetProcAddress,
    GetPrivateProfileIntA,  // Windows' reader cannot fail: a failed read gives the default
    WritePrivateProfileStringA,
    MessageBoxA,  // a box that could not be shown answers 0
    Count
};

// The call fails once, after it has succeeded `successesFirst` more times.
void FailCall(Call call, int successesFirst = 0);
// The call fails every time from now until ResetSubstitute.
void FailCallAlways(Call call);
// Counts every attempt of the call, failed or not, since the last reset.
int CallCount(Call call);
// Clears failures, counts and the image side limit; live objects are not touched.
void ResetSubstitute();

// The call named as the enumerator is spelled ("VirtualProtect"); Count for an unknown name.
Call CallNamed(const char* name);
const char* CallName(Call call);  // "" for Count

// Consumes one attempt of `call`: true when it must fail. Used inside the substitute.
bool ShouldFail(Call call);

// COM objects created by the substitute and not yet released to zero.
long LiveComObjects();

// Handles from CreateFileA not yet given to CloseHandle.
long OpenFileHandles();

// The longest side the imaging substitute decodes or scales, 16384 until lowered; a platform
// has such a limit, and an image beyond it is refused before any pixel memory is taken.
// Stays set until ResetSubstitute.
void LimitImageSide(unsigned side);

}  // namespace substitute
