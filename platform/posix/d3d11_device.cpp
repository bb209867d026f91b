// The WARP-like Direct3D 11 device: textures in CPU memory, copies and mapping for reading.
#include <new>

#include "d3d11_cpu_texture.h"
#include "substitute.h"

const IID IID_IDXGIDevice = GuidFromString("54EC77FA-1377-44E6-8C32-88FD5F44C84C");

namespace substitute {
namespace {

const IID IID_ID3D11Device = GuidFromString("DB6F6DDB-AC77-4E88-8253-819DF9BBF140");
const IID IID_ID3D11DeviceContext = GuidFromString("C0BFA96C-E089-44FB-8EAF-26F8796190DA");

class DxgiDevice final : public ComObject<IDXGIDevice> {
private:
    bool Implements(REFIID iid) const override { return iid == IID_IDXGIDevice; }
};

class D3DDevice final : public ComObject<ID3D11Device> {
public:
    HRESULT STDMETHODCALLTYPE CreateTexture2D(const D3D11_TEXTURE2D_DESC* desc,
                                              const D3D11_SUBRESOURCE_DATA* initialData,
                                              ID3D11Texture2D** texture) override {
        if (!texture) return E_POINTER;
        *texture = nullptr;
        if (ShouldFail(Call::CreateTexture2D)) return E_OUTOFMEMORY;
        // Initial data is never given by the renderer, so it is not supported here.
        if (!desc || initialData) return E_INVALIDARG;
        HRESULT result = S_OK;
        *texture = CpuTexture::Create(*desc, result);
        return result;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out || iid != IID_IDXGIDevice) return ComObject<ID3D11Device>::QueryInterface(iid, out);
        *out = nullptr;
        if (ShouldFail(Call::QueryDxgiDevice)) return E_NOINTERFACE;
        DxgiDevice* dxgi = new (std::nothrow) DxgiDevice;
        if (!dxgi) return E_OUTOFMEMORY;
        *out = static_cast<IDXGIDevice*>(dxgi);
        return S_OK;
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_ID3D11Device; }
};

CpuTexture* OwnTexture(ID3D11Resource* resource) {
    return dynamic_cast<CpuTexture*>(static_cast<ID3D11Texture2D*>(resource));
}

class D3DContext final : public ComObject<ID3D11DeviceContext> {
public:
    HRESULT STDMETHODCALLTYPE Map(ID3D11Resource* resource, UINT subresource, D3D11_MAP mapType,
                                  UINT mapFlags, D3D11_MAPPED_SUBRESOURCE* mapped) override {
        if (mapped) *mapped = {};
        if (ShouldFail(Call::Map)) return E_OUTOFMEMORY;
        CpuTexture* texture = OwnTexture(resource);
        if (!texture || !mapped || subresource != 0 || mapType != D3D11_MAP_READ || mapFlags != 0 ||
            texture->Desc().Usage != D3D11_USAGE_STAGING || texture->mapped)
            return E_INVALIDARG;
        texture->mapped = true;
        // Only for reading, as the map type says: the memory may be the copied texture's too.
        mapped->pData = const_cast<uint8_t*>(texture->PixelsToRead());
        mapped->RowPitch = texture->RowPitch();
        mapped->DepthPitch = texture->RowPitch() * texture->Desc().Height;
        return S_OK;
    }

    void STDMETHODCALLTYPE Unmap(ID3D11Resource* resource, UINT) override {
        if (CpuTexture* texture = OwnTexture(resource)) texture->mapped = false;
    }

    // Like the real one it has no result: a mismatched pair is silently not copied.
    void STDMETHODCALLTYPE CopyResource(ID3D11Resource* destination,
                                        ID3D11Resource* source) override {
        CpuTexture* to = OwnTexture(destination);
        CpuTexture* from = OwnTexture(source);
        if (!to || !from || to == from || to->Desc().Width != from->Desc().Width ||
            to->Desc().Height != from->Desc().Height || to->mapped || from->mapped)
            return;
        to->CopyFrom(*from);
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_ID3D11DeviceContext; }
};

}  // namespace
}  // namespace substitute

HRESULT WINAPI D3D11CreateDevice(IDXGIAdapter* adapter, D3D_DRIVER_TYPE driverType,
                                 HMODULE software, UINT flags,
                                 const D3D_FEATURE_LEVEL* featureLevels, UINT featureLevelCount,
                                 UINT sdkVersion, ID3D11Device** device,
                                 D3D_FEATURE_LEVEL* reachedLevel,
                                 ID3D11DeviceContext** immediateContext) {
    using namespace substitute;
    if (device) *device = nullptr;
    if (immediateContext) *immediateContext = nullptr;
    if (ShouldFail(Call::D3D11CreateDevice)) return E_FAIL;
    // Only what the renderer asks for: the software rasteriser, with BGRA support.
    if (adapter || software || driverType != D3D_DRIVER_TYPE_WARP ||
        !(flags & D3D11_CREATE_DEVICE_BGRA_SUPPORT) || sdkVersion != D3D11_SDK_VERSION)
        return E_INVALIDARG;
    D3D_FEATURE_LEVEL reached = D3D_FEATURE_LEVEL_11_1;
    if (featureLevels && featureLevelCount > 0) reached = featureLevels[0];

    auto* newDevice = new (std::nothrow) D3DDevice;
    auto* newContext = new (std::nothrow) D3DContext;
    if (!newDevice || !newContext) {
        if (newDevice) newDevice->Release();
        if (newContext) newContext->Release();
        return E_OUTOFMEMORY;
    }
    if (reachedLevel) *reachedLevel = reached;
    // A caller may ask for either one alone; what it does not take is released at once.
    if (device)
        *device = newDevice;
    else
        newDevice->Release();
    if (immediateContext)
        *immediateContext = newContext;
    else
        newContext->Release();
    return S_OK;
}
