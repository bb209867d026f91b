// Pixel storage and the CopyPixels checks shared by every substitute bitmap source.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "wic_objects.h"

namespace substitute {

namespace {
std::atomic<UINT> imageSideLimit{kMaxImageSide};
}  // namespace

void LimitImageSide(unsigned side) { imageSideLimit = std::min<unsigned>(side, kMaxImageSide); }

bool WithinImageLimits(UINT width, UINT height) {
    const UINT side = imageSideLimit;
    return width <= side && height <= side && uint64_t(width) * height <= kMaxImagePixels;
}

std::shared_ptr<PixelImage> AllocatePixelImage(UINT width, UINT height, UINT bytesPerPixel,
                                               BYTE** bytes) {
    if (!WithinImageLimits(width, height)) return nullptr;
    size_t size = size_t(width) * height * bytesPerPixel;
    void* block = std::malloc(size ? size : 1);
    if (!block) return nullptr;
    // Owned before anything else is allocated: a shared_ptr that cannot be made frees it.
    std::shared_ptr<void> storage(block, std::free);
    auto image = std::make_shared<PixelImage>();
    image->width = width;
    image->height = height;
    image->bytesPerPixel = bytesPerPixel;
    image->stride = size_t(width) * bytesPerPixel;
    image->storage = std::move(storage);
    image->pixels = static_cast<const BYTE*>(block);
    *bytes = static_cast<BYTE*>(block);
    return image;
}

HRESULT CopySourcePixels(PixelSource& source, const WICRect* rect, UINT stride, UINT bufferSize,
                         BYTE* buffer) {
    UINT width = 0, height = 0, bytesPerPixel = 0;
    HRESULT hr = source.SourceSize(width, height);
    if (FAILED(hr)) return hr;
    WICRect area = rect ? *rect : WICRect{0, 0, INT(width), INT(height)};
    if (!buffer || area.X < 0 || area.Y < 0 || area.Width <= 0 || area.Height <= 0 ||
        int64_t(area.X) + area.Width > width || int64_t(area.Y) + area.Height > height)
        return E_INVALIDARG;
    hr = source.SourceBytesPerPixel(bytesPerPixel);
    if (FAILED(hr)) return hr;

    const uint64_t rowBytes = uint64_t(area.Width) * bytesPerPixel;
    if (stride < rowBytes) return E_INVALIDARG;
    if (bufferSize < uint64_t(stride) * (area.Height - 1) + rowBytes)
        return WINCODEC_ERR_INSUFFICIENTBUFFER;

    SharedPixels image;
    hr = source.SourcePixels(image);
    if (FAILED(hr)) return hr;
    if (image->width != width || image->height != height || image->bytesPerPixel != bytesPerPixel)
        return WINCODEC_ERR_BADIMAGE;
    const BYTE* from =
        image->pixels + size_t(area.Y) * image->stride + size_t(area.X) * image->bytesPerPixel;
    for (INT row = 0; row < area.Height; ++row)
        std::memcpy(buffer + size_t(row) * stride, from + size_t(row) * image->stride, rowBytes);
    return S_OK;
}

}  // namespace substitute
