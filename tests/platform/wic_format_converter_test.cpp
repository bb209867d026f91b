// The converter: straight-alpha BGRA out, only that target accepted, initialised once.
#include "tests/platform/wic_test_support.h"

namespace {

using wic_test::WicTest;

using WicFormatConverter = WicTest;

TEST_F(WicFormatConverter, AlphaStaysStraight) {
    // Half-transparent and fully transparent pixels keep their colour as stored.
    std::vector<uint8_t> bgra = {50, 100, 200, 128, 10, 20, 30, 0, 1, 2, 3, 255};
    ComPtr<IWICFormatConverter> converter =
        Converted(Frame(WritePng("alpha.png", 3, 1, bgra)).Get());
    EXPECT_EQ(Pixels(converter.Get()), bgra);
}

TEST_F(WicFormatConverter, OnlyStraightBgraIsATarget) {
    ComPtr<IWICBitmapFrameDecode> frame = Frame(WritePng("a.png", 1, 1, {1, 2, 3, 4}));
    ComPtr<IWICFormatConverter> converter;
    ASSERT_EQ(factory_->CreateFormatConverter(converter.Put()), S_OK);
    auto initialize = [&](IWICBitmapSource* source, REFGUID format) {
        return converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom);
    };
    const GUID premultiplied = GuidFromString("6FDDC324-4E03-4BFE-B185-3D77768DC910");
    EXPECT_EQ(initialize(frame.Get(), premultiplied), WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT);
    EXPECT_EQ(initialize(nullptr, GUID_WICPixelFormat32bppBGRA), E_INVALIDARG);
    ASSERT_EQ(initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA), S_OK);
    EXPECT_EQ(initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA), WINCODEC_ERR_WRONGSTATE);
    UINT w = 0, h = 0;
    EXPECT_EQ(converter->GetSize(&w, &h), S_OK);
    EXPECT_EQ(w, 1u);
    EXPECT_EQ(h, 1u);
}

TEST_F(WicFormatConverter, ConverterKeepsItsSourceAlive) {
    ComPtr<IWICFormatConverter> converter =
        Converted(Frame(WritePng("a.png", 1, 1, {1, 2, 3, 4})).Get());  // frame released here
    EXPECT_EQ(Pixels(converter.Get()), (std::vector<uint8_t>{1, 2, 3, 4}));
    converter.Reset();
    EXPECT_EQ(substitute::LiveComObjects(), liveAtStart_ + 1);  // the factory alone
}

}  // namespace
