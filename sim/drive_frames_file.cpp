#include "drive_frames_file.h"

#include <cstdarg>
#include <cstdio>

namespace sim {
namespace {

void Append(std::string& text, const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    text += line;
}

}  // namespace

const char* GameName(Game game) {
    switch (game) {
        case Game::III: return "iii";
        case Game::VC: return "vc";
        case Game::SA: return "sa";
        case Game::None: break;
    }
    return "none";
}

std::string DriveFramesText(Game game, int32_t release, const std::vector<DriveFrame>& frames) {
    std::string text;
    Append(text, "drive %s release %d frames %u\n", GameName(game), static_cast<int>(release),
           static_cast<unsigned>(frames.size()));
    for (const DriveFrame& frame : frames) {
        Append(text, "frame %u clock %u screen %dx%d\n", static_cast<unsigned>(frame.frame),
               static_cast<unsigned>(frame.clock), static_cast<int>(frame.screenWidth),
               static_cast<int>(frame.screenHeight));
        for (const DrawnCall& call : frame.drawn) {
            if (call.routine == HostRoutine::RwRenderStateSet) {
                Append(text, "state %d %u\n", static_cast<int>(call.state),
                       static_cast<unsigned>(call.value));
                continue;
            }
            const HostRect& r = call.rect;
            const HostColour& c = call.colour;
            Append(text, "draw %u %.9g %.9g %.9g %.9g %u %u %u %u\n",
                   static_cast<unsigned>(call.texture), static_cast<double>(r.left),
                   static_cast<double>(r.bottom), static_cast<double>(r.right),
                   static_cast<double>(r.top), unsigned{c.red}, unsigned{c.green}, unsigned{c.blue},
                   unsigned{c.alpha});
        }
    }
    return text;
}

bool WriteDriveFrames(const std::string& path, Game game, int32_t release,
                      const std::vector<DriveFrame>& frames) {
    const std::string text = DriveFramesText(game, release, frames);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace sim
