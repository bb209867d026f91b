// The bitmap scaler: area averaging in the spirit of Fant's method. Each destination pixel is
// the coverage-weighted mean of the source pixels under its footprint, every channel on its
// own, rounded to nearest (halves up). Integer ratios give exact box means; upscaling repeats
// or blends the one or two source pixels a footprint falls on.
//
// Along an axis of `from` source and `to` destination pixels, one source pixel is `to` units
// wide and a destination footprint `from` units, so destination pixel d covers the units
// [d * from, (d + 1) * from) and every weight is a whole number of units: the sums are exact.
#include <algorithm>
#include <cstring>
#include <exception>

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
// A total that is a power of two, as every level of a power-of-two image has, is a shift.
class RoundingDivider {
public:
    explicit RoundingDivider(uint64_t total)
        : half_(total / 2),
          multiplier_(((unsigned __int128)1 << 65) / total + 1),
          shift_((total & (total - 1)) == 0 ? __builtin_ctzll(total) : -1) {}
    BYTE operator()(uint64_t n) const {
        if (shift_ >= 0) return BYTE((n + half_) >> shift_);
        return BYTE(((unsigned __int128)(n + half_) * multiplier_) >> 65);
    }

private:
    uint64_t half_;
    unsigned __int128 multiplier_;
    int shift_;  // log2 of the total, or -1 when it is not a power of two
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

// Images up to this many pixels keep area sums (16 bytes a pixel) for whole-ratio levels.
constexpr uint64_t kMaxAreaSumPixels = uint64_t(1) << 20;

// Images up to this many pixels keep block sums for whole-factor levels; no sum can overflow.
constexpr uint64_t kMaxBlockSumPixels = uint64_t(1) << 20;

// The first halving of a four-channel chain, which reads every pixel: two pixels of two rows
// at a time, channels 0 and 2 and channels 1 and 3 summed side by side in 16-bit lanes.
inline void HalveBgra(const BYTE* in, size_t inPitch, UINT columns, UINT rows, uint32_t* out) {
    constexpr uint64_t kLanes = 0x00FF00FF00FF00FFull;
    for (UINT y = 0; y < rows; ++y) {
        const BYTE* top = in + size_t(y) * 2 * inPitch;
        const BYTE* bottom = top + inPitch;
        for (UINT x = 0; x < columns; ++x, top += 8, bottom += 8, out += 4) {
            uint64_t t, b;
            std::memcpy(&t, top, 8);
            std::memcpy(&b, bottom, 8);
            const uint64_t even = (t & kLanes) + (b & kLanes);
            const uint64_t odd = ((t >> 8) & kLanes) + ((b >> 8) & kLanes);
            const uint32_t evenSum = uint32_t(even) + uint32_t(even >> 32);
            const uint32_t oddSum = uint32_t(odd) + uint32_t(odd >> 32);
            out[0] = evenSum & 0xFFFF;
            out[1] = oddSum & 0xFFFF;
            out[2] = evenSum >> 16;
            out[3] = oddSum >> 16;
        }
    }
}

// Adds up blocks of stepX x stepY values of `in` (rows `inPitch` values apart) into `out`,
// one block after another; each block is summed in registers and stored once.
template <UINT kBytesPerPixel, class Value>
void AddBlocks(const Value* in, size_t inPitch, UINT columns, UINT rows, UINT stepX, UINT stepY,
               uint32_t* out) {
    if constexpr (kBytesPerPixel == 4 && sizeof(Value) == 1) {
        if (stepX == 2 && stepY == 2) {
            HalveBgra(in, inPitch, columns, rows, out);
            return;
        }
    }
    if (stepX == 2 && stepY == 2) {
        // The first halving of a chain reads every pixel: written out so it vectorises.
        const size_t rowValues = size_t(columns) * kBytesPerPixel;
        for (UINT y = 0; y < rows; ++y, out += rowValues) {
            const Value* top = in + size_t(y) * 2 * inPitch;
            const Value* bottom = top + inPitch;
            for (size_t v = 0; v < rowValues; ++v) {
                const size_t at = (v / kBytesPerPixel) * 2 * kBytesPerPixel + v % kBytesPerPixel;
                out[v] = uint32_t(top[at]) + top[at + kBytesPerPixel] + bottom[at] +
                         bottom[at + kBytesPerPixel];
            }
        }
        return;
    }
    for (UINT y = 0; y < rows; ++y) {
        const Value* blockRow = in + size_t(y) * stepY * inPitch;
        for (UINT x = 0; x < columns; ++x, out += kBytesPerPixel) {
            uint32_t acc[kBytesPerPixel] = {};
            const Value* block = blockRow + size_t(x) * stepX * kBytesPerPixel;
            for (UINT k = 0; k < stepY; ++k, block += inPitch)
                for (UINT i = 0; i < stepX; ++i)
                    for (UINT c = 0; c < kBytesPerPixel; ++c) acc[c] += block[i * kBytesPerPixel + c];
            for (UINT c = 0; c < kBytesPerPixel; ++c) out[c] = acc[c];
        }
    }
}

// Sums over blocks of factorX x factorY pixels, from the finer sums `from` (whose factors
// divide these) or, without them, from the pixels: each value is read once.
template <UINT kBytesPerPixel>
std::shared_ptr<BlockSums> SumBlocks(const PixelImage& image, const BlockSums* from, UINT factorX,
                                     UINT factorY) {
    auto to = std::make_shared<BlockSums>();
    to->factorX = factorX;
    to->factorY = factorY;
    to->columns = image.width / factorX;
    to->rows = image.height / factorY;
    to->sums.resize(size_t(to->columns) * to->rows * kBytesPerPixel);
    if (from)
        AddBlocks<kBytesPerPixel>(from->sums.data(), size_t(from->columns) * kBytesPerPixel,
                                  to->columns, to->rows, factorX / from->factorX,
                                  factorY / from->factorY, to->sums.data());
    else
        AddBlocks<kBytesPerPixel>(image.pixels, image.stride, to->columns, to->rows, factorX,
                                  factorY, to->sums.data());
    return to;
}

// The image's sums over blocks of factorX x factorY, built from the kept sums of an earlier
// level when their factors divide these; null when memory runs out.
template <UINT kBytesPerPixel>
std::shared_ptr<const BlockSums> BlockSumsOf(const PixelImage& image, UINT factorX,
                                             UINT factorY) {
    std::lock_guard<std::mutex> lock(image.blockSumsMutex);
    const BlockSums* kept = image.blockSums.get();
    if (kept && (factorX % kept->factorX != 0 || factorY % kept->factorY != 0)) kept = nullptr;
    try {
        image.blockSums = SumBlocks<kBytesPerPixel>(image, kept, factorX, factorY);
    } catch (const std::exception&) {
        return nullptr;
    }
    return image.blockSums;
}

// When each side shrinks by a whole factor, every destination pixel covers whole source
// pixels: its weighted sum is its block's sum times the units a source pixel weighs, so it
// is divided exactly as the weighted walk divides it and the pixels are the same.
template <UINT kBytesPerPixel>
bool ResampleWholeFactors(const PixelImage& source, UINT width, UINT height, BYTE* out) {
    const std::shared_ptr<const BlockSums> blocks =
        BlockSumsOf<kBytesPerPixel>(source, source.width / width, source.height / height);
    if (!blocks) return false;
    const RoundingDivider divide(uint64_t(source.width) * source.height);
    const uint64_t unitsPerSourcePixel = uint64_t(width) * height;
    for (uint32_t sum : blocks->sums) *out++ = divide(sum * unitsPerSourcePixel);
    return true;
}

bool ShrinksByWholeFactors(const PixelImage& source, UINT width, UINT height) {
    return width <= source.width && height <= source.height && source.width % width == 0 &&
           source.height % height == 0 &&
           uint64_t(source.width) * source.height <= kMaxBlockSumPixels;
}

SharedPixels ResampleByArea(const PixelImage& source, UINT width, UINT height) {
    BYTE* out = nullptr;
    std::shared_ptr<PixelImage> result =
        AllocatePixelImage(width, height, source.bytesPerPixel, &out);
    if (!result) return nullptr;
    if (ShrinksByWholeFactors(source, width, height)) {
        const bool summed = source.bytesPerPixel == 4
                                ? ResampleWholeFactors<4>(source, width, height, out)
                                : ResampleWholeFactors<3>(source, width, height, out);
        if (summed) return result;
    }
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
