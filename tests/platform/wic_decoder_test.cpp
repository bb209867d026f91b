// The decoder: chosen by content, header size without decoding, first frame only, refusal of
// huge images, and CopyPixels that never writes outside what it was given.
#include "tests/platform/wic_test_support.h"

namespace {

using substitute::Call;
using wic_test::WicTest;

class WicDecoder : public WicTest {
protected:
    // 4 x 3, every pixel different, alpha varying.
    std::string WriteSmallPng(const std::string& name) {
        std::vector<uint8_t> bgra;
        for (uint8_t i = 0; i < 12; ++i)
            bgra.insert(bgra.end(), {i, uint8_t(i * 2), uint8_t(i * 3), uint8_t(255 - i)});
        return WritePng(name, 4, 3, bgra);
    }
};

TEST_F(WicDecoder, ContentNotNameChoosesTheDecoder) {
    std::string path = WriteSmallPng("really-a-png.jpg");
    ComPtr<IWICBitmapFrameDecode> frame = Frame(path);
    ASSERT_TRUE(frame);
    UINT w = 0, h = 0;
    ASSERT_EQ(frame->GetSize(&w, &h), S_OK);
    EXPECT_EQ(w, 4u);
    EXPECT_EQ(h, 3u);
    std::vector<uint8_t> pixels = Pixels(frame.Get());
    ASSERT_EQ(pixels.size(), 48u);
    EXPECT_EQ(pixels[5 * 4 + 0], 5);
    EXPECT_EQ(pixels[5 * 4 + 1], 10);
    EXPECT_EQ(pixels[5 * 4 + 2], 15);
    EXPECT_EQ(pixels[5 * 4 + 3], 250);

    wic_test::WriteBytes(Scratch("text.png"), {'h', 'e', 'l', 'l', 'o'});
    ComPtr<IWICBitmapDecoder> decoder;
    EXPECT_EQ(Open(Scratch("text.png"), decoder), WINCODEC_ERR_COMPONENTNOTFOUND);
    EXPECT_FALSE(decoder);
    wic_test::WriteBytes(Scratch("empty.png"), {});
    EXPECT_EQ(Open(Scratch("empty.png"), decoder), WINCODEC_ERR_COMPONENTNOTFOUND);
}

TEST_F(WicDecoder, MissingFilesAndFoldersFail) {
    ComPtr<IWICBitmapDecoder> decoder;
    EXPECT_EQ(Open(Scratch("absent.png"), decoder), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open(Scratch("no/absent.png"), decoder), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(FAILED(Open(dir_, decoder)));
    EXPECT_FALSE(decoder);
}

TEST_F(WicDecoder, WindowsAndNonAsciiPathsOpen) {
    std::filesystem::create_directory(Scratch("sub"));
    const std::string name = u8"r\u00E4dio-\u65E5.png";
    WriteSmallPng("sub/" + name);
    EXPECT_TRUE(Frame(dir_ + "\\sub\\" + name));
}

TEST_F(WicDecoder, BmpWithoutAlphaGivesOpaqueBgra) {
    std::vector<uint8_t> rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90,
                                11, 21, 31, 41, 51, 61, 71, 81, 91};
    wic_test::WriteBytes(Scratch("rgb.png"), wic_test::Bmp24(3, 2, rgb));
    ComPtr<IWICBitmapFrameDecode> frame = Frame(Scratch("rgb.png"));
    ASSERT_TRUE(frame);
    // The frame holds what the file holds: three bytes a pixel, blue first.
    std::vector<uint8_t> bgr = Pixels(frame.Get(), 3);
    ASSERT_EQ(bgr.size(), 18u);
    EXPECT_EQ(bgr[0], 30);
    EXPECT_EQ(bgr[2], 10);
    std::vector<uint8_t> bgra = Pixels(Converted(frame.Get()).Get());
    ASSERT_EQ(bgra.size(), 24u);
    for (size_t p = 0; p < 6; ++p) {
        EXPECT_EQ(bgra[p * 4 + 0], rgb[p * 3 + 2]) << p;
        EXPECT_EQ(bgra[p * 4 + 1], rgb[p * 3 + 1]) << p;
        EXPECT_EQ(bgra[p * 4 + 2], rgb[p * 3 + 0]) << p;
        EXPECT_EQ(bgra[p * 4 + 3], 255) << p;
    }
}

TEST_F(WicDecoder, GifGivesItsFirstFrameOnly) {
    // Frame one is red but for a blue last pixel; frame two is all blue.
    wic_test::WriteBytes(Scratch("anim.gif"), wic_test::Gif(2, 2, {{0, 0, 0, 1}, {1, 1, 1, 1}}));
    ComPtr<IWICBitmapDecoder> decoder;
    ASSERT_EQ(Open(Scratch("anim.gif"), decoder), S_OK);
    ComPtr<IWICBitmapFrameDecode> frame;
    EXPECT_EQ(decoder->GetFrame(1, frame.Put()), WINCODEC_ERR_FRAMEMISSING);
    EXPECT_FALSE(frame);
    ASSERT_EQ(decoder->GetFrame(0, frame.Put()), S_OK);
    std::vector<uint8_t> pixels = Pixels(Converted(frame.Get()).Get());
    ASSERT_EQ(pixels.size(), 16u);
    const uint8_t red[4] = {0, 0, 255, 255}, blue[4] = {255, 0, 0, 255};
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(std::memcmp(&pixels[p * 4], p == 3 ? blue : red, 4), 0) << p;
}

TEST_F(WicDecoder, FrameKeepsItsDecoderAlive) {
    ComPtr<IWICBitmapFrameDecode> frame = Frame(WriteSmallPng("a.png"));  // decoder released
    ASSERT_TRUE(frame);
    EXPECT_EQ(substitute::LiveComObjects(), liveAtStart_ + 3);  // factory, decoder, frame
    EXPECT_EQ(Pixels(frame.Get()).size(), 48u);
    frame.Reset();
    EXPECT_EQ(substitute::LiveComObjects(), liveAtStart_ + 1);
}

TEST_F(WicDecoder, HugeImagesAreRefusedWithoutDecoding) {
    std::vector<uint8_t> png = wic_test::ReadBytes(WriteSmallPng("small.png"));
    wic_test::WriteBytes(Scratch("huge.png"), wic_test::PngClaimingSize(png, 100000, 100000));
    wic_test::WriteBytes(Scratch("huge.gif"), wic_test::Gif(65535, 65535, {{0, 1, 1, 0}}));
    std::vector<uint8_t> bmp = wic_test::Bmp24(2, 2, std::vector<uint8_t>(12, 7));
    bmp[18] = 0xA0, bmp[19] = 0x86, bmp[20] = 0x01;  // width 100000
    bmp[22] = 0xA0, bmp[23] = 0x86, bmp[24] = 0x01;  // height 100000
    wic_test::WriteBytes(Scratch("huge.bmp"), bmp);

    for (const char* name : {"huge.png", "huge.gif", "huge.bmp"}) {
        SCOPED_TRACE(name);
        ComPtr<IWICBitmapDecoder> decoder;
        HRESULT opened = Open(Scratch(name), decoder);
        if (std::string(name) == "huge.png") {
            ASSERT_EQ(opened, S_OK);
        }
        if (FAILED(opened)) continue;  // refusing the header is as good as refusing the pixels
        ComPtr<IWICBitmapFrameDecode> frame;
        ASSERT_EQ(decoder->GetFrame(0, frame.Put()), S_OK);
        UINT w = 0, h = 0;
        ASSERT_EQ(frame->GetSize(&w, &h), S_OK);
        EXPECT_GT(w, 16384u);
        ComPtr<IWICFormatConverter> converter = Converted(frame.Get());
        uint8_t pixel[4];
        WICRect one{0, 0, 1, 1};
        EXPECT_EQ(converter->CopyPixels(&one, 4, 4, pixel), WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
        ComPtr<IWICBitmapScaler> scaler = Scaled(converter.Get(), 1, 1);
        EXPECT_EQ(scaler->CopyPixels(nullptr, 4, 4, pixel), WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
    }
    ComPtr<IWICBitmapScaler> tooLarge;
    ASSERT_EQ(factory_->CreateBitmapScaler(tooLarge.Put()), S_OK);
    EXPECT_EQ(tooLarge->Initialize(Frame(Scratch("small.png")).Get(), 100000, 100000,
                                   WICBitmapInterpolationModeFant),
              WINCODEC_ERR_IMAGESIZEOUTOFRANGE);

    // A lowered limit refuses a 4 x 3 image the default decodes, until the reset.
    uint8_t pixel[4];
    WICRect one{0, 0, 1, 1};
    substitute::LimitImageSide(3);
    EXPECT_EQ(Converted(Frame(Scratch("small.png")).Get())->CopyPixels(&one, 4, 4, pixel),
              WINCODEC_ERR_IMAGESIZEOUTOFRANGE);
    substitute::ResetSubstitute();
    EXPECT_EQ(Converted(Frame(Scratch("small.png")).Get())->CopyPixels(&one, 4, 4, pixel), S_OK);
}

TEST_F(WicDecoder, DamagedHeaderIsRefusedAtOpening) {
    std::vector<uint8_t> png = wic_test::ReadBytes(WriteSmallPng("small.png"));
    png[20] ^= 0x40;  // IHDR no longer matches its CRC
    wic_test::WriteBytes(Scratch("bad.png"), png);
    ComPtr<IWICBitmapDecoder> decoder;
    EXPECT_TRUE(FAILED(Open(Scratch("bad.png"), decoder)));
    wic_test::WriteBytes(Scratch("cut.png"), {png.begin(), png.begin() + 20});
    EXPECT_TRUE(FAILED(Open(Scratch("cut.png"), decoder)));
}

TEST_F(WicDecoder, CopyPixelsRefusesWhatDoesNotFitAndWritesOnlyTheRectangle) {
    ComPtr<IWICFormatConverter> converter = Converted(Frame(WriteSmallPng("a.png")).Get());
    std::vector<uint8_t> buffer(64, 0xCD);
    const WICRect outside[] = {{3, 0, 2, 1}, {0, 2, 1, 2},  {-1, 0, 1, 1},
                               {0, 0, 0, 1}, {0, 0, 1, -1}, {0x7FFFFFFF, 0, 2, 1}};
    for (const WICRect& r : outside)
        EXPECT_EQ(converter->CopyPixels(&r, 16, 64, buffer.data()), E_INVALIDARG)
            << r.X << "," << r.Y;
    WICRect two{1, 1, 2, 2};
    EXPECT_EQ(converter->CopyPixels(&two, 7, 64, buffer.data()), E_INVALIDARG);  // stride < 8
    EXPECT_EQ(converter->CopyPixels(&two, 8, 64, nullptr), E_INVALIDARG);
    EXPECT_EQ(converter->CopyPixels(&two, 12, 19, buffer.data()), WINCODEC_ERR_INSUFFICIENTBUFFER);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint8_t b) { return b == 0xCD; }));

    // Exactly stride * (rows - 1) + row bytes is enough, and the gap between rows is left alone.
    std::vector<uint8_t> exact(20, 0xCD);
    ASSERT_EQ(converter->CopyPixels(&two, 12, 20, exact.data()), S_OK);
    EXPECT_EQ(exact[0], 5);    // pixel (1, 1) is the sixth
    EXPECT_EQ(exact[12], 9);   // pixel (1, 2)
    EXPECT_EQ(exact[16], 10);  // pixel (2, 2)
    for (int i = 8; i < 12; ++i) EXPECT_EQ(exact[i], 0xCD) << i;
}

TEST_F(WicDecoder, SourcesRefuseUseBeforeInitialisation) {
    ComPtr<IWICFormatConverter> converter;
    ComPtr<IWICBitmapScaler> scaler;
    ASSERT_EQ(factory_->CreateFormatConverter(converter.Put()), S_OK);
    ASSERT_EQ(factory_->CreateBitmapScaler(scaler.Put()), S_OK);
    UINT w, h;
    uint8_t pixel[4];
    EXPECT_EQ(converter->GetSize(&w, &h), WINCODEC_ERR_WRONGSTATE);
    EXPECT_EQ(converter->CopyPixels(nullptr, 4, 4, pixel), WINCODEC_ERR_WRONGSTATE);
    EXPECT_EQ(scaler->GetSize(&w, &h), WINCODEC_ERR_WRONGSTATE);
    EXPECT_EQ(scaler->CopyPixels(nullptr, 4, 4, pixel), WINCODEC_ERR_WRONGSTATE);
    // A scaler over a converter that was never initialised cannot be initialised either.
    EXPECT_EQ(scaler->Initialize(converter.Get(), 2, 2, WICBitmapInterpolationModeFant),
              WINCODEC_ERR_WRONGSTATE);
}

// Each WIC call fails exactly once when told to, after the successes asked for, and the
// failure leaves nothing alive behind.
TEST_F(WicDecoder, EachInjectedFaultFiresOnce) {
    std::string path = WriteSmallPng("a.png");
    auto run = [&]() -> HRESULT {
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        ComPtr<IWICFormatConverter> converter;
        ComPtr<IWICBitmapScaler> scaler;
        UINT w, h;
        uint8_t pixels[2 * 2 * 4];
        HRESULT hr;
        if (FAILED(hr = Open(path, decoder))) return hr;
        if (FAILED(hr = decoder->GetFrame(0, frame.Put()))) return hr;
        if (FAILED(hr = frame->GetSize(&w, &h))) return hr;
        if (FAILED(hr = factory_->CreateFormatConverter(converter.Put()))) return hr;
        if (FAILED(hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                              WICBitmapDitherTypeNone, nullptr, 0.0,
                                              WICBitmapPaletteTypeCustom)))
            return hr;
        if (FAILED(hr = factory_->CreateBitmapScaler(scaler.Put()))) return hr;
        if (FAILED(hr = scaler->Initialize(converter.Get(), 2, 2, WICBitmapInterpolationModeFant)))
            return hr;
        return scaler->CopyPixels(nullptr, 8, sizeof pixels, pixels);
    };
    const long live = substitute::LiveComObjects();
    // In the order the run above makes them.
    const Call calls[] = {
        Call::CreateDecoderFromFilename,
        Call::GetFrame,
        Call::GetSize,
        Call::CreateFormatConverter,
        Call::ConverterInitialize,
        Call::CreateBitmapScaler,
        Call::ScalerInitialize,
        Call::CopyPixels,
    };
    for (Call call : calls) {
        SCOPED_TRACE(int(call));
        substitute::ResetSubstitute();
        substitute::FailCall(call, 1);
        EXPECT_EQ(run(), S_OK);
        EXPECT_TRUE(FAILED(run()));
        EXPECT_EQ(run(), S_OK);
        EXPECT_EQ(substitute::CallCount(call), 3);
        EXPECT_EQ(substitute::LiveComObjects(), live);
    }
}

}  // namespace
