#include "render_recorded.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "drive_pictures.h"
#include "frames_reader.h"
#include "games/selected_game.h"
#include "image/exports.h"
#include "picture_checks.h"
#include "sim/rw_engine.h"

namespace {

// Moments of the script when the strip stands still at full strength: after fading in and
// after each of the two slides, well before the fade-out.
constexpr uint32_t kSettledFrames[] = {40, 90, 125};

using TextureByIndex = std::map<uint32_t, RwTexture*>;

int Fail(const std::string& message) {
    std::fprintf(stderr, "radio_drive --render: FAIL %s\n", message.c_str());
    return 1;
}

bool Check(bool ok, const std::string& what) {
    std::printf("check %s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    return ok;
}

// Slot order and arguments as the plug-in's start-up uses them, the filter it sets included.
TextureByIndex LoadIcons(const std::string& folder) {
    TextureByIndex textures;
    std::string missing;
    for (const char* name : selected_game::kStationIconTable) {
        RwTexture* texture = FindPNGinFolderPath(folder.c_str(), name, 0, 0, 1, 0);
        if (!texture) {
            missing += std::string(" ") + name;
            continue;
        }
        texture->filterAddressing = (texture->filterAddressing & ~RwUInt32{0xFF}) | rwFILTERLINEARMIPLINEAR;
        textures[sim::TextureCreationIndex(texture)] = texture;
    }
    std::printf("icons %zu of %zu loaded from %s\n", textures.size(), selected_game::kStationIconTable.size(),
                folder.c_str());
    if (!missing.empty()) std::printf("icons missing:%s\n", missing.c_str());
    return textures;
}

// Fills every frame's calls from its recorded draws; false naming the first texture index
// no icon of the folder made.
bool Resolve(std::vector<sim::DriveFrame>& frames, const TextureByIndex& textures, std::string& error) {
    for (sim::DriveFrame& frame : frames)
        for (const sim::DrawnCall& drawn : frame.drawn) {
            if (drawn.routine != sim::HostRoutine::SpriteDraw) continue;
            const auto found = textures.find(drawn.texture);
            if (drawn.texture != 0 && found == textures.end()) {
                error = "frame " + std::to_string(frame.frame) + " draws texture " + std::to_string(drawn.texture) +
                        ", which no icon of the folder made (were the same icons used for the recording?)";
                return false;
            }
            sim::HostCall call{};
            call.routine = sim::HostRoutine::SpriteDraw;
            call.name = "spriteDraw";
            call.texture = drawn.texture == 0 ? nullptr : found->second;
            call.rect = drawn.rect;
            call.colour = drawn.colour;
            frame.calls.push_back(call);
        }
    return true;
}

bool CheckPictures(const std::string& outFolder, const std::vector<sim::DriveFrame>& frames) {
    bool ok = true;
    const sim::DriveFrame& first = frames.front();
    const uint32_t width = static_cast<uint32_t>(first.screenWidth), height = static_cast<uint32_t>(first.screenHeight);
    const uint32_t written = static_cast<uint32_t>((frames.size() + kAnimationStride - 1) / kAnimationStride);
    const uint32_t frameMs = sim::kDriveFrameMs * kAnimationStride;
    const AnimationFacts animation = ReadAnimation(outFolder + "/drive.webp");
    ok &= Check(animation.decoded, "drive.webp decodes (" + std::to_string(animation.frames) +
                                       " frames, identical neighbours folded by the encoder)");
    ok &= Check(animation.durationMs == written * frameMs,
                "drive.webp plays " + std::to_string(animation.durationMs) + " ms = " + std::to_string(written) +
                    " canvases written x " + std::to_string(frameMs) + " ms (" + std::to_string(frames.size()) +
                    " drive frames, every " + std::to_string(kAnimationStride) + ")");
    ok &= Check(animation.width == width && animation.height == std::max<uint32_t>(1, height / 5),
                "drive.webp is the strip's band " + std::to_string(animation.width) + "x" +
                    std::to_string(animation.height) + " of the " + std::to_string(width) + "x" +
                    std::to_string(height) + " screen");
    const uint32_t x = width / 2, y = height / 12;
    for (uint32_t index : kSettledFrames) {
        const bool drawn = index < frames.size() && DrawsOverBackgroundAt(frames[index], x, y);
        ok &= Check(drawn, "settled frame " + std::to_string(index) + ": the centre icon covers (" + std::to_string(x) +
                               ", " + std::to_string(y) + "), which differs from the background");
    }
    return ok;
}

}  // namespace

int RenderRecordedDrive(const std::string& framesFile, const std::string& iconFolder, const std::string& outFolder) {
    RecordedDrive drive;
    std::string error;
    if (!ReadRecordedDrive(framesFile, drive, error)) return Fail(error);
    if (drive.game != DRIVE_GAME_NAME)
        return Fail(framesFile + " holds a drive of " + drive.game + ", this tool draws " DRIVE_GAME_NAME);
    if (drive.frames.empty()) return Fail(framesFile + " holds no frames");
    std::printf("drive %s release %d: %zu frames from %s\n", drive.game.c_str(), static_cast<int>(drive.release),
                drive.frames.size(), framesFile.c_str());

    sim::InstallRwEngine(selected_game::kRwFunctions);
    const TextureByIndex textures = LoadIcons(iconFolder);
    if (textures.empty()) return Fail("no icon loaded from " + iconFolder);
    int status = 0;
    if (!Resolve(drive.frames, textures, error)) {
        status = Fail(error);
    } else {
        const std::vector<std::string> pictures = WriteDrivePictures(outFolder, drive.frames);
        for (const std::string& picture : pictures) std::printf("picture %s\n", picture.c_str());
        // Key frames, the sheet and the animation.
        if (pictures.size() < 3) status = Fail("pictures not all written into " + outFolder);
        if (!CheckPictures(outFolder, drive.frames)) status = Fail("a check of the pictures failed");
    }
    for (const auto& entry : textures) sim::DestroyTexture(entry.second);
    return status;
}
