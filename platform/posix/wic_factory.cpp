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

const CLSID CLSID_WICImagingFactory = GuidFromString("CACAF262-9370-4615-A13B-9F5539DA4C0A");
const CLSID CLSID_WICImagingFactory2 = GuidFromString("317D06E8-5F24-433D-BDF7-79CE68D8ABC2");
const IID IID_IWICImagingFactory = GuidFromString("EC5EC8A9-C395-4314-9C77-54D7A935FF70");
const IID IID_IWICBitmapSource = GuidFromString("00000120-A8F2-4877-BA0A-FD2B6645FB94");
const IID IID_IWICBitmapFrameDecode = GuidFromString("3B16811B-6A43-4EC9-A813-3D930C13B940");
const IID IID_IWICBitmapDecoder = GuidFromString("9EDDE9E7-8DEE-47EA-99DF-E6FAF2ED44BF");
const IID IID_IWICFormatConverter = GuidFromString("00000301-A8F2-4877-BA0A-FD2B6645FB94");
const IID IID_IWICBitmapScaler = GuidFromString("00000302-A8F2-4877-BA0A-FD2B6645FB94");
const IID IID_IWICBitmap = GuidFromString("00000121-A8F2-4877-BA0A-FD2B6645FB94");
const GUID GUID_WICPixelFormat24bppBGR = GuidFromString("6FDDC324-4E03-4BFE-B185-3D77768DC90C");
const GUID GUID_WICPixelFormat32bppBGRA = GuidFromString("6FDDC324-4E03-4BFE-B185-3D77768DC90F");

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
