// CoInitialize, CoCreateInstance and the reference counting every substitute object shares.
#include <gtest/gtest.h>

#include <thread>

#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

using substitute::Call;

HRESULT CreateFactory(REFCLSID clsid, REFIID iid, void** out) {
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, out);
}

TEST(Com, InitialiseAnswersOkOncePerThreadThenFalse) {
    std::thread([] {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateFactory(CLSID_WICImagingFactory2, IID_IWICImagingFactory, &out),
                  CO_E_NOTINITIALIZED);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    }).join();
}

TEST(Com, CreatesTheImagingFactoryOnlyForItsIdentities) {
    CoInitialize(nullptr);
    substitute::ResetSubstitute();
    const long live = substitute::LiveComObjects();
    const CLSID unknownClass = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    void* out = nullptr;
    EXPECT_EQ(CreateFactory(unknownClass, IID_IWICImagingFactory, &out), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CreateFactory(CLSID_WICImagingFactory2, IID_IWICBitmapScaler, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(substitute::LiveComObjects(), live) << "a refused interface leaves no object";

    ASSERT_EQ(CreateFactory(CLSID_WICImagingFactory2, IID_IWICImagingFactory, &out), S_OK);
    auto* factory = static_cast<IWICImagingFactory*>(out);
    EXPECT_EQ(substitute::LiveComObjects(), live + 1);
    void* unknown = nullptr;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<void*>(factory));
    EXPECT_EQ(factory->Release(), 1u);
    EXPECT_EQ(factory->Release(), 0u);
    EXPECT_EQ(substitute::LiveComObjects(), live);
    EXPECT_EQ(substitute::CallCount(Call::CoCreateInstance), 3);

    substitute::FailCall(Call::CoCreateInstance);
    EXPECT_EQ(CreateFactory(CLSID_WICImagingFactory2, IID_IWICImagingFactory, &out),
              REGDB_E_CLASSNOTREG);
    ASSERT_EQ(CreateFactory(CLSID_WICImagingFactory2, IID_IWICImagingFactory, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
}

TEST(Com, EveryObjectAnswersItsInterfacesAndGoesAtZero) {
    CoInitialize(nullptr);
    substitute::ResetSubstitute();
    void* out = nullptr;
    ASSERT_EQ(CreateFactory(CLSID_WICImagingFactory2, IID_IWICImagingFactory, &out), S_OK);
    auto* factory = static_cast<IWICImagingFactory*>(out);
    IWICBitmapScaler* scaler = nullptr;
    ASSERT_EQ(factory->CreateBitmapScaler(&scaler), S_OK);
    IWICFormatConverter* converter = nullptr;
    ASSERT_EQ(factory->CreateFormatConverter(&converter), S_OK);

    void* asSource = nullptr;
    EXPECT_EQ(scaler->QueryInterface(IID_IWICBitmapSource, &asSource), S_OK);
    EXPECT_EQ(asSource, static_cast<void*>(static_cast<IWICBitmapSource*>(scaler)));
    static_cast<IUnknown*>(asSource)->Release();
    void* wrong = reinterpret_cast<void*>(1);
    EXPECT_EQ(scaler->QueryInterface(IID_IWICFormatConverter, &wrong), E_NOINTERFACE);
    EXPECT_EQ(wrong, nullptr);
    EXPECT_EQ(converter->QueryInterface(IID_IWICFormatConverter, &asSource), S_OK);
    static_cast<IUnknown*>(asSource)->Release();

    converter->Release();
    scaler->Release();
    factory->Release();
    EXPECT_EQ(substitute::LiveComObjects(), 0) << "nothing in this program keeps objects";
}

}  // namespace
