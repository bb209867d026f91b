#include "image_fixture.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "games/selected_game.h"
#include "platform/posix/substitute.h"
#include "sim/game_image.h"
#include "sim/png_writer.h"
#include "sim/rw_engine.h"

void ImageFixture::SetUp() {
    ASSERT_TRUE(sim::MapGameImage());
    sim::InstallRwEngine(selected_game::kRwFunctions);
    sim::ResetRwEngine();
    substitute::ResetSubstitute();
    char pattern[] = "/tmp/ombrix-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    liveComAtStart_ = substitute::LiveComObjects();
}

void ImageFixture::TearDown() {
    substitute::ResetSubstitute();
    sim::ResetRwEngine();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string ImageFixture::CacheFileOf(const std::string& source, uint32_t width, uint32_t height) {
    size_t slash = source.find_last_of('/');
    return source.substr(0, slash) + "/.mipcache/" + source.substr(slash + 1) + "_" +
           std::to_string(width) + "x" + std::to_string(height) + ".mipmap";
}

void WritePng(const std::string& path, uint32_t width, uint32_t height,
              const std::function<Bgra(uint32_t, uint32_t)>& pixel) {
    std::vector<uint8_t> bgra(size_t(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            Bgra p = pixel(x, y);
            uint8_t* at = bgra.data() + (size_t(y) * width + x) * 4;
            at[0] = p.b;
            at[1] = p.g;
            at[2] = p.r;
            at[3] = p.a;
        }
    ASSERT_TRUE(sim::WritePngFromBgra(path, width, height, bgra));
}

void WriteJpeg(const std::string& path, uint32_t width, uint32_t height, Bgra colour) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, int(width), int(height));
    ASSERT_NE(pixbuf, nullptr);
    gdk_pixbuf_fill(pixbuf, (uint32_t(colour.r) << 24) | (uint32_t(colour.g) << 16) |
                                (uint32_t(colour.b) << 8) | 0xFF);
    GError* error = nullptr;
    gboolean saved = gdk_pixbuf_save(pixbuf, path.c_str(), "jpeg", &error, "quality", "100",
                                     nullptr);
    if (error) g_error_free(error);
    g_object_unref(pixbuf);
    ASSERT_TRUE(saved);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

void TouchBy(const std::string& path, int seconds) {
    auto when = std::filesystem::last_write_time(path);
    std::filesystem::last_write_time(path, when + std::chrono::seconds(seconds));
}

uint32_t LevelCount(const RwTexture* texture) { return sim::RasterLevelCount(texture->raster); }

std::vector<uint8_t> LevelPixels(const RwTexture* texture, uint32_t level) {
    return sim::RasterLevelPixels(texture->raster, level);
}

uint32_t FilterMode(const RwTexture* texture) { return texture->filterAddressing & 0xFF; }
