#include "svg_device.h"

bool CreateSvgDevice(SvgDevice& out) {
    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0};
    if (FAILED(D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_WARP, nullptr,
                                 D3D11_CREATE_DEVICE_BGRA_SUPPORT, levels, 2, D3D11_SDK_VERSION,
                                 out.device.Put(), nullptr, out.immediateContext.Put())))
        return false;
    if (FAILED(out.device->QueryInterface(IID_IDXGIDevice, out.dxgiDevice.PutVoid()))) return false;

    if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, IID_ID2D1Factory3, nullptr,
                                 out.factory.PutVoid())))
        return false;
    if (FAILED(out.factory->CreateDevice(out.dxgiDevice.Get(), out.d2dDevice.Put()))) return false;
    if (FAILED(out.d2dDevice->CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS_NONE,
                                                  out.context2.Put())))
        return false;
    if (FAILED(out.context2->QueryInterface(IID_ID2D1DeviceContext5, out.context.PutVoid())))
        return false;
    out.context->SetAntialiasMode(D2D1_ANTIALIAS_MODE_PER_PRIMITIVE);
    return true;
}
