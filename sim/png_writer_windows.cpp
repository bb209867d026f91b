#include "png_writer.h"

#include "../platform/platform.h"
#include "../raster/wic_guids.h"

namespace sim {
namespace {

inline constexpr GUID kContainerFormatPng = {
    0x1B7CFAF4, 0x713F, 0x473C, {0xBB, 0xCD, 0x61, 0x37, 0x42, 0x5F, 0xAE, 0xAF}};

// COM for the writer's own calls, whatever the process already set up; balanced on leaving.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

// Encodes the pixels into the file `stream` was opened on.
bool EncodePng(IWICImagingFactory* factory, IWICStream* stream, UINT width, UINT height,
               const std::vector<uint8_t>& bgra) {
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(kContainerFormatPng, nullptr, encoder.Put())) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)))
        return false;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(encoder->CreateNewFrame(frame.Put(), options.Put())) ||
        FAILED(frame->Initialize(options.Get())) || FAILED(frame->SetSize(width, height)))
        return false;
    // The encoder may answer with a format of its own; anything but straight BGRA would change
    // the pixels.
    WICPixelFormatGUID format = kWicPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)) || format != kWicPixelFormat32bppBGRA)
        return false;
    const UINT stride = width * 4;
    return SUCCEEDED(frame->WritePixels(height, stride, stride * height,
                                        const_cast<BYTE*>(bgra.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

bool WritePngFromBgra(const std::string& path, uint32_t width, uint32_t height,
                      const std::vector<uint8_t>& bgra) {
    if (width == 0 || height == 0 || width > 0x3FFFFFFFu / height ||
        bgra.size() / 4 / width < height)
        return false;
    // The stand-in's arguments, and so its paths, come in the ANSI code page.
    WCHAR widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) == 0) return false;
    bool written = false;
    {
        ComScope com;
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        if (FAILED(CoCreateInstance(kClsidWicImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                    kIidWicImagingFactory, factory.PutVoid())) ||
            FAILED(factory->CreateStream(stream.Put())) ||
            FAILED(stream->InitializeFromFilename(widePath, GENERIC_WRITE)))
            return false;
        written = EncodePng(factory.Get(), stream.Get(), width, height, bgra);
    }
    // The stream is closed by now; a file cut short is no picture.
    if (!written) DeleteFileA(path.c_str());
    return written;
}

}  // namespace sim
