// Drawing a level element by element: passes, blur deviations, hiding and restoring.
#include <gtest/gtest.h>

#include "platform/posix/d3d11_cpu_texture.h"
#include "platform/posix/substitute.h"
#include "platform/posix/svg_document.h"
#include "sim/rw_engine.h"
#include "svg/display_attributes.h"
#include "svg/drawable_elements.h"
#include "svg/element_pass.h"
#include "svg/level_bitmap.h"
#include "svg/svg_device.h"
#include "svg/svg_document_load.h"
#include "svg_render_support.h"

namespace {

using substitute::DrawKind;

// Two sibling squares, the second blurred by 1.5.
const char* kTwoPaths =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\">"
    "<defs><filter id=\"f\"><feGaussianBlur stdDeviation=\"1.5\"/></filter></defs>"
    "<path d=\"M0 0H32V64H0Z\" fill=\"#ff0000\"/>"
    "<path id=\"b\" d=\"M32 16H48V48H32Z\" fill=\"#0000ff\" filter=\"url(#f)\"/></svg>";

using ElementBlurLoad = SvgRenderFixture;

TEST_F(ElementBlurLoad, TwoPassesPerLevelWithTheDeviationFollowingTheScale) {
    RwTexture* texture = Load(WriteSvg("two.svg", kTwoPaths), 64, 64, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(FilterMode(texture), 6u);
    const float expected[] = {6.0f, 3.0f, 1.5f};  // 4x, 2x, 1x the stdDeviation
    for (uint32_t level = 0; level < 3; ++level) {
        const uint32_t width = 64u >> level;
        SCOPED_TRACE(width);
        const auto draws = DrawsAt(width, DrawKind::SvgDocument);
        ASSERT_EQ(draws.size(), 2u);
        EXPECT_TRUE(draws[0].targetIsLevel) << "the sharp path straight onto the level";
        EXPECT_FALSE(draws[1].targetIsLevel) << "the blurred one into its scratch bitmap";
        const auto blurs = DrawsAt(width, DrawKind::BlurredImage);
        ASSERT_EQ(blurs.size(), 1u);
        EXPECT_FLOAT_EQ(blurs[0].blurDeviation, expected[level]);
        EXPECT_EQ(blurs[0].blurBorderMode, 0u) << "soft border";
    }

    const std::vector<uint8_t> level0 = LevelPixels(texture, 0);
    EXPECT_EQ(PixelAt(level0, 64, 8, 32).r, 255) << "the first path is sharp";
    EXPECT_EQ(PixelAt(level0, 64, 8, 32).b, 0);
    const Bgra edge = PixelAt(level0, 64, 30, 32);
    EXPECT_GT(edge.b, 0) << "blur spills over the red path: composited on top of it";
    EXPECT_LT(PixelAt(level0, 64, 40, 32).b, 255) << "even the centre is softened";
    EXPECT_GT(PixelAt(level0, 64, 40, 12).a, 0) << "and blue spreads beyond the square";
    sim::DestroyTexture(texture);
}

TEST_F(ElementBlurLoad, ABlurOnAGroupHasNoEffect) {
    RwTexture* texture = Load(
        WriteSvg("group.svg",
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
                 "<defs><filter id=\"f\"><feGaussianBlur stdDeviation=\"2\"/></filter></defs>"
                 "<g id=\"grp\" filter=\"url(#f)\"><rect width=\"8\" height=\"16\" fill=\"red\"/>"
                 "<rect x=\"8\" width=\"8\" height=\"16\" fill=\"blue\"/></g></svg>"),
        0, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(DrawsAt(16, DrawKind::SvgDocument).size(), 2u) << "the group's shapes one by one";
    EXPECT_TRUE(DrawsAt(16, DrawKind::BlurredImage).empty());
    const std::vector<uint8_t> pixels = LevelPixels(texture, 0);
    EXPECT_EQ(PixelAt(pixels, 16, 7, 8).r, 255);
    EXPECT_EQ(PixelAt(pixels, 16, 8, 8).b, 255);
    sim::DestroyTexture(texture);
}

TEST_F(ElementBlurLoad, AnUnresolvedBlurDrawsInOnePass) {
    // The pre-pass finds the reference inside the comment; the parsed document has no such id.
    RwTexture* texture = Load(
        WriteSvg("ghost.svg",
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
                 "<defs><filter id=\"f\"><feGaussianBlur stdDeviation=\"2\"/></filter></defs>"
                 "<!-- <rect id=\"ghost\" style=\"filter:url(#f)\"/> -->"
                 "<rect width=\"16\" height=\"16\" fill=\"red\"/><rect width=\"4\" height=\"4\"/>"
                 "</svg>"),
        0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    for (uint32_t width : {16u, 8u, 4u, 2u, 1u}) {
        EXPECT_EQ(DrawsAt(width, DrawKind::SvgDocument).size(), 1u);
        EXPECT_TRUE(DrawsAt(width, DrawKind::BlurredImage).empty());
    }
    sim::DestroyTexture(texture);
}

TEST_F(ElementBlurLoad, AnIdBeyondAsciiResolves) {
    RwTexture* texture = Load(
        WriteSvg("utf8.svg",
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
                 "<defs><filter id=\"f\"><feGaussianBlur stdDeviation=\"1\"/></filter></defs>"
                 "<rect width=\"16\" height=\"16\" fill=\"red\"/>"
                 "<rect id=\"gl\xC3\xBC\x68\" width=\"4\" height=\"4\" style=\"filter:url(#f)\"/>"
                 "</svg>"),
        0, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(DrawsAt(16, DrawKind::BlurredImage).size(), 1u);
    sim::DestroyTexture(texture);
}

// The same device and document the loader builds, driven one level at a time.
class ElementPass : public SvgRenderFixture {
protected:
    void Open(const std::string& text) {
        ASSERT_TRUE(CreateSvgDevice(device_));
        ASSERT_TRUE(LoadSvgDocument(device_.context.Get(), text, 16, 16, document_));
    }
    // Draws the level and returns its pixel (2, 2).
    Bgra DrawLevel(const std::vector<ElementBlur>& blurs) {
        LevelBitmap target;
        EXPECT_TRUE(CreateLevelBitmap(device_.device.Get(), device_.context.Get(), 16, 16,
                                      D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
                                      target));
        device_.context->SetTarget(target.bitmap.Get());
        device_.context->BeginDraw();
        DrawElementsSeparately(device_.context.Get(), document_.document.Get(),
                               document_.root.Get(), blurs, device_.device.Get(), 16, 16,
                               target.bitmap.Get(), 1.0f, 1.0f);
        EXPECT_EQ(device_.context->EndDraw(nullptr, nullptr), S_OK);
        device_.context->SetTarget(nullptr);
        auto* texture = static_cast<substitute::CpuTexture*>(target.texture.Get());
        const uint8_t* p = texture->Pixels() + 2 * texture->RowPitch() + 2 * 4;
        return {p[0], p[1], p[2], p[3]};
    }
    std::string Tree() { return substitute::SerializeSvgDocument(document_.document.Get()); }
    void TearDown() override {
        document_ = {};
        device_ = {};
        SvgRenderFixture::TearDown();
    }

    SvgDevice device_;
    LoadedSvgDocument document_;
};

const char* kMixedDisplay =
    "<svg width=\"16\" height=\"16\"><defs><rect id=\"unused\"/></defs>"
    "<rect id=\"a\" width=\"4\" height=\"4\"/>"
    "<g><rect id=\"b\" display=\"inline\" width=\"4\" height=\"4\"/>"
    "<g><circle id=\"c\" display=\"none\" r=\"2\"/></g></g>"
    "<a id=\"t\"><rect width=\"2\" height=\"2\"/></a></svg>";

TEST_F(ElementPass, CollectsInDocumentOrderSkippingDefsAndOpeningGroups) {
    Open(kMixedDisplay);
    std::vector<ComPtr<ID2D1SvgElement>> drawable;
    CollectDrawableElements(document_.root.Get(), drawable);
    std::vector<std::string> ids;
    for (const auto& element : drawable) {
        WCHAR id[16] = {};
        ASSERT_EQ(element->GetAttributeValue(u"id", D2D1_SVG_ATTRIBUTE_STRING_TYPE_SVG, id, 16),
                  S_OK);
        ids.push_back(std::string(id, id + std::char_traits<char16_t>::length(id)));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"a", "b", "c", "t"}));
}

TEST_F(ElementPass, HidingIsUndoneExactly) {
    Open(kMixedDisplay);
    const std::string before = Tree();
    std::vector<ComPtr<ID2D1SvgElement>> drawable;
    CollectDrawableElements(document_.root.Get(), drawable);
    std::vector<SavedDisplay> saved = HideAllExcept(drawable, 0);
    EXPECT_EQ(saved.size(), 2u) << "c is already hidden and is left alone";
    const std::string hidden = Tree();
    EXPECT_NE(hidden.find("id=\"b\" display=\"none\""), std::string::npos);
    EXPECT_NE(hidden.find("id=\"t\" display=\"none\""), std::string::npos);
    RestoreDisplay(saved);
    EXPECT_EQ(Tree(), before);

    ElementBlur blurOfA{ComPtr<ID2D1SvgElement>(), 1.0f};
    document_.document->FindElementById(u"a", blurOfA.element.Put());
    std::vector<ElementBlur> blurs;
    blurs.push_back(std::move(blurOfA));
    DrawLevel(blurs);
    EXPECT_EQ(Tree(), before) << "after every pass the document is as parsed";
    EXPECT_EQ(DrawsAt(16, DrawKind::SvgDocument).size(), 4u);
}

TEST_F(ElementPass, AFailedHideDrawsThatElementAlongAndNothingIsLost) {
    // b, half-transparent red over blue, is drawn once in its own pass when hiding works and
    // once more in a's pass when hiding it fails: twice over blue it is clearly redder.
    Open("<svg width=\"16\" height=\"16\"><rect id=\"a\" width=\"16\" height=\"16\" fill=\"blue\"/>"
         "<rect id=\"b\" width=\"8\" height=\"8\" fill=\"red\" fill-opacity=\"0.5\" "
         "display=\"inline\"/></svg>");
    const std::string before = Tree();
    const Bgra once = DrawLevel({});
    EXPECT_NEAR(once.r, 128, 2);
    substitute::FailCall(substitute::Call::SetAttributeValue);
    const Bgra twice = DrawLevel({});
    EXPECT_NEAR(twice.r, 191, 2) << "b was drawn along with a";
    EXPECT_NEAR(twice.b, 64, 2);
    EXPECT_EQ(Tree(), before);
}

TEST_F(ElementPass, DeeplyNestedGroupsAreWalkedWithoutRecursion) {
    std::string text = "<svg width=\"16\" height=\"16\">";
    for (int i = 0; i < 20000; ++i) text += "<g>";
    text += "<rect id=\"deep\" width=\"1\" height=\"1\"/>";
    for (int i = 0; i < 20000; ++i) text += "</g>";
    text += "</svg>";
    Open(text);
    std::vector<ComPtr<ID2D1SvgElement>> drawable;
    CollectDrawableElements(document_.root.Get(), drawable);
    EXPECT_EQ(drawable.size(), 1u);
}

}  // namespace
