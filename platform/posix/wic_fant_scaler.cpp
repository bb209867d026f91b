// The bitmap scaler: area averaging in the spirit of Fant's method. Each destination pixel is
// the coverage-weighted mean of the source pixels under its footprint, every channel on its
// own, rounded to nearest (halves up). Integer ratios give exact box means; upscaling repeats
// or blends the one or two source pixels a footprint falls on.
//
// Along an axis of `from` source and `to` destination pixels, one source pixel is `to` units
// wide and a destination footprint `from` units, so destination pixel d covers the units
// [d * from, (d + 1) * from) and every weight is a whole number of units: the sums are exact.
#include <algorithm>
#include <mutex>

#include "wic_objects.h"

namespace substitute {
namespace {

struct AxisCoverage {
    std::vector<UINT> first;        // first source pixel under each destination pixel
    std::vector<UINT> count;        // how many source pixels lie under it
    std::vector<size_t> offset;     // where its weights start in `weights`
    std::vector<uint32_t> weights;  // units of overlap, summing to `from` per destination pixel
};

AxisCoverage CoverageOf(UINT from, UINT to) {
    AxisCoverage axis;
    axis.first.resize(to);
    axis.count.resize(to);
    axis.offset.resize(to);
    axis.weights.reserve(size_t(from) + to);
    for (UINT d = 0; d < to; ++d) {
        const uint64_t begin = uint64_t(d) * from, end = begin + from;
        const UINT firstSource = UINT(begin / to), lastSource = UINT((end - 1) / to);
        axis.first[d] = firstSource;
        axis.count[d] = lastSource - firstSource + 1;
        axis.offset[d] = axis.weights.size();
        for (UINT s = firstSource; s <= lastSource; ++s) {
            uint64_t overlap = std::min(end, uint64_t(s + 1) * to) - std::max(begin, uint64_t(s) * to);
            axis.weights.push_back(uint32_t(overlap));
        }
    }
    return axis;
}

// One source row summed across each destination footprint: weight x value per channel.
void SumRowAcross(const BYTE* row, UINT bytesPerPixel, const AxisCoverage& across,
                  std::vector<uint32_t>& sums) {
    const size_t destWidth = across.first.size();
    for (size_t d = 0; d < destWidth; ++d) {
        const uint32_t* weight = &across.weights[across.offset[d]];
        const BYTE* pixel = row + size_t(across.first[d]) * bytesPerPixel;
        for (UINT c = 0; c < bytesPerPixel; ++c) {
            uint32_t sum = 0;
            for (UINT k = 0; k < across.count[d]; ++k) sum += weight[k] * pixel[k * bytesPerPixel + c];
            sums[d * bytesPerPixel + c] = sum;
        }
    }
}

SharedPixels ResampleByArea(const PixelImage& source, UINT width, UINT height) {
    const UINT bpp = source.bytesPerPixel;
    BYTE* out = nullptr;
    std::shared_ptr<PixelImage> result = AllocatePixelImage(width, height, bpp, &out);
    if (!result) return nullptr;
    const AxisCoverage across = CoverageOf(source.width, width);
    const AxisCoverage down = CoverageOf(source.height, height);
    const size_t rowValues = size_t(width) * bpp;
    const uint64_t total = uint64_t(source.width) * source.height;  // the weights of one pixel

    // Consecutive destination rows share source rows; the last two row sums are kept, in the
    // slot of their row's parity, so each is summed across once per neighbouring use.
    std::vector<uint32_t> rowSums[2] = {std::vector<uint32_t>(rowValues),
                                        std::vector<uint32_t>(rowValues)};
    int64_t rowInSlot[2] = {-1, -1};
    std::vector<uint64_t> column(rowValues);
    for (UINT d = 0; d < height; ++d) {
        std::fill(column.begin(), column.end(), 0);
        for (UINT k = 0; k < down.count[d]; ++k) {
            const UINT s = down.first[d] + k;
            const uint64_t weight = down.weights[down.offset[d] + k];
            const int slot = s & 1;
            if (rowInSlot[slot] != s) {
                SumRowAcross(source.pixels + size_t(s) * source.stride, bpp, across, rowSums[slot]);
                rowInSlot[slot] = s;
            }
            const uint32_t* sums = rowSums[slot].data();
            for (size_t i = 0; i < rowValues; ++i) column[i] += weight * sums[i];
        }
        for (size_t i = 0; i < rowValues; ++i) *out++ = BYTE((column[i] + total / 2) / total);
    }
    return result;
}

class FantScaler final : public BitmapSourceObject<IWICBitmapScaler> {
public:
    HRESULT STDMETHODCALLTYPE Initialize(IWICBitmapSource* source, UINT width, UINT height,
                                         WICBitmapInterpolationMode mode) override {
        if (ShouldFail(Call::ScalerInitialize)) return kInjectedWicFailure;
        if (source_) return WINCODEC_ERR_WRONGSTATE;
        if (!source || width == 0 || height == 0) return E_INVALIDARG;
        // Only Fant is substituted; the other modes would give other pixels on Windows.
        if (mode != WICBitmapInterpolationModeFant) return WINCODEC_ERR_UNSUPPORTEDOPERATION;
        if (!WithinImageLimits(width, height)) return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
        PixelSource* pixels = AsPixelSource(source);
        if (!pixels) return E_INVALIDARG;  // only sources of this substitute can be read
        UINT sourceWidth, sourceHeight;
        HRESULT hr = pixels->SourceSize(sourceWidth, sourceHeight);
        if (FAILED(hr)) return hr;
        source->AddRef();
        source_ = ComPtr<IWICBitmapSource>::Adopt(source);
        sourcePixels_ = pixels;
        width_ = width;
        height_ = height;
        return S_OK;
    }

    HRESULT SourceSize(UINT& width, UINT& height) override {
        if (!source_) return WINCODEC_ERR_WRONGSTATE;
        width = width_;
        height = height_;
        return S_OK;
    }
    HRESULT SourceBytesPerPixel(UINT& bytesPerPixel) override {
        if (!source_) return WINCODEC_ERR_WRONGSTATE;
        return sourcePixels_->SourceBytesPerPixel(bytesPerPixel);
    }
    HRESULT SourcePixels(SharedPixels& out) override {
        if (!source_) return WINCODEC_ERR_WRONGSTATE;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!scaled_) {
            SharedPixels in;
            HRESULT hr = sourcePixels_->SourcePixels(in);
            if (FAILED(hr)) return hr;
            bool sameSize = in->width == width_ && in->height == height_;
            scaled_ = sameSize ? in : ResampleByArea(*in, width_, height_);
            if (!scaled_) return E_OUTOFMEMORY;
        }
        out = scaled_;
        return S_OK;
    }

private:
    bool Implements(REFIID iid) const override {
        return iid == IID_IWICBitmapSource || iid == IID_IWICBitmapScaler;
    }

    ComPtr<IWICBitmapSource> source_;     // null until initialised
    PixelSource* sourcePixels_ = nullptr;  // the same object, read without counted calls
    UINT width_ = 0;
    UINT height_ = 0;
    std::mutex mutex_;
    SharedPixels scaled_;  // made on the first read, kept
};

}  // namespace

IWICBitmapScaler* NewFantScaler() { return new FantScaler; }

}  // namespace substitute
