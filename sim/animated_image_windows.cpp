// Animations through the imaging component's GIF encoder: each picture with a palette of its
// own, its delay in the graphic control extension, and the looping application extension
// that players and browsers look for. The encoder is asked for both through its metadata;
// where it cannot take them (Wine's cannot), gif_timing.h puts them into the encoded bytes.
#include <propidl.h>

#include <climits>
#include <vector>

#include "../platform/platform.h"
#include "../raster/imaging_factory.h"
#include "../raster/wide_path.h"
#include "animated_image.h"
#include "gif_timing.h"

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

uint16_t LoopCount(int loopCount) {
    return static_cast<uint16_t>(loopCount < 0 ? 0 : loopCount > 0xFFFF ? 0xFFFF : loopCount);
}

bool SetLooping(IWICBitmapEncoder* encoder, uint16_t loops) {
    ComPtr<IWICMetadataQueryWriter> writer;
    if (FAILED(encoder->GetMetadataQueryWriter(writer.Put()))) return false;
    const unsigned char data[] = {3, 1, static_cast<unsigned char>(loops & 0xFF), static_cast<unsigned char>(loops >> 8),
                                  0};
    return SetBytes(writer.Get(), L"/appext/Application", reinterpret_cast<const unsigned char*>(kLoopApplication),
                    sizeof kLoopApplication - 1) &&
           SetBytes(writer.Get(), L"/appext/Data", data, sizeof data);
}

// The delay through the frame's metadata, where the encoder takes it.
void SetDelay(IWICBitmapFrameEncode* frame, USHORT centiseconds) {
    ComPtr<IWICMetadataQueryWriter> writer;
    if (SUCCEEDED(frame->GetMetadataQueryWriter(writer.Put()))) SetWord(writer.Get(), L"/grctlext/Delay", centiseconds);
}

// One picture, shown for `centiseconds`, quantised to its own 256-colour palette.
bool AddFrame(IWICImagingFactory* factory, IWICBitmapEncoder* encoder, const Canvas& picture, USHORT centiseconds) {
    const UINT stride = picture.width * 4;
    ComPtr<IWICBitmap> bitmap;
    ComPtr<IWICPalette> palette;
    ComPtr<IWICFormatConverter> indexed;
    ComPtr<IWICBitmapFrameEncode> frame;
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
           (SetDelay(frame.Get(), centiseconds), SUCCEEDED(frame->WriteSource(indexed.Get(), nullptr))) &&
           SUCCEEDED(frame->Commit());
}

// The GIF in memory: the pictures, each picture's delay in `delays` (a picture equal to the
// one before it lengthens that one's delay, as the WebP encoder folds it).
bool Encode(IWICImagingFactory* factory, const std::vector<Canvas>& frames, const AnimationOptions& options,
            std::vector<uint8_t>& gif, std::vector<uint16_t>& delays) {
    ComPtr<IStream> memory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, memory.Put())) || FAILED(factory->CreateStream(stream.Put())) ||
        FAILED(stream->InitializeFromIStream(memory.Get())) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatGif, nullptr, encoder.Put())) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)))
        return false;
    SetLooping(encoder.Get(), LoopCount(options.loopCount));
    for (size_t first = 0; first < frames.size();) {
        size_t next = first + 1;
        while (next < frames.size() && frames[next].bgra == frames[first].bgra) ++next;
        const unsigned centiseconds = static_cast<unsigned>((next - first) * options.frameMs / 10);
        delays.push_back(static_cast<uint16_t>(centiseconds > 0xFFFF ? 0xFFFF : centiseconds));
        if (!AddFrame(factory, encoder.Get(), frames[first], delays.back())) return false;
        first = next;
    }
    STATSTG stat{};
    ULONG read = 0;
    if (FAILED(encoder->Commit()) || FAILED(memory->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > INT32_MAX)
        return false;
    gif.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start{};
    return SUCCEEDED(memory->Seek(start, STREAM_SEEK_SET, nullptr)) &&
           SUCCEEDED(memory->Read(gif.data(), static_cast<ULONG>(gif.size()), &read)) && read == gif.size();
}

// The whole file or none: a write that fails removes what it began.
bool WriteWhole(const WCHAR* path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    const bool closed = CloseHandle(file);
    if (whole && closed) return true;
    DeleteFileW(path);
    return false;
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
    std::vector<uint8_t> gif;
    std::vector<uint16_t> delays;
    return Encode(factory, frames, options, gif, delays) && SetGifTiming(gif, delays, LoopCount(options.loopCount)) &&
           WriteWhole(wide.data(), gif);
}

}  // namespace sim
