// tessivo_preview_<game>: the drawing half of `tessivo preview` (arguments in preview_request.h).
// The radio plug-in starts in a game folder the front end laid out (the player's settings and
// icons), the stand-in plays a short drive, and the compositor draws the recorded frames. Not
// meant to be started by hand: `tessivo preview` checks the arguments first.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "change_animation.h"
#include "games/selected_game.h"
#include "preview_plugins.h"
#include "preview_request.h"
#include "sim/compositor.h"
#include "sim/drive_frames_file.h"
#include "sim/option_numbers.h"
#include "sim/png_writer.h"
#include "sim/scripted_drive.h"

namespace {

constexpr uint32_t kGetInFrame = 1;
constexpr uint32_t kSettleFrames = 150;  // 3 s: every fade-in and slide has ended by then
constexpr uint32_t kPressFrame = 60;
constexpr uint32_t kAnimationStride = 2;
constexpr int32_t kLongestTimeout = 30000;  // ms of fade-out the animation waits for at most

// Numbers as the front end writes them: plain decimal, none negative.
bool ToInt(const char* text, int32_t& value) {
    uint32_t parsed = 0;
    if (!sim::ParseOptionNumber(text, parsed) || parsed > INT32_MAX) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

sim::Game ThisGame() {
    for (sim::Game game : {sim::Game::III, sim::Game::VC, sim::Game::SA})
        if (std::string(sim::GameName(game)) == PREVIEW_GAME_NAME) return game;
    return sim::Game::None;
}

// Forward presses from one station to the other along the ring the game steps through.
int32_t StepsBetween(int32_t from, int32_t to) {
    const auto& ring = selected_game::kRingWithoutUserTracks;
    const int32_t count = static_cast<int32_t>(std::size(ring));
    int32_t a = -1, b = -1;
    for (int32_t i = 0; i < count; ++i) {
        if (ring[i].stationId == from) a = i;
        if (ring[i].stationId == to) b = i;
    }
    return a < 0 || b < 0 ? 1 : ((b - a) % count + count) % count;
}

sim::DriveScript Script(const PreviewRequest& r, int32_t sliderTimeout) {
    sim::DriveScript script{kGetInFrame + kSettleFrames,
                            {{0, sim::DriveAction::OnFoot, 0}, {kGetInFrame, sim::DriveAction::GetIn, r.from}},
                            r.width,
                            r.height};
    if (r.from == r.to) return script;
    script.events.push_back({kPressFrame, sim::DriveAction::PressRadio, StepsBetween(r.from, r.to)});
    script.events.push_back({kPressFrame + 1, sim::DriveAction::Retune, r.to});
    const int32_t timeout = std::clamp(sliderTimeout, 0, kLongestTimeout);
    script.frameCount = kPressFrame + 1 + static_cast<uint32_t>(timeout) / sim::kDriveFrameMs + kSettleFrames;
    return script;
}

bool SameDrawing(const sim::DriveFrame& a, const sim::DriveFrame& b) {
    return std::equal(a.drawn.begin(), a.drawn.end(), b.drawn.begin(), b.drawn.end(),
                      [](const sim::DrawnCall& x, const sim::DrawnCall& y) {
                          return x.routine == y.routine && x.state == y.state && x.value == y.value &&
                                 x.texture == y.texture && x.rect.left == y.rect.left &&
                                 x.rect.top == y.rect.top && x.rect.right == y.rect.right &&
                                 x.rect.bottom == y.rect.bottom && x.colour.red == y.colour.red &&
                                 x.colour.green == y.colour.green && x.colour.blue == y.colour.blue &&
                                 x.colour.alpha == y.colour.alpha;
                      });
}

bool DrawsSprites(const sim::DriveFrame& frame) {
    return std::any_of(frame.drawn.begin(), frame.drawn.end(),
                       [](const sim::DrawnCall& c) { return c.routine == sim::HostRoutine::SpriteDraw; });
}

// The first frame after which nothing moves; the last one drawing anything when it never
// settles; the last one when nothing is drawn at all (the settings hide the strip).
size_t SettledFrame(const std::vector<sim::DriveFrame>& frames) {
    for (size_t i = kGetInFrame + 1; i + 1 < frames.size(); ++i)
        if (DrawsSprites(frames[i]) && SameDrawing(frames[i], frames[i + 1])) return i;
    for (size_t i = frames.size(); i-- > 0;)
        if (DrawsSprites(frames[i])) return i;
    return frames.size() - 1;
}

// Rows from the top of the screen down to the lowest edge any frame draws: the animation
// keeps only the band the strip moves in.
uint32_t StripBandHeight(const std::vector<sim::DriveFrame>& frames, uint32_t screenHeight) {
    float lowest = 1;
    for (const sim::DriveFrame& frame : frames)
        for (const sim::DrawnCall& call : frame.drawn)
            if (call.routine == sim::HostRoutine::SpriteDraw && std::isfinite(call.rect.bottom))
                lowest = std::max(lowest, call.rect.bottom + 8);
    return std::min(screenHeight, static_cast<uint32_t>(std::min<float>(lowest, 1e6f)));
}

}  // namespace

PreviewRequest ParsePreviewRequest(int argc, char** argv) {
    PreviewRequest r;
    if (argc < 7) return r;
    r.folder = argv[1];
    r.out = argv[2];
    if (!ToInt(argv[3], r.width) || !ToInt(argv[4], r.height) || !ToInt(argv[5], r.from) ||
        !ToInt(argv[6], r.to) || r.width <= 0 || r.height <= 0)
        return r;
    for (int i = 7; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--background") r.background = argv[i + 1];
        else if (option == "--frames") r.frames = argv[i + 1];
        else return r;
    }
    r.valid = (argc - 7) % 2 == 0;
    return r;
}

int PreviewFail(const std::string& message) {
    std::fprintf(stderr, "tessivo: preview: %s\n", message.c_str());
    return 1;
}

int main(int argc, char** argv) {
    const PreviewRequest r = ParsePreviewRequest(argc, argv);
    if (!r.valid) return PreviewFail("arguments not as tessivo preview passes them; run tessivo preview");
    const uint32_t width = static_cast<uint32_t>(r.width), height = static_cast<uint32_t>(r.height);
    sim::Canvas background = sim::MakeBackground(width, height);
    if (!r.background.empty() && !sim::LoadBackground(r.background, width, height, background))
        return PreviewFail("cannot read the background " + r.background + ": not a picture this tool decodes");

    const sim::Game game = ThisGame();
    std::string error;
    if (!StartPreviewPlugins(game, PREVIEW_RELEASE, r.folder, error)) return PreviewFail(error);
    const std::vector<sim::DriveFrame> frames = sim::PlayDrive(Script(r, PreviewSliderTimeout(r.folder)));
    int status = 0;
    if (frames.empty()) {
        status = PreviewFail("the stand-in game did not start");
    } else if (r.from == r.to) {
        const size_t index = SettledFrame(frames);
        const sim::Canvas picture = sim::ComposeFrame(frames[index].calls, background);
        if (!sim::WritePngFromBgra(r.out, picture.width, picture.height, picture.bgra))
            status = PreviewFail("cannot write " + r.out);
        else
            std::printf("wrote %s: station %d, frame %zu, %ux%u\n", r.out.c_str(), r.from, index, width, height);
    } else {
        sim::Canvas band = background;
        band.height = StripBandHeight(frames, height);
        band.bgra.resize(static_cast<size_t>(band.width) * band.height * 4);
        std::vector<sim::Canvas> pictures;
        for (size_t i = kGetInFrame; i < frames.size(); i += kAnimationStride)
            pictures.push_back(sim::ComposeFrame(frames[i].calls, band));
        const uint32_t frameMs = sim::kDriveFrameMs * kAnimationStride;
        if (const std::string problem = WriteChangeAnimation(r.out, pictures, frameMs); !problem.empty())
            status = PreviewFail(problem);
        else
            std::printf("wrote %s: station %d to %d, %zu pictures of %ux%u, %u ms apart\n", r.out.c_str(), r.from,
                        r.to, pictures.size(), band.width, band.height, frameMs);
    }
    if (status == 0 && !r.frames.empty() && !sim::WriteDriveFrames(r.frames, game, PREVIEW_RELEASE, frames))
        status = PreviewFail("cannot write " + r.frames);
    StopPreviewPlugins(game);
    return status;
}
