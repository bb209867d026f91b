// Animations through the imaging component's GIF encoder: each picture with a palette of its
// own, its delay in the graphic control extension, and the looping application extension
// that players and browsers look for.
#include <propidl.h>

#include <climits>
#include <vector>

#include "../platform/platform.h"
#include "../raster/imaging_factory.h"
#include "../raster/wide_path.h"
#include "animated_image.h"

namespace sim {

const char kAnimationExtension[] = ".gif";

namespace {

// "NETSCAPE2.0", then sub-block 1 with the loop count (0 = forever), little-endian.
constexpr char kLoopApplication[] = "NETSCAPE2.0";

bool SetBytes(IWICMetadataQueryWriter* writer, const wchar_t* name, const unsigned char* bytes, ULONG count) {
    PROPVARIANT value;
    PropVariantInit(&value);
    value.vt = VT_UI1 | VT_VECTOR;
    value.caub.cElems = count;
    value.caub.pElems = const_cast<unsigned char*>(bytes);
    return SUCCEEDED(writer->SetMetadataByName(name, &value));
}

bool SetWord(IWICMetadataQueryWriter* writer, const wchar_t* name, USHORT word) {
    PROPVARIANT value;
    PropVariantInit(&value);
    value.vt = VT_UI2;
    value.uiVal = word;
    return SUCCEEDED(writer->SetMetadataByName(name, &value));
}

bool SetLooping(IWICBitmapEncoder* encoder, int loopCount) {
    ComPtr<IWICMetadataQueryWriter> writer;
    if (FAILED(encoder->GetMetadataQueryWriter(writer.Put()))) return false;
    const unsigned loops = loopCount < 0 ? 0u : loopCount > 0xFFFF ? 0xFFFFu : static_cast<unsigned>(loopCount);
    const unsigned char data[] = {3, 1, static_cast<unsigned char>(loops & 0xFF), static_cast<unsigned char>(loops >> 8),
                                  0};
    return SetBytes(writer.Get(), L"/appext/Application", reinterpret_cast<const unsigned char*>(kLoopApplication),
                    sizeof kLoopApplication - 1) &&
           SetBytes(writer.Get(), L"/appext/Data", data, sizeof data);
}

// One picture, shown for `centiseconds`, quantised to its own 256-colour palette.
bool AddFrame(IWICImagingFactory* factory, IWICBitmapEncoder* encoder, const Canvas& picture, USHORT centiseconds) {
    const UINT stride = picture.width * 4;
    ComPtr<IWICBitmap> bitmap;
    ComPtr<IWICPalette> palette;
    ComPtr<IWICFormatConverter> indexed;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IWICMetadataQueryWriter> writer;
    WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
    return SUCCEEDED(factory->CreateBitmapFromMemory(picture.width, picture.height, GUID_WICPixelFormat32bppBGRA,
                                                     stride, static_cast<UINT>(picture.bgra.size()),
                                                     const_cast<BYTE*>(picture.bgra.data()), bitmap.Put())) &&
           SUCCEEDED(factory->CreatePalette(palette.Put())) &&
           SUCCEEDED(palette->InitializeFromBitmap(bitmap.Get(), 256, FALSE)) &&
           SUCCEEDED(factory->CreateFormatConverter(indexed.Put())) &&
           SUCCEEDED(indexed->Initialize(bitmap.Get(), GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeNone,
                                         palette.Get(), 0, WICBitmapPaletteTypeCustom)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(picture.width, picture.height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           format == GUID_WICPixelFormat8bppIndexed && SUCCEEDED(frame->SetPalette(palette.Get())) &&
           SUCCEEDED(frame->GetMetadataQueryWriter(writer.Put())) &&
           SetWord(writer.Get(), L"/grctlext/Delay", centiseconds) &&
           SUCCEEDED(frame->WriteSource(indexed.Get(), nullptr)) && SUCCEEDED(frame->Commit());
}

bool Encode(IWICImagingFactory* factory, IWICStream* stream, const std::vector<Canvas>& frames,
            const AnimationOptions& options) {
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatGif, nullptr, encoder.Put())) ||
        FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) || !SetLooping(encoder.Get(), options.loopCount))
        return false;
    // A picture equal to the one before it lengthens that one's delay, as the WebP encoder folds it.
    for (size_t first = 0; first < frames.size();) {
        size_t next = first + 1;
        while (next < frames.size() && frames[next].bgra == frames[first].bgra) ++next;
        const unsigned centiseconds = static_cast<unsigned>((next - first) * options.frameMs / 10);
        if (!AddFrame(factory, encoder.Get(), frames[first],
                      static_cast<USHORT>(centiseconds > 0xFFFF ? 0xFFFF : centiseconds)))
            return false;
        first = next;
    }
    return SUCCEEDED(encoder->Commit());
}

}  // namespace

bool WriteAnimation(const std::string& path, const std::vector<Canvas>& frames, const AnimationOptions& options) {
    if (frames.empty()) return false;
    for (const Canvas& frame : frames)
        if (frame.width != frames[0].width || frame.height != frames[0].height || frame.width == 0 ||
            frame.height == 0 || frame.width > 0xFFFF || frame.height > 0xFFFF ||
            frame.bgra.size() != static_cast<size_t>(frame.width) * frame.height * 4)
            return false;
    std::vector<WCHAR> wide(32768);
    IWICImagingFactory* factory = SharedImagingFactoryOrCreate();
    if (!factory || !WidePathFromBytes(path.c_str(), wide.data(), static_cast<int>(wide.size()))) return false;
    bool opened = false, written = false;
    {
        ComPtr<IWICStream> stream;
        opened = SUCCEEDED(factory->CreateStream(stream.Put())) &&
                 SUCCEEDED(stream->InitializeFromFilename(wide.data(), GENERIC_WRITE));
        written = opened && Encode(factory, stream.Get(), frames, options);
    }
    // Half an animation is no picture to keep: the stream is closed by now, so it can go.
    if (opened && !written) DeleteFileW(wide.data());
    return written;
}

}  // namespace sim
