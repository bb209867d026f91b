#include "drive_pictures.h"

#include <algorithm>
#include <cstdio>

#include "sim/animated_image.h"
#include "sim/compositor.h"
#include "sim/contact_sheet.h"
#include "sim/png_writer.h"

namespace {

// On foot, fading in, settled, sliding after each press, settled, fading out, gone.
constexpr uint32_t kKeyFrames[] = {5, 12, 40, 62, 70, 90, 109, 113, 125, 310, 316, 330};

sim::Canvas TopBand(sim::Canvas canvas) {
    canvas.height = std::max<uint32_t>(1, canvas.height / 5);
    canvas.bgra.resize(static_cast<size_t>(canvas.width) * canvas.height * 4);
    return canvas;
}

sim::Canvas Compose(const sim::DriveFrame& frame) {
    return sim::ComposeFrame(frame.calls, sim::MakeBackground(static_cast<uint32_t>(frame.screenWidth),
                                                              static_cast<uint32_t>(frame.screenHeight)));
}

}  // namespace

std::vector<std::string> WriteDrivePictures(const std::string& folder,
                                            const std::vector<sim::DriveFrame>& frames) {
    std::vector<std::string> written;
    std::vector<sim::Canvas> keys;
    std::vector<std::string> labels;
    for (uint32_t index : kKeyFrames) {
        if (index >= frames.size()) continue;
        keys.push_back(Compose(frames[index]));
        // The frame and the time since the drive began, as the game clock counts it.
        char label[48];
        const double seconds = (static_cast<double>(frames[index].clock) - sim::kDriveStartClock) / 1000.0;
        std::snprintf(label, sizeof label, "FRAME %u  T %.2f S", static_cast<unsigned>(index), seconds);
        labels.push_back(label);
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%04u.png", static_cast<unsigned>(index));
        const sim::Canvas& canvas = keys.back();
        if (sim::WritePngFromBgra(folder + name, canvas.width, canvas.height, canvas.bgra))
            written.push_back(folder + name);
    }
    sim::ContactSheetLayout sheet;
    sheet.thumbnailWidth = 320;
    if (sim::WriteContactSheet(folder + "/contact-sheet.png", keys, sheet, labels))
        written.push_back(folder + "/contact-sheet.png");

    std::vector<sim::Canvas> band;
    for (size_t index = 0; index < frames.size(); index += kAnimationStride)
        band.push_back(TopBand(Compose(frames[index])));
    sim::AnimationOptions animation;
    animation.frameMs = sim::kDriveFrameMs * kAnimationStride;
    if (sim::WriteAnimatedWebp(folder + "/drive.webp", band, animation))
        written.push_back(folder + "/drive.webp");
    return written;
}
