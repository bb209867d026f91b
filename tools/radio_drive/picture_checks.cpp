#include "picture_checks.h"

#include <webp/demux.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/canvas.h"
#include "sim/compositor.h"

AnimationFacts ReadAnimation(const std::string& path) {
    AnimationFacts facts;
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (bytes.empty()) return facts;
    const WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return facts;
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    if (!decoder) return facts;
    WebPAnimInfo info;
    bool ok = WebPAnimDecoderGetInfo(decoder, &info);
    if (ok) {
        facts.width = info.canvas_width;
        facts.height = info.canvas_height;
    }
    while (ok && WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t* pixels = nullptr;
        int timestamp = 0;
        ok = WebPAnimDecoderGetNext(decoder, &pixels, &timestamp);
        if (ok) {
            ++facts.frames;
            facts.durationMs = static_cast<uint32_t>(timestamp);
        }
    }
    WebPAnimDecoderDelete(decoder);
    facts.decoded = ok && facts.frames > 0;
    return facts;
}

bool DrawsOverBackgroundAt(const sim::DriveFrame& frame, uint32_t x, uint32_t y) {
    const uint32_t width = static_cast<uint32_t>(frame.screenWidth);
    const uint32_t height = static_cast<uint32_t>(frame.screenHeight);
    if (x >= width || y >= height) return false;
    const sim::Canvas bare = sim::MakeBackground(width, height);
    const sim::Canvas drawn = sim::ComposeFrame(frame.calls, bare);
    const size_t at = (static_cast<size_t>(y) * width + x) * 4;
    return std::memcmp(&bare.bgra[at], &drawn.bgra[at], 4) != 0;
}
