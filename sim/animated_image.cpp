#include "animated_image.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <climits>
#include <cstdio>

namespace sim {

namespace {

struct EncoderRef {
    WebPAnimEncoder* encoder;
    ~EncoderRef() { WebPAnimEncoderDelete(encoder); }
};

struct PictureRef {
    WebPPicture picture;
    ~PictureRef() { WebPPictureFree(&picture); }
};

bool AddFrame(WebPAnimEncoder* encoder, const Canvas& frame, int timestampMs,
              const WebPConfig& config) {
    PictureRef ref;
    if (!WebPPictureInit(&ref.picture)) return false;
    ref.picture.use_argb = 1;
    ref.picture.width = static_cast<int>(frame.width);
    ref.picture.height = static_cast<int>(frame.height);
    return WebPPictureImportBGRA(&ref.picture, frame.bgra.data(),
                                 static_cast<int>(frame.width * 4)) &&
           WebPAnimEncoderAdd(encoder, &ref.picture, timestampMs, &config);
}

bool WriteFile(const std::string& path, const WebPData& data) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(data.bytes, 1, data.size, file) == data.size;
    return std::fclose(file) == 0 && written;
}

}  // namespace

bool WriteAnimatedWebp(const std::string& path, const std::vector<Canvas>& frames,
                       const AnimationOptions& options) {
    if (frames.empty()) return false;
    const uint32_t width = frames[0].width, height = frames[0].height;
    if (width == 0 || height == 0 || width > WEBP_MAX_DIMENSION || height > WEBP_MAX_DIMENSION ||
        static_cast<uint64_t>(options.frameMs) * frames.size() > INT_MAX)
        return false;
    for (const Canvas& frame : frames)
        if (frame.width != width || frame.height != height ||
            frame.bgra.size() != static_cast<size_t>(width) * height * 4)
            return false;

    WebPConfig config;
    if (!WebPConfigInit(&config)) return false;
    config.lossless = options.lossless ? 1 : 0;
    config.quality = options.quality;
    if (!WebPValidateConfig(&config)) return false;
    WebPAnimEncoderOptions encoderOptions;
    if (!WebPAnimEncoderOptionsInit(&encoderOptions)) return false;
    encoderOptions.anim_params.loop_count = options.loopCount;

    EncoderRef ref{WebPAnimEncoderNew(static_cast<int>(width), static_cast<int>(height),
                                      &encoderOptions)};
    if (!ref.encoder) return false;
    int timestamp = 0;
    for (const Canvas& frame : frames) {
        if (!AddFrame(ref.encoder, frame, timestamp, config)) return false;
        timestamp += static_cast<int>(options.frameMs);
    }
    // A last, empty add gives the final frame its duration.
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(ref.encoder, nullptr, timestamp, nullptr) ||
        !WebPAnimEncoderAssemble(ref.encoder, &data))
        return false;
    const bool written = WriteFile(path, data);
    WebPDataClear(&data);
    return written;
}

const char kAnimationExtension[] = ".webp";

bool WriteAnimation(const std::string& path, const std::vector<Canvas>& frames,
                    const AnimationOptions& options) {
    return WriteAnimatedWebp(path, frames, options);
}

}  // namespace sim
