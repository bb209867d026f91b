// A load from SVG file to texture: sizes, levels, pixels, refusals and the cache.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "image/exports.h"
#include "sim/rw_engine.h"
#include "svg_render_support.h"

namespace {

using substitute::DrawKind;

const char* kHalfRedRect =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"50\">"
    "<rect width=\"100\" height=\"50\" fill=\"#ff0000\" fill-opacity=\"0.5\"/></svg>";

const char* kWideRect =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"64\">"
    "<rect width=\"256\" height=\"64\" fill=\"#00ff00\"/></svg>";

using SvgPipeline = SvgRenderFixture;

// Levels the load wrote into, in the order it locked them.
uint32_t LockedLevels() {
    uint32_t next = 0;
    for (const sim::RwCall& call : sim::RwCallLog())
        if (call.op == sim::RwOp::RasterLock && call.level == next) ++next;
    return next;
}

TEST_F(SvgPipeline, GivenSideStandsAndMissingSideComesFromTheRoot) {
    const std::string path = WriteSvg("wide.svg", kHalfRedRect);
    RwTexture* texture = Load(path, 256, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(sim::RasterLevelWidth(texture->raster, 0), 256u);
    EXPECT_EQ(sim::RasterLevelHeight(texture->raster, 0), 50u);
    EXPECT_EQ(CreatedRasterFlags(), 0x504);
    EXPECT_EQ(FilterMode(texture), 2u);
    EXPECT_GT(PixelAt(LevelPixels(texture, 0), 256, 50, 25).a, 100);
    sim::DestroyTexture(texture);
}

TEST_F(SvgPipeline, MipChainLengthFlagsAndFilter) {
    const std::string path = WriteSvg("chain.svg", kWideRect);
    struct Case {
        uint32_t maxMipLevels;
        uint32_t levels;
    };
    for (Case c : {Case{0, 9}, Case{3, 3}, Case{100, 9}}) {
        SCOPED_TRACE(c.maxMipLevels);
        sim::ResetRwEngine();
        substitute::ClearDrawLog();
        std::filesystem::remove_all(Scratch(".mipcache"));
        RwTexture* texture = Load(path, 256, 64, 1, c.maxMipLevels);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(LockedLevels(), c.levels);
        EXPECT_EQ(CreatedRasterFlags(), 0x8504);
        EXPECT_EQ(FilterMode(texture), 6u);
        EXPECT_EQ(texture->filterAddressing & ~0xFFu, sim::kInitialFilterAddressing & ~0xFFu);
        // Every level is its own rendering, the short side held at 1 from level 6 on.
        EXPECT_EQ(substitute::DrawLog().size(), c.levels);
        if (c.levels == 9) {
            EXPECT_EQ(sim::RasterLevelWidth(texture->raster, 8), 1u);
            EXPECT_EQ(sim::RasterLevelHeight(texture->raster, 6), 1u);
            EXPECT_EQ(PixelAt(LevelPixels(texture, 8), 1, 0, 0).g, 255);
        }
        sim::DestroyTexture(texture);
    }
}

TEST_F(SvgPipeline, OneLevelWithoutMipmapsOrForOnePixel) {
    const std::string path = WriteSvg("one.svg", kWideRect);
    RwTexture* flat = Load(path, 0, 0, 0, 5);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(LockedLevels(), 1u);
    EXPECT_EQ(FilterMode(flat), 2u);
    sim::DestroyTexture(flat);

    sim::ResetRwEngine();
    RwTexture* dot = Load(path, 1, 1, 1, 0);
    ASSERT_NE(dot, nullptr);
    EXPECT_EQ(LockedLevels(), 1u);
    EXPECT_EQ(CreatedRasterFlags(), 0x504);
    EXPECT_EQ(FilterMode(dot), 2u);
    sim::DestroyTexture(dot);
}

TEST_F(SvgPipeline, PixelsArrivePremultipliedThroughPaddedRows) {
    sim::ConfigureRwEngine({12});
    const std::string path = WriteSvg("half.svg", kHalfRedRect);
    RwTexture* texture = Load(path, 0, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    const Bgra p = PixelAt(LevelPixels(texture, 0), 100, 50, 25);
    EXPECT_EQ(p.b, 0);
    EXPECT_EQ(p.g, 0);
    EXPECT_NEAR(p.r, 128, 1);
    EXPECT_NEAR(p.a, 128, 1);
    EXPECT_TRUE(sim::RasterPaddingIntact(texture->raster));
    sim::DestroyTexture(texture);

    // A stripe down the left side stays a stripe on every row, far down included.
    RwTexture* stripe = Load(WriteSvg("stripe.svg",
                                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" "
                                      "height=\"40\"><rect width=\"4\" height=\"40\"/></svg>"),
                             0, 0, 0, 0);
    ASSERT_NE(stripe, nullptr);
    const std::vector<uint8_t> pixels = LevelPixels(stripe, 0);
    for (uint32_t y : {0u, 20u, 39u}) {
        EXPECT_EQ(PixelAt(pixels, 40, 1, y).a, 255) << y;
        EXPECT_EQ(PixelAt(pixels, 40, 20, y).a, 0) << y;
    }
    sim::DestroyTexture(stripe);
}

TEST_F(SvgPipeline, FilterAndPaintOrderAreLeftToThePrePass) {
    // The stroke-first circle is split into two shapes; a renderer honouring paint-order
    // or the filter itself would change these pixels.
    const std::string path = WriteSvg(
        "order.svg",
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"40\">"
        "<circle cx=\"20\" cy=\"20\" r=\"10\" fill=\"#0000ff\" stroke=\"#ff0000\" "
        "stroke-width=\"8\" paint-order=\"stroke fill\"/></svg>");
    RwTexture* texture = Load(path, 0, 0, 0, 0);
    ASSERT_NE(texture, nullptr);
    const std::vector<uint8_t> pixels = LevelPixels(texture, 0);
    EXPECT_EQ(PixelAt(pixels, 40, 20, 20).b, 255);
    // Just inside the circle's edge the fill covers the inner half of the stroke.
    const Bgra inner = PixelAt(pixels, 40, 28, 20);
    EXPECT_EQ(inner.b, 255);
    EXPECT_EQ(inner.r, 0);
    EXPECT_EQ(PixelAt(pixels, 40, 32, 20).r, 255);
    sim::DestroyTexture(texture);
}

TEST_F(SvgPipeline, RefusedTextGivesNullAndNoRaster) {
    struct Case {
        const char* text;
        LoadStatus ownSize;    // loaded at the document's size
        LoadStatus givenSize;  // loaded at 16x16
    };
    const LoadStatus unparsed = LoadStatus::NotDecodable;
    const Case cases[] = {
        {"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\"><g></svg>", unparsed, unparsed},
        {"<svg width=\"8\" height=\"8\"><rect></svg>", unparsed, unparsed},
        // Well-formed to a lenient parser, refused by a conforming one as by Direct2D.
        {"<svg width=\"8\" height=\"8\"><rect width=\"8\" width=\"4\"/></svg>", unparsed,
         unparsed},
        {"<svg width=\"8\" height=\"8\"><rect id='a' id=\"a\"/></svg>", unparsed, unparsed},
        {"<svg xmlns:x=\"urn:x\" width=\"8\" height=\"8\"><rect x:a=\"1\" x:a=\"2\"/></svg>",
         unparsed, unparsed},
        {"<svg width=\"8\" height=\"8\"><x:rect/></svg>", unparsed, unparsed},
        {"<svg width=\"8\" height=\"8\"><rect x:a=\"1\"/></svg>", unparsed, unparsed},
        {"<svg width=\"8\" height=\"8\"><text>&nbsp;</text></svg>", unparsed, unparsed},
        {"<svg width=\"8\" height=\"8\"><rect fill=\"&#0;\"/></svg>", unparsed, unparsed},
        {"<svg width=\"8\" height=\"8\"><text>a & b</text></svg>", unparsed, unparsed},
        {"<svg width=\"8\" height=\"8\"><rect fill=\"a<b\"/></svg>", unparsed, unparsed},
        {"<!DOCTYPE svg [<!ENTITY a \"aaaaaaaaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
         "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;\">"
         "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;\">]>"
         "<svg width=\"8\" height=\"8\"><text>&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;"
         "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;</text></svg>",
         unparsed, unparsed},
        {"", LoadStatus::Unreadable, LoadStatus::Unreadable},
        {"no svg here", LoadStatus::ZeroSize, unparsed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        sim::ResetRwEngine();
        const std::string path = WriteSvg("bad.svg", c.text);
        EXPECT_EQ(Load(path, 0, 0, 1, 0), nullptr);
        EXPECT_EQ(outcome_.status, c.ownSize);
        EXPECT_EQ(Load(path, 16, 16, 1, 0), nullptr);
        EXPECT_EQ(outcome_.status, c.givenSize);
        EXPECT_EQ(sim::CountRwCalls(sim::RwOp::RasterCreate), 0);
    }
    EXPECT_EQ(Load(Scratch("missing.svg"), 16, 16, 0, 0), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::NoSuchFile);
    EXPECT_EQ(Load("", 16, 16, 0, 0), nullptr);
    EXPECT_EQ(outcome_.status, LoadStatus::NoPath);
    EXPECT_EQ(LoadSVGToRwTexture(nullptr, 16, 16, 0, 0), nullptr);
}

TEST_F(SvgPipeline, DeclaredEntitiesAndReferencesAreDecoded) {
    RwTexture* texture = Load(
        WriteSvg("entities.svg",
                 "<?xml version=\"1.0\"?><!DOCTYPE svg [<!ENTITY ns \"http://www.w3.org/2000/svg\">"
                 "<!ENTITY red \"#f&#x30;0\">]><svg xmlns=\"&ns;\" width=\"4\" height=\"4\">"
                 "<rect width=\"4\" height=\"4\" fill=\"&red;\" fill-opacity=\"&#49;\"/></svg>"),
        0, 0, 0, 0);
    ASSERT_NE(texture, nullptr) << LoadStatusText(outcome_.status);
    const Bgra pixel = PixelAt(LevelPixels(texture, 0), 4, 1, 1);
    EXPECT_EQ(pixel.r, 255);
    EXPECT_EQ(pixel.a, 255);
    sim::DestroyTexture(texture);
}

TEST_F(SvgPipeline, WellFormedTextStaysWellFormedThroughThePrePass) {
    // Quoting and white space the pre-pass's plain searches do not expect: the split shape and
    // the blurred one must still parse, and the blur still find its element.
    struct Case {
        const char* shape;
        bool blurred;
    };
    const Case cases[] = {
        {"<path fill='#00f' stroke=\"#f00\" paint-order=\"stroke fill\" d=\"M2 2H14V14H2Z\"/>", false},
        {"<path\tfill=\"#00f\" stroke=\"#f00\" paint-order=\"stroke fill\" d=\"M2 2H14V14H2Z\"/>", false},
        {"<path d=\"M2 2H14V14H2Z\"\nfill=\"#00f\" stroke=\"#f00\" paint-order=\"stroke fill\"/>", false},
        {"<path fill = \"#00f\" stroke='#f00' paint-order='stroke fill' d='M2 2H14V14H2Z'/>", false},
        {"<path id='s' fill='#00f' stroke='#f00' paint-order=\"stroke fill\" d=\"M2 2H14V14H2Z\"/>", false},
        {"<path id='b' fill=\"#00f\" filter=\"url(#f)\" d=\"M2 2H14V14H2Z\"/>", true},
        {"<path id = \"b\" fill=\"#00f\" filter=\"url(#f)\" d=\"M2 2H14V14H2Z\"/>", true},
        {"<path\r\nid='b' fill=\"#00f\" filter=\"url(#f)\" d=\"M2 2H14V14H2Z\"/>", true},
        {"<path id='b' fill='#00f' stroke=\"#f00\" paint-order=\"stroke fill\" filter=\"url(#f)\" "
         "d=\"M2 2H14V14H2Z\"/>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shape);
        substitute::ClearDrawLog();
        const std::string text =
            std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\">"
                        "<filter id=\"f\"><feGaussianBlur stdDeviation=\"1\"/></filter>") +
            c.shape + "<rect width=\"1\" height=\"1\"/></svg>";
        RwTexture* texture = Load(WriteSvg("quoted.svg", text), 16, 16, 0, 0);
        ASSERT_NE(texture, nullptr) << LoadStatusText(outcome_.status);
        EXPECT_EQ(DrawsAt(16, DrawKind::BlurredImage).empty(), !c.blurred);
        sim::DestroyTexture(texture);
        std::filesystem::remove_all(Scratch(".mipcache"));
    }
}

TEST_F(SvgPipeline, ARepeatedLoadComesFromTheCache) {
    const std::string path = WriteSvg("cached.svg", kHalfRedRect);
    RwTexture* first = Load(path, 64, 32, 1, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(FileExists(CacheFileOf(path, 64, 32)));
    const std::vector<uint8_t> level0 = LevelPixels(first, 0);
    sim::DestroyTexture(first);

    // Same size and time, unparsable bytes: only a load that never reads the file succeeds.
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    std::string garbage(static_cast<size_t>(before.st_size), 'x');
    std::ofstream(path, std::ios::binary | std::ios::trunc) << garbage;
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

    substitute::ClearDrawLog();
    RwTexture* second = Load(path, 64, 32, 1, 0);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(LevelPixels(second, 0), level0);
    EXPECT_EQ(FilterMode(second), 6u);
    EXPECT_TRUE(substitute::DrawLog().empty());
    sim::DestroyTexture(second);
    EXPECT_EQ(Load(path, 0, 32, 1, 0), nullptr) << "a missing side needs the file";
}

TEST_F(SvgPipeline, ASizeOfZeroReadsTheFileThenFindsTheCache) {
    const std::string path = WriteSvg("own.svg", kHalfRedRect);
    RwTexture* first = Load(path, 0, 0, 0, 0);
    ASSERT_NE(first, nullptr);
    sim::DestroyTexture(first);
    substitute::ClearDrawLog();
    RwTexture* second = Load(path, 100, 50, 0, 0);
    ASSERT_NE(second, nullptr) << "(0, 0) and the own size share one cache file";
    EXPECT_TRUE(substitute::DrawLog().empty());
    sim::DestroyTexture(second);
}

}  // namespace
