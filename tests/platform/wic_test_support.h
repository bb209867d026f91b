// Shared by the WIC substitute tests: a scratch folder, the imaging factory, image files made
// byte by byte, and the pipeline from a file to a source whose pixels a test reads back.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix/substitute.h"
#include "sim/png_writer.h"

namespace wic_test {

inline std::u16string Wide(const std::string& utf8) {
    WCHAR buffer[1024];
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, buffer, 1024);
    return units > 0 ? std::u16string(buffer) : std::u16string();
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose IHDR claims width x height (CRC kept valid), the pixel data left as it was.
inline std::vector<uint8_t> PngClaimingSize(std::vector<uint8_t> png, uint32_t width,
                                            uint32_t height) {
    const uint32_t fields[2] = {width, height};
    for (int f = 0; f < 2; ++f)
        for (int i = 0; i < 4; ++i) png[16 + 4 * f + i] = uint8_t(fields[f] >> (24 - 8 * i));
    uint32_t crc = Crc32(png.data() + 12, 17);  // chunk type and the 13 IHDR bytes
    for (int i = 0; i < 4; ++i) png[29 + i] = uint8_t(crc >> (24 - 8 * i));
    return png;
}

// A 24-bit BMP (no alpha); `rgb` holds width*height pixels top row first as R, G, B.
inline std::vector<uint8_t> Bmp24(uint32_t width, uint32_t height,
                                  const std::vector<uint8_t>& rgb) {
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * height;
    std::vector<uint8_t> b = {'B', 'M'};
    auto le32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
    };
    auto le16 = [&](uint16_t v) {
        b.push_back(uint8_t(v));
        b.push_back(uint8_t(v >> 8));
    };
    le32(54 + dataSize), le32(0), le32(54);
    le32(40), le32(width), le32(height), le16(1), le16(24), le32(0), le32(dataSize);
    le32(2835), le32(2835), le32(0), le32(0);
    for (uint32_t y = height; y-- > 0;) {  // bottom row first
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[(size_t(y) * width + x) * 3];
            b.insert(b.end(), {p[2], p[1], p[0]});
        }
        b.insert(b.end(), rowBytes - width * 3, 0);
    }
    return b;
}

// A GIF89a with a two-colour palette (0 red, 1 blue) and one frame per entry of `frames`, each
// width*height palette indices. The LZW stream clears before every code, so all codes stay
// three bits wide and no table is needed to write it.
inline std::vector<uint8_t> Gif(uint16_t width, uint16_t height,
                                const std::vector<std::vector<uint8_t>>& frames) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a'};
    auto le16 = [&](uint16_t v) {
        g.push_back(uint8_t(v));
        g.push_back(uint8_t(v >> 8));
    };
    le16(width), le16(height);
    g.insert(g.end(), {0x80, 0, 0, 255, 0, 0, 0, 0, 255});  // global palette of two colours
    for (const auto& indices : frames) {
        g.insert(g.end(), {0x21, 0xF9, 4, 0, 10, 0, 0, 0});  // 0.1 s per frame
        g.push_back(0x2C);
        le16(0), le16(0), le16(width), le16(height);
        g.insert(g.end(), {0, 2});  // no local palette; LZW minimum code size 2
        std::vector<uint8_t> codes;
        uint32_t bits = 0, pending = 0;
        auto put = [&](uint32_t code) {
            bits |= code << pending;
            for (pending += 3; pending >= 8; pending -= 8, bits >>= 8)
                codes.push_back(uint8_t(bits));
        };
        for (uint8_t index : indices) put(4), put(index);  // clear, then the index
        put(5);                                            // end of information
        if (pending) codes.push_back(uint8_t(bits));
        for (size_t at = 0; at < codes.size(); at += 255) {
            size_t n = std::min<size_t>(255, codes.size() - at);
            g.push_back(uint8_t(n));
            g.insert(g.end(), codes.begin() + at, codes.begin() + at + n);
        }
        g.push_back(0);
    }
    g.push_back(0x3B);
    return g;
}

// Each test gets a clean substitute, a factory, a scratch folder, and is checked for COM
// objects left alive at its end.
class WicTest : public ::testing::Test {
protected:
    void SetUp() override {
        substitute::ResetSubstitute();
        liveAtStart_ = substitute::LiveComObjects();
        CoInitialize(nullptr);
        void* factory = nullptr;
        ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, &factory),
                  S_OK);
        factory_ = ComPtr<IWICImagingFactory>::Adopt(static_cast<IWICImagingFactory*>(factory));
        char pattern[] = "/tmp/ombrix-wic-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        factory_.Reset();
        substitute::ResetSubstitute();
        EXPECT_EQ(substitute::LiveComObjects(), liveAtStart_) << "COM objects left alive";
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::string Scratch(const std::string& name) const { return dir_ + "/" + name; }

    // A PNG of width x height from packed B, G, R, A bytes; returns its path.
    std::string WritePng(const std::string& name, uint32_t width, uint32_t height,
                         const std::vector<uint8_t>& bgra) {
        std::string path = Scratch(name);
        EXPECT_TRUE(sim::WritePngFromBgra(path, width, height, bgra));
        return path;
    }

    HRESULT Open(const std::string& path, ComPtr<IWICBitmapDecoder>& decoder) {
        return factory_->CreateDecoderFromFilename(Wide(path).c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, decoder.Put());
    }

    ComPtr<IWICBitmapFrameDecode> Frame(const std::string& path) {
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        EXPECT_EQ(Open(path, decoder), S_OK) << path;
        if (decoder) {
            EXPECT_EQ(decoder->GetFrame(0, frame.Put()), S_OK);
        }
        return frame;
    }

    ComPtr<IWICFormatConverter> Converted(IWICBitmapSource* source) {
        ComPtr<IWICFormatConverter> converter;
        EXPECT_EQ(factory_->CreateFormatConverter(converter.Put()), S_OK);
        EXPECT_EQ(
            converter->Initialize(source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                  nullptr, 0.0, WICBitmapPaletteTypeCustom),
            S_OK);
        return converter;
    }

    ComPtr<IWICBitmapScaler> Scaled(IWICBitmapSource* source, UINT width, UINT height) {
        ComPtr<IWICBitmapScaler> scaler;
        EXPECT_EQ(factory_->CreateBitmapScaler(scaler.Put()), S_OK);
        EXPECT_EQ(scaler->Initialize(source, width, height, WICBitmapInterpolationModeFant), S_OK);
        return scaler;
    }

    // The whole image as packed rows of `bytesPerPixel`, or empty when CopyPixels fails.
    static std::vector<uint8_t> Pixels(IWICBitmapSource* source, UINT bytesPerPixel = 4) {
        UINT w = 0, h = 0;
        if (FAILED(source->GetSize(&w, &h))) return {};
        std::vector<uint8_t> out(size_t(w) * h * bytesPerPixel);
        UINT stride = w * bytesPerPixel;
        if (FAILED(source->CopyPixels(nullptr, stride, UINT(out.size()), out.data()))) return {};
        return out;
    }

    ComPtr<IWICImagingFactory> factory_;
    std::string dir_;
    long liveAtStart_ = 0;
};

}  // namespace wic_test
