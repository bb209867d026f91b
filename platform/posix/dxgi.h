// DXGI substitute: the pixel format, the device the Direct2D factory takes and texture surfaces.
#pragma once

#include "com.h"

enum DXGI_FORMAT { DXGI_FORMAT_UNKNOWN = 0, DXGI_FORMAT_B8G8R8A8_UNORM = 87 };

struct DXGI_SAMPLE_DESC {
    UINT Count;
    UINT Quality;
};

struct IDXGIDevice : IUnknown {
protected:
    ~IDXGIDevice() = default;
};

// A texture seen as a surface; Direct2D draws into it.
struct IDXGISurface : IUnknown {
protected:
    ~IDXGISurface() = default;
};

extern const IID IID_IDXGIDevice;
extern const IID IID_IDXGISurface;
