// D2D1CreateFactory, the factory and the Direct2D device.
#include <new>

#include "com_object.h"
#include "d2d1.h"
#include "substitute.h"

const IID IID_ID2D1Factory3 = GuidFromString("0869759F-4F00-413F-B03E-2BDA45404D0F");

namespace substitute {

// Made in d2d1_device_context.cpp.
ID2D1DeviceContext2* NewDeviceContext();

namespace {

const IID IID_ID2D1Device2 = GuidFromString("A44472E1-8DFB-4E60-8492-6E2861C9CA8B");

class Device final : public ComObject<ID2D1Device2> {
public:
    HRESULT STDMETHODCALLTYPE CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS options,
                                                  ID2D1DeviceContext2** context) override {
        if (!context) return E_POINTER;
        *context = nullptr;
        if (ShouldFail(Call::CreateDeviceContext)) return E_OUTOFMEMORY;
        if (options != D2D1_DEVICE_CONTEXT_OPTIONS_NONE) return E_INVALIDARG;
        *context = NewDeviceContext();
        return *context ? S_OK : E_OUTOFMEMORY;
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_ID2D1Device2; }
};

class Factory final : public ComObject<ID2D1Factory3> {
public:
    HRESULT STDMETHODCALLTYPE CreateDevice(IDXGIDevice* dxgiDevice, ID2D1Device2** device) override {
        if (!device) return E_POINTER;
        *device = nullptr;
        if (ShouldFail(Call::D2D1CreateDevice)) return E_OUTOFMEMORY;
        if (!dxgiDevice) return E_INVALIDARG;
        *device = new (std::nothrow) Device;
        return *device ? S_OK : E_OUTOFMEMORY;
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_ID2D1Factory3; }
};

}  // namespace
}  // namespace substitute

HRESULT WINAPI D2D1CreateFactory(D2D1_FACTORY_TYPE factoryType, REFIID iid,
                                 const D2D1_FACTORY_OPTIONS*, void** factory) {
    using namespace substitute;
    if (!factory) return E_POINTER;
    *factory = nullptr;
    if (ShouldFail(Call::D2D1CreateFactory)) return E_OUTOFMEMORY;
    if (factoryType != D2D1_FACTORY_TYPE_SINGLE_THREADED) return E_INVALIDARG;
    if (iid != IID_ID2D1Factory3) return E_NOINTERFACE;
    auto* created = new (std::nothrow) Factory;
    if (!created) return E_OUTOFMEMORY;
    *factory = static_cast<ID2D1Factory3*>(created);
    return S_OK;
}
