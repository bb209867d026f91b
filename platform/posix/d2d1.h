// Direct2D substitute: factory, device, device context, bitmaps over DXGI surfaces and the
// Gaussian blur effect, with the SDK's names and the subset of methods the renderer uses.
#pragma once

#include "com.h"
#include "d3d11.h"
#include "dxgi.h"
#include "shlwapi.h"

typedef float FLOAT;
typedef uint32_t UINT32;
typedef uint64_t UINT64;
typedef const WCHAR* PCWSTR;
typedef WCHAR* PWSTR;
typedef UINT64 D2D1_TAG;

struct D2D1_SIZE_F {
    FLOAT width;
    FLOAT height;
};
struct D2D1_POINT_2F {
    FLOAT x;
    FLOAT y;
};
struct D2D1_RECT_F {
    FLOAT left;
    FLOAT top;
    FLOAT right;
    FLOAT bottom;
};
struct D2D1_COLOR_F {
    FLOAT r;
    FLOAT g;
    FLOAT b;
    FLOAT a;
};
// x' = x * _11 + y * _21 + _31, y' = x * _12 + y * _22 + _32
struct D2D1_MATRIX_3X2_F {
    FLOAT _11, _12;
    FLOAT _21, _22;
    FLOAT _31, _32;
};

enum D2D1_FACTORY_TYPE { D2D1_FACTORY_TYPE_SINGLE_THREADED = 0, D2D1_FACTORY_TYPE_MULTI_THREADED = 1 };
enum D2D1_DEBUG_LEVEL { D2D1_DEBUG_LEVEL_NONE = 0 };
struct D2D1_FACTORY_OPTIONS {
    D2D1_DEBUG_LEVEL debugLevel;
};
enum D2D1_DEVICE_CONTEXT_OPTIONS { D2D1_DEVICE_CONTEXT_OPTIONS_NONE = 0 };
enum D2D1_ANTIALIAS_MODE { D2D1_ANTIALIAS_MODE_PER_PRIMITIVE = 0, D2D1_ANTIALIAS_MODE_ALIASED = 1 };
enum D2D1_ALPHA_MODE {
    D2D1_ALPHA_MODE_UNKNOWN = 0,
    D2D1_ALPHA_MODE_PREMULTIPLIED = 1,
    D2D1_ALPHA_MODE_STRAIGHT = 2,
    D2D1_ALPHA_MODE_IGNORE = 3,
};
enum D2D1_BITMAP_OPTIONS {
    D2D1_BITMAP_OPTIONS_NONE = 0,
    D2D1_BITMAP_OPTIONS_TARGET = 0x1,
    D2D1_BITMAP_OPTIONS_CANNOT_DRAW = 0x2,
    D2D1_BITMAP_OPTIONS_CPU_READ = 0x4,
};
inline D2D1_BITMAP_OPTIONS operator|(D2D1_BITMAP_OPTIONS a, D2D1_BITMAP_OPTIONS b) {
    return static_cast<D2D1_BITMAP_OPTIONS>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}
enum D2D1_INTERPOLATION_MODE {
    D2D1_INTERPOLATION_MODE_NEAREST_NEIGHBOR = 0,
    D2D1_INTERPOLATION_MODE_LINEAR = 1,
};
enum D2D1_COMPOSITE_MODE { D2D1_COMPOSITE_MODE_SOURCE_OVER = 0, D2D1_COMPOSITE_MODE_DESTINATION_OVER = 1 };
enum D2D1_PROPERTY_TYPE { D2D1_PROPERTY_TYPE_UNKNOWN = 0, D2D1_PROPERTY_TYPE_FLOAT = 5, D2D1_PROPERTY_TYPE_ENUM = 11 };
enum D2D1_BORDER_MODE { D2D1_BORDER_MODE_SOFT = 0, D2D1_BORDER_MODE_HARD = 1 };
enum D2D1_GAUSSIANBLUR_PROP {
    D2D1_GAUSSIANBLUR_PROP_STANDARD_DEVIATION = 0,
    D2D1_GAUSSIANBLUR_PROP_OPTIMIZATION = 1,
    D2D1_GAUSSIANBLUR_PROP_BORDER_MODE = 2,
};

struct D2D1_PIXEL_FORMAT {
    DXGI_FORMAT format;
    D2D1_ALPHA_MODE alphaMode;
};
struct ID2D1ColorContext;
struct D2D1_BITMAP_PROPERTIES1 {
    D2D1_PIXEL_FORMAT pixelFormat;
    FLOAT dpiX;
    FLOAT dpiY;
    D2D1_BITMAP_OPTIONS bitmapOptions;
    ID2D1ColorContext* colorContext;
};

struct ID2D1Resource : IUnknown {
protected:
    ~ID2D1Resource() = default;
};

struct ID2D1Image : ID2D1Resource {
protected:
    ~ID2D1Image() = default;
};

struct ID2D1Bitmap1 : ID2D1Image {
protected:
    ~ID2D1Bitmap1() = default;
};

struct ID2D1Effect : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(UINT32 index, D2D1_PROPERTY_TYPE type,
                                               const BYTE* data, UINT32 dataSize) = 0;
    virtual void STDMETHODCALLTYPE SetInput(UINT32 index, ID2D1Image* input, BOOL invalidate) = 0;
    virtual void STDMETHODCALLTYPE GetOutput(ID2D1Image** output) = 0;

protected:
    ~ID2D1Effect() = default;
};

struct ID2D1SvgDocument;

struct ID2D1DeviceContext2 : ID2D1Resource {
protected:
    ~ID2D1DeviceContext2() = default;
};

struct ID2D1DeviceContext5 : ID2D1DeviceContext2 {
    virtual void STDMETHODCALLTYPE SetTransform(const D2D1_MATRIX_3X2_F* transform) = 0;
    virtual void STDMETHODCALLTYPE SetAntialiasMode(D2D1_ANTIALIAS_MODE mode) = 0;
    // Runs the drawing batched so far; the first error since BeginDraw, as EndDraw reports it.
    virtual HRESULT STDMETHODCALLTYPE Flush(D2D1_TAG* tag1, D2D1_TAG* tag2) = 0;
    virtual void STDMETHODCALLTYPE Clear(const D2D1_COLOR_F* color) = 0;
    virtual void STDMETHODCALLTYPE BeginDraw() = 0;
    virtual HRESULT STDMETHODCALLTYPE EndDraw(D2D1_TAG* tag1, D2D1_TAG* tag2) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateBitmapFromDxgiSurface(
        IDXGISurface* surface, const D2D1_BITMAP_PROPERTIES1* properties, ID2D1Bitmap1** bitmap) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateEffect(REFCLSID effectId, ID2D1Effect** effect) = 0;
    virtual void STDMETHODCALLTYPE SetTarget(ID2D1Image* image) = 0;
    virtual void STDMETHODCALLTYPE DrawImage(ID2D1Image* image, const D2D1_POINT_2F* targetOffset,
                                             const D2D1_RECT_F* imageRectangle,
                                             D2D1_INTERPOLATION_MODE interpolationMode,
                                             D2D1_COMPOSITE_MODE compositeMode) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateSvgDocument(IStream* inputXmlStream,
                                                        D2D1_SIZE_F viewportSize,
                                                        ID2D1SvgDocument** document) = 0;
    virtual void STDMETHODCALLTYPE DrawSvgDocument(ID2D1SvgDocument* document) = 0;

protected:
    ~ID2D1DeviceContext5() = default;
};

struct ID2D1Device2 : ID2D1Resource {
    virtual HRESULT STDMETHODCALLTYPE CreateDeviceContext(D2D1_DEVICE_CONTEXT_OPTIONS options,
                                                          ID2D1DeviceContext2** context) = 0;

protected:
    ~ID2D1Device2() = default;
};

struct ID2D1Factory3 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateDevice(IDXGIDevice* dxgiDevice,
                                                   ID2D1Device2** device) = 0;

protected:
    ~ID2D1Factory3() = default;
};

HRESULT WINAPI D2D1CreateFactory(D2D1_FACTORY_TYPE factoryType, REFIID iid,
                                 const D2D1_FACTORY_OPTIONS* options, void** factory);

extern const IID IID_ID2D1Factory3;
extern const IID IID_ID2D1DeviceContext5;
extern const CLSID CLSID_D2D1GaussianBlur;

// The draw errors Direct2D reports at EndDraw.
#define D2DERR_WRONG_STATE ((HRESULT)0x88990001)
#define D2DERR_NOT_INITIALIZED ((HRESULT)0x88990002)
