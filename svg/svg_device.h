// The software Direct3D 11 device and the Direct2D device context one SVG load draws with.
#pragma once

#include "../platform/platform.h"

// Declared in creation order, so the members are released in reverse.
struct SvgDevice {
    ComPtr<ID3D11Device> device;
    ComPtr<ID3D11DeviceContext> immediateContext;
    ComPtr<IDXGIDevice> dxgiDevice;
    ComPtr<ID2D1Factory3> factory;
    ComPtr<ID2D1Device2> d2dDevice;
    ComPtr<ID2D1DeviceContext2> context2;
    ComPtr<ID2D1DeviceContext5> context;
};

// A WARP device, a single-threaded factory and a device context with per-primitive
// anti-aliasing. False when any of them cannot be had.
bool CreateSvgDevice(SvgDevice& out);
