// Backgrounds through the imaging component: decoded, made straight-alpha BGRA and scaled in one
// pass of converter and scaler.
#include "canvas.h"

#include <climits>
#include <utility>
#include <vector>

#include "../platform/platform.h"
#include "../raster/imaging_factory.h"
#include "../raster/wide_path.h"

namespace sim {

bool LoadBackground(const std::string& path, uint32_t width, uint32_t height, Canvas& canvas) {
    if (width == 0 || height == 0 || width > INT32_MAX / 4 / height) return false;
    std::vector<WCHAR> wide(32768);
    IWICImagingFactory* factory = SharedImagingFactoryOrCreate();
    if (!factory || !WidePathFromBytes(path.c_str(), wide.data(), static_cast<int>(wide.size()))) return false;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    ComPtr<IWICBitmapScaler> scaler;
    if (FAILED(factory->CreateDecoderFromFilename(wide.data(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.Put())) ||
        FAILED(decoder->GetFrame(0, frame.Put())) || FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(factory->CreateBitmapScaler(scaler.Put())) ||
        FAILED(scaler->Initialize(converter.Get(), width, height, WICBitmapInterpolationModeLinear)))
        return false;
    std::vector<uint8_t> bgra(static_cast<size_t>(width) * height * 4);
    if (FAILED(scaler->CopyPixels(nullptr, width * 4, static_cast<UINT>(bgra.size()), bgra.data()))) return false;
    canvas = LaidOverBackground(width, height, bgra);
    return true;
}

}  // namespace sim
