// Windows Imaging Component substitute: the interfaces and methods the decoder uses.
#pragma once

#include "com.h"

typedef GUID WICPixelFormatGUID;
typedef REFGUID REFWICPixelFormatGUID;

enum WICDecodeOptions { WICDecodeMetadataCacheOnDemand = 0, WICDecodeMetadataCacheOnLoad = 1 };
enum WICBitmapDitherType { WICBitmapDitherTypeNone = 0 };
enum WICBitmapPaletteType { WICBitmapPaletteTypeCustom = 0 };
enum WICBitmapCreateCacheOption {
    WICBitmapNoCache = 0,
    WICBitmapCacheOnDemand = 1,
    WICBitmapCacheOnLoad = 2,
};
enum WICBitmapInterpolationMode {
    WICBitmapInterpolationModeNearestNeighbor = 0,
    WICBitmapInterpolationModeLinear = 1,
    WICBitmapInterpolationModeCubic = 2,
    WICBitmapInterpolationModeFant = 3,
};

struct WICRect {
    INT X;
    INT Y;
    INT Width;
    INT Height;
};

struct IWICPalette;

struct IWICBitmapSource : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize,
                                                 BYTE* buffer) = 0;

protected:
    ~IWICBitmapSource() = default;
};

struct IWICBitmapFrameDecode : IWICBitmapSource {
protected:
    ~IWICBitmapFrameDecode() = default;
};

struct IWICBitmapDecoder : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetFrame(UINT index, IWICBitmapFrameDecode** frame) = 0;

protected:
    ~IWICBitmapDecoder() = default;
};

struct IWICFormatConverter : IWICBitmapSource {
    virtual HRESULT STDMETHODCALLTYPE Initialize(IWICBitmapSource* source, REFWICPixelFormatGUID format,
                                                 WICBitmapDitherType dither, IWICPalette* palette,
                                                 double alphaThresholdPercent,
                                                 WICBitmapPaletteType paletteType) = 0;

protected:
    ~IWICFormatConverter() = default;
};

// A bitmap in memory; only read as a source here.
struct IWICBitmap : IWICBitmapSource {
protected:
    ~IWICBitmap() = default;
};

struct IWICBitmapScaler : IWICBitmapSource {
    virtual HRESULT STDMETHODCALLTYPE Initialize(IWICBitmapSource* source, UINT width, UINT height,
                                                 WICBitmapInterpolationMode mode) = 0;

protected:
    ~IWICBitmapScaler() = default;
};

struct IWICImagingFactory : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateDecoderFromFilename(LPCWSTR path, const GUID* vendor,
                                                                DWORD access,
                                                                WICDecodeOptions options,
                                                                IWICBitmapDecoder** decoder) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFormatConverter(IWICFormatConverter** converter) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateBitmapScaler(IWICBitmapScaler** scaler) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateBitmapFromSource(IWICBitmapSource* source,
                                                             WICBitmapCreateCacheOption option,
                                                             IWICBitmap** bitmap) = 0;

protected:
    ~IWICImagingFactory() = default;
};

#define WINCODEC_ERR_COMPONENTNOTFOUND ((HRESULT)0x88982F50)
#define WINCODEC_ERR_WRONGSTATE ((HRESULT)0x88982F04)
#define WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT ((HRESULT)0x88982F80)
#define WINCODEC_ERR_BADIMAGE ((HRESULT)0x88982F60)
#define WINCODEC_ERR_INSUFFICIENTBUFFER ((HRESULT)0x88982F8C)
#define WINCODEC_ERR_IMAGESIZEOUTOFRANGE ((HRESULT)0x88982F51)
#define WINCODEC_ERR_BADHEADER ((HRESULT)0x88982F61)
#define WINCODEC_ERR_FRAMEMISSING ((HRESULT)0x88982F62)
#define WINCODEC_ERR_UNSUPPORTEDOPERATION ((HRESULT)0x88982F81)

// Class, interface and pixel-format identities with the values wincodec.h gives them.
extern const CLSID CLSID_WICImagingFactory;
extern const CLSID CLSID_WICImagingFactory2;
extern const IID IID_IWICImagingFactory;
extern const IID IID_IWICBitmapSource;
extern const IID IID_IWICBitmapFrameDecode;
extern const IID IID_IWICBitmapDecoder;
extern const IID IID_IWICFormatConverter;
extern const IID IID_IWICBitmapScaler;
extern const IID IID_IWICBitmap;
extern const GUID GUID_WICPixelFormat24bppBGR;
extern const GUID GUID_WICPixelFormat32bppBGRA;
