// The imaging factory: opens a file by its wide path, picks the decoder from the file's first
// bytes (never from its name), and makes converters and scalers. Also the WIC identities.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "kernel32.h"
#include "posix_paths.h"
#include "utf16_text.h"
#include "wic_objects.h"

const CLSID CLSID_WICImagingFactory = {
    0xCACAF262, 0x9370, 0x4615, {0xA1, 0x3B, 0x9F, 0x55, 0x39, 0xDA, 0x4C, 0x0A}};
const CLSID CLSID_WICImagingFactory2 = {
    0x317D06E8, 0x5F24, 0x433D, {0xBD, 0xF7, 0x79, 0xCE, 0x68, 0xD8, 0xAB, 0xC2}};
const IID IID_IWICImagingFactory = {
    0xEC5EC8A9, 0xC395, 0x4314, {0x9C, 0x77, 0x54, 0xD7, 0xA9, 0x35, 0xFF, 0x70}};
const IID IID_IWICBitmapSource = {
    0x00000120, 0xA8F2, 0x4877, {0xBA, 0x0A, 0xFD, 0x2B, 0x66, 0x45, 0xFB, 0x94}};
const IID IID_IWICBitmapFrameDecode = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xA8, 0x13, 0x3D, 0x93, 0x0C, 0x13, 0xB9, 0x40}};
const IID IID_IWICBitmapDecoder = {
    0x9EDDE9E7, 0x8DEE, 0x47EA, {0x99, 0xDF, 0xE6, 0xFA, 0xF2, 0xED, 0x44, 0xBF}};
const IID IID_IWICFormatConverter = {
    0x00000301, 0xA8F2, 0x4877, {0xBA, 0x0A, 0xFD, 0x2B, 0x66, 0x45, 0xFB, 0x94}};
const IID IID_IWICBitmapScaler = {
    0x00000302, 0xA8F2, 0x4877, {0xBA, 0x0A, 0xFD, 0x2B, 0x66, 0x45, 0xFB, 0x94}};
const IID IID_IWICBitmap = {
    0x00000121, 0xA8F2, 0x4877, {0xBA, 0x0A, 0xFD, 0x2B, 0x66, 0x45, 0xFB, 0x94}};
const GUID GUID_WICPixelFormat24bppBGR = {
    0x6FDDC324, 0x4E03, 0x4BFE, {0xB1, 0x85, 0x3D, 0x77, 0x76, 0x8D, 0xC9, 0x0C}};
const GUID GUID_WICPixelFormat32bppBGRA = {
    0x6FDDC324, 0x4E03, 0x4BFE, {0xB1, 0x85, 0x3D, 0x77, 0x76, 0x8D, 0xC9, 0x0F}};

namespace substitute {
namespace {

// The formats Windows decodes without extra codecs, told apart by their first bytes, with the
// gdk-pixbuf loader that reads each.
struct Signature {
    const char* bytes;
    size_t size;
    const char* codec;
};
constexpr Signature kSignatures[] = {
    {"\x89PNG\r\n\x1A\n", 8, "png"},
    {"\xFF\xD8\xFF", 3, "jpeg"},
    {"GIF87a", 6, "gif"},
    {"GIF89a", 6, "gif"},
    {"BM", 2, "bmp"},
    {"II*\0", 4, "tiff"},
    {"MM\0*", 4, "tiff"},
    {"\0\0\1\0", 4, "ico"},
};

const char* CodecForContent(const std::vector<uint8_t>& bytes) {
    for (const Signature& s : kSignatures)
        if (bytes.size() >= s.size && std::memcmp(bytes.data(), s.bytes, s.size) == 0)
            return s.codec;
    return nullptr;
}

// Larger files are refused unread, so no file size turns into an allocation of that size.
constexpr off_t kMaxImageFileBytes = off_t(256) << 20;

// The whole file, or the HRESULT Windows gives for why it cannot be read.
HRESULT ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return HRESULT_FROM_WIN32(Win32ErrorFromErrno(errno, path));
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        close(fd);
        return E_ACCESSDENIED;
    }
    if (st.st_size > kMaxImageFileBytes) {
        close(fd);
        return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
    }
    bytes.resize(size_t(st.st_size));
    size_t total = 0;
    while (total < bytes.size()) {
        ssize_t got = read(fd, bytes.data() + total, bytes.size() - total);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        total += size_t(got);
    }
    close(fd);
    bytes.resize(total);  // a file that shrank meanwhile is taken as it now is
    return S_OK;
}

class ImagingFactory final : public ComObject<IWICImagingFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateDecoderFromFilename(LPCWSTR path, const GUID*, DWORD access,
                                                        WICDecodeOptions options,
                                                        IWICBitmapDecoder** decoder) override {
        if (decoder) *decoder = nullptr;
        if (ShouldFail(Call::CreateDecoderFromFilename)) return kInjectedWicFailure;
        if (!path || !decoder || !(access & GENERIC_READ) ||
            (options != WICDecodeMetadataCacheOnDemand && options != WICDecodeMetadataCacheOnLoad))
            return E_INVALIDARG;
        std::string utf8;
        // A lone surrogate names no file a POSIX path can spell.
        if (!Utf8FromUtf16(path, utf8)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        std::vector<uint8_t> bytes;
        HRESULT hr = ReadWholeFile(PosixPathFromUtf8(utf8.c_str()), bytes);
        if (FAILED(hr)) return hr;
        const char* codec = CodecForContent(bytes);
        if (!codec) return WINCODEC_ERR_COMPONENTNOTFOUND;
        return OpenBitmapDecoder(codec, std::move(bytes), decoder);
    }

    HRESULT STDMETHODCALLTYPE CreateFormatConverter(IWICFormatConverter** converter) override {
        if (converter) *converter = nullptr;
        if (ShouldFail(Call::CreateFormatConverter)) return kInjectedWicFailure;
        if (!converter) return E_INVALIDARG;
        *converter = NewFormatConverter();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE CreateBitmapFromSource(IWICBitmapSource* source,
                                                     WICBitmapCreateCacheOption option,
                                                     IWICBitmap** bitmap) override {
        if (bitmap) *bitmap = nullptr;
        if (ShouldFail(Call::CreateBitmapFromSource)) return kInjectedWicFailure;
        // Only the copy made at once is substituted: the others would read the source later.
        if (!bitmap || !source || option != WICBitmapCacheOnLoad) return E_INVALIDARG;
        return NewMemoryBitmap(source, bitmap);
    }

    HRESULT STDMETHODCALLTYPE CreateBitmapScaler(IWICBitmapScaler** scaler) override {
        if (scaler) *scaler = nullptr;
        if (ShouldFail(Call::CreateBitmapScaler)) return kInjectedWicFailure;
        if (!scaler) return E_INVALIDARG;
        *scaler = NewFantScaler();
        return S_OK;
    }

private:
    bool Implements(REFIID iid) const override { return iid == IID_IWICImagingFactory; }
};

}  // namespace

HRESULT CreateImagingFactory(REFIID iid, void** out) {
    auto* factory = new ImagingFactory;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();  // the creator's reference; QueryInterface took the caller's
    return hr;
}

}  // namespace substitute
