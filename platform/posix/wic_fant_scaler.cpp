// The bitmap scaler: area averaging in the spirit of Fant's method. Each destination pixel is
// the coverage-weighted mean of the source pixels under its footprint, every channel on its
// own, rounded to nearest (halves up). Integer ratios give exact box means; upscaling repeats
// or blends the one or two source pixels a footprint falls on.
//
// Along an axis of `from` source and `to` destination pixels, one source pixel is `to` units
// wide and a destination footprint `from` units, so destination pixel d covers the units
// [d * from, (d + 1) * from) and every weight is a whole number of units: the sums are exact.
#include <algorithm>

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
            uint64_t overlap =
                std::min(end, uint64_t(s + 1) * to) - std::max(begin, uint64_t(s) * to);
            axis.weights.push_back(uint32_t(overlap));
        }
    }
    return axis;
}

// (n + total / 2) / total by one multiplication instead of a division per channel:
// (n + half) * (floor(2^65 / total) + 1) >> 65, exact while (n + half) * total < 2^65, which
// holds for every sum here (n <= 255 * total, total <= 2^28).
class RoundingDivider {
public:
    explicit RoundingDivider(uint64_t total)
        : half_(total / 2), multiplier_(((unsigned __int128)1 << 65) / total + 1) {}
    BYTE operator()(uint64_t n) const {
        return BYTE(((unsigned __int128)(n + half_) * multiplier_) >> 65);
    }

private:
    uint64_t half_;
    unsigned __int128 multiplier_;
};

// Rows first: the source rows under each destination row are summed down with their weights
// (contiguous, so the compiler vectorises it), then that one row is summed across.
template <UINT kBytesPerPixel>
void ResampleByArea(const PixelImage& source, const AxisCoverage& across, const AxisCoverage& down,
                    BYTE* out) {
    const UINT destWidth = UINT(across.first.size()), destHeight = UINT(down.first.size());
    const size_t rowValues = size_t(source.width) * kBytesPerPixel;
    const RoundingDivider divide(uint64_t(source.width) * source.height);
    std::vector<uint32_t> summedDown(rowValues);  // at most 255 x source height: fits
    for (UINT d = 0; d < destHeight; ++d) {
        std::fill(summedDown.begin(), summedDown.end(), 0);
        for (UINT k = 0; k < down.count[d]; ++k) {
            const uint32_t weight = down.weights[down.offset[d] + k];
            const BYTE* row = source.pixels + size_t(down.first[d] + k) * source.stride;
            for (size_t i = 0; i < rowValues; ++i) summedDown[i] += weight * row[i];
        }
        for (UINT x = 0; x < destWidth; ++x) {
            const uint32_t* weight = &across.weights[across.offset[x]];
            const uint32_t* pixel = &summedDown[size_t(across.first[x]) * kBytesPerPixel];
            uint64_t sums[kBytesPerPixel] = {};
            for (UINT k = 0; k < across.count[x]; ++k, pixel += kBytesPerPixel)
                for (UINT c = 0; c < kBytesPerPixel; ++c) sums[c] += uint64_t(weight[k]) * pixel[c];
            for (UINT c = 0; c < kBytesPerPixel; ++c) *out++ = divide(sums[c]);
        }
    }
}

SharedPixels ResampleByArea(const PixelImage& source, UINT width, UINT height) {
    BYTE* out = nullptr;
    std::shared_ptr<PixelImage> result =
        AllocatePixelImage(width, height, source.bytesPerPixel, &out);
    if (!result) return nullptr;
    const AxisCoverage across = CoverageOf(source.width, width);
    const AxisCoverage down = CoverageOf(source.height, height);
    if (source.bytesPerPixel == 4)
        ResampleByArea<4>(source, across, down, out);
    else
        ResampleByArea<3>(source, across, down, out);
    return result;
}

class FantScaler final : public DerivedSourceObject<IWICBitmapScaler> {
public:
    HRESULT STDMETHODCALLTYPE Initialize(IWICBitmapSource* source, UINT width, UINT height,
                                         WICBitmapInterpolationMode mode) override {
        if (ShouldFail(Call::ScalerInitialize)) return kInjectedWicFailure;
        if (IsInitialised()) return WINCODEC_ERR_WRONGSTATE;
        if (!source || width == 0 || height == 0) return E_INVALIDARG;
        // Only Fant is substituted; the other modes would give other pixels on Windows.
        if (mode != WICBitmapInterpolationModeFant) return WINCODEC_ERR_UNSUPPORTEDOPERATION;
        if (!WithinImageLimits(width, height)) return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
        HRESULT hr = Attach(source);
        if (FAILED(hr)) return hr;
        width_ = width;
        height_ = height;
        return S_OK;
    }

    HRESULT SourceSize(UINT& width, UINT& height) override {
        if (!IsInitialised()) return WINCODEC_ERR_WRONGSTATE;
        width = width_;
        height = height_;
        return S_OK;
    }
    HRESULT SourceBytesPerPixel(UINT& bytesPerPixel) override {
        if (!IsInitialised()) return WINCODEC_ERR_WRONGSTATE;
        return Source().SourceBytesPerPixel(bytesPerPixel);
    }
    HRESULT SourcePixels(SharedPixels& out) override {
        return KeptPixels(out, [this](const SharedPixels& in) {
            bool sameSize = in->width == width_ && in->height == height_;
            return sameSize ? in : ResampleByArea(*in, width_, height_);
        });
    }

private:
    bool Implements(REFIID iid) const override {
        return iid == IID_IWICBitmapSource || iid == IID_IWICBitmapScaler;
    }

    UINT width_ = 0;  // the size asked for, set once by Initialize
    UINT height_ = 0;
};

}  // namespace

IWICBitmapScaler* NewFantScaler() { return new FantScaler; }

}  // namespace substitute
