// Direct3D 11 substitute: a WARP-like device whose textures are CPU buffers.
#pragma once

#include "com.h"
#include "dxgi.h"

enum D3D_DRIVER_TYPE { D3D_DRIVER_TYPE_UNKNOWN = 0, D3D_DRIVER_TYPE_HARDWARE = 1, D3D_DRIVER_TYPE_WARP = 5 };
enum D3D_FEATURE_LEVEL {
    D3D_FEATURE_LEVEL_10_0 = 0xa000,
    D3D_FEATURE_LEVEL_11_0 = 0xb000,
    D3D_FEATURE_LEVEL_11_1 = 0xb100,
};
enum D3D11_USAGE { D3D11_USAGE_DEFAULT = 0, D3D11_USAGE_STAGING = 3 };
enum D3D11_MAP { D3D11_MAP_READ = 1 };

#define D3D11_SDK_VERSION 7u
#define D3D11_CREATE_DEVICE_BGRA_SUPPORT 0x20u
#define D3D11_BIND_SHADER_RESOURCE 0x8u
#define D3D11_BIND_RENDER_TARGET 0x20u
#define D3D11_CPU_ACCESS_READ 0x20000u

struct D3D11_TEXTURE2D_DESC {
    UINT Width;
    UINT Height;
    UINT MipLevels;
    UINT ArraySize;
    DXGI_FORMAT Format;
    DXGI_SAMPLE_DESC SampleDesc;
    D3D11_USAGE Usage;
    UINT BindFlags;
    UINT CPUAccessFlags;
    UINT MiscFlags;
};

struct D3D11_SUBRESOURCE_DATA {
    const void* pSysMem;
    UINT SysMemPitch;
    UINT SysMemSlicePitch;
};

struct D3D11_MAPPED_SUBRESOURCE {
    void* pData;
    UINT RowPitch;  // bytes from one row to the next; wider than the row here
    UINT DepthPitch;
};

struct ID3D11Resource : IUnknown {
protected:
    ~ID3D11Resource() = default;
};

struct ID3D11Texture2D : ID3D11Resource {
    virtual void STDMETHODCALLTYPE GetDesc(D3D11_TEXTURE2D_DESC* desc) = 0;

protected:
    ~ID3D11Texture2D() = default;
};

struct ID3D11DeviceContext : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Map(ID3D11Resource* resource, UINT subresource,
                                          D3D11_MAP mapType, UINT mapFlags,
                                          D3D11_MAPPED_SUBRESOURCE* mapped) = 0;
    virtual void STDMETHODCALLTYPE Unmap(ID3D11Resource* resource, UINT subresource) = 0;
    virtual void STDMETHODCALLTYPE CopyResource(ID3D11Resource* destination,
                                                ID3D11Resource* source) = 0;

protected:
    ~ID3D11DeviceContext() = default;
};

struct ID3D11Device : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateTexture2D(const D3D11_TEXTURE2D_DESC* desc,
                                                      const D3D11_SUBRESOURCE_DATA* initialData,
                                                      ID3D11Texture2D** texture) = 0;

protected:
    ~ID3D11Device() = default;
};

struct IDXGIAdapter;

HRESULT WINAPI D3D11CreateDevice(IDXGIAdapter* adapter, D3D_DRIVER_TYPE driverType,
                                 HMODULE software, UINT flags,
                                 const D3D_FEATURE_LEVEL* featureLevels, UINT featureLevelCount,
                                 UINT sdkVersion, ID3D11Device** device,
                                 D3D_FEATURE_LEVEL* reachedLevel,
                                 ID3D11DeviceContext** immediateContext);

extern const IID IID_ID3D11Texture2D;
