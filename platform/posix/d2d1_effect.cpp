// The Gaussian blur effect's properties, input and output.
#include <cstring>
#include <new>

#include "d2d1_resources.h"

const CLSID CLSID_D2D1GaussianBlur = {
    0x1FEB6D69, 0x2FE6, 0x4AC9, {0x8C, 0x58, 0x1D, 0x7F, 0x93, 0xE7, 0xA6, 0xA5}};

namespace substitute {
namespace {

const IID kIidImage = {0x65019F75, 0x8DA2, 0x497C, {0xB3, 0x2C, 0xDF, 0xA3, 0x4E, 0x48, 0xED, 0xE6}};
const IID kIidBitmap1 = {0xA898A84C, 0x3873, 0x4588, {0xB0, 0x8B, 0xEB, 0xBF, 0x97, 0x8D, 0xF0, 0x41}};
const IID kIidEffect = {0x28211A43, 0x7D89, 0x476F, {0x81, 0x81, 0x2D, 0x61, 0x59, 0xB2, 0x20, 0xAD}};

}  // namespace

bool Bitmap::Implements(REFIID iid) const { return iid == kIidBitmap1 || iid == kIidImage; }
bool EffectOutput::Implements(REFIID iid) const { return iid == kIidImage; }
bool BlurEffect::Implements(REFIID iid) const { return iid == kIidEffect; }

// Both properties are 4 bytes; the standard deviation is a float of 0 to 250.
HRESULT BlurEffect::SetValue(UINT32 index, D2D1_PROPERTY_TYPE type, const BYTE* data,
                             UINT32 dataSize) {
    if (!data || dataSize != 4) return E_INVALIDARG;
    if (index == D2D1_GAUSSIANBLUR_PROP_STANDARD_DEVIATION &&
        (type == D2D1_PROPERTY_TYPE_UNKNOWN || type == D2D1_PROPERTY_TYPE_FLOAT)) {
        float value = 0;
        std::memcpy(&value, data, 4);
        if (!(value >= 0.0f && value <= 250.0f)) return E_INVALIDARG;
        deviation = value;
        return S_OK;
    }
    if (index == D2D1_GAUSSIANBLUR_PROP_BORDER_MODE &&
        (type == D2D1_PROPERTY_TYPE_UNKNOWN || type == D2D1_PROPERTY_TYPE_ENUM)) {
        uint32_t value = 0;
        std::memcpy(&value, data, 4);
        if (value != D2D1_BORDER_MODE_SOFT && value != D2D1_BORDER_MODE_HARD) return E_INVALIDARG;
        borderMode = value;
        return S_OK;
    }
    return E_INVALIDARG;
}

void BlurEffect::SetInput(UINT32 index, ID2D1Image* input, BOOL) {
    if (index != 0) return;
    if (input) input->AddRef();
    input_ = ComPtr<ID2D1Image>::Adopt(input);
}

void BlurEffect::GetOutput(ID2D1Image** output) {
    *output = new (std::nothrow) EffectOutput(this);
}

}  // namespace substitute
