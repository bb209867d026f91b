// The Gaussian blur effect's properties, input and output.
#include <cstring>
#include <new>

#include "d2d1_resources.h"

const CLSID CLSID_D2D1GaussianBlur = GuidFromString("1FEB6D69-2FE6-4AC9-8C58-1D7F93E7A6A5");

namespace substitute {
namespace {

const IID IID_ID2D1Image = GuidFromString("65019F75-8DA2-497C-B32C-DFA34E48EDE6");
const IID IID_ID2D1Bitmap1 = GuidFromString("A898A84C-3873-4588-B08B-EBBF978DF041");
const IID IID_ID2D1Effect = GuidFromString("28211A43-7D89-476F-8181-2D6159B220AD");

}  // namespace

bool Bitmap::Implements(REFIID iid) const { return iid == IID_ID2D1Bitmap1 || iid == IID_ID2D1Image; }
bool EffectOutput::Implements(REFIID iid) const { return iid == IID_ID2D1Image; }
bool BlurEffect::Implements(REFIID iid) const { return iid == IID_ID2D1Effect; }

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
