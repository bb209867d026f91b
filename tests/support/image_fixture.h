// A stand-in game with its engine at this build's table addresses, a clean substitute and a
// scratch folder per test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "load/rw_types.h"

struct Bgra {
    uint8_t b, g, r, a;
};

class ImageFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Path of a file in this test's scratch folder.
    std::string Scratch(const std::string& name) const { return dir_ + "/" + name; }
    // Path of the cache file a load of `source` at width x height writes.
    static std::string CacheFileOf(const std::string& source, uint32_t width, uint32_t height);

    std::string dir_;
    long liveComAtStart_ = 0;
};

// PNG of width x height whose pixels come from `pixel(x, y)`.
void WritePng(const std::string& path, uint32_t width, uint32_t height,
              const std::function<Bgra(uint32_t, uint32_t)>& pixel);
// A JPEG written through gdk-pixbuf, solid colour.
void WriteJpeg(const std::string& path, uint32_t width, uint32_t height, Bgra colour);

std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool FileExists(const std::string& path);
// Moves the file's modification time by `seconds`.
void TouchBy(const std::string& path, int seconds);

// Level facts of a texture's raster, read from the stand-in engine.
uint32_t LevelCount(const RwTexture* texture);
std::vector<uint8_t> LevelPixels(const RwTexture* texture, uint32_t level);
uint32_t FilterMode(const RwTexture* texture);
