// What `tessivo preview` hands its drawing half, tessivo_preview_<game>:
//
//   tessivo_preview_vc FOLDER OUT WIDTH HEIGHT FROM TO [--background IMAGE] [--frames FILE]
//
// FOLDER is the throw-away game folder the front end laid out. FROM = TO: the strip settled on
// that station, as a PNG. Otherwise the change from one to the other until the strip has faded
// out, as an animation (change_animation.h).
#pragma once

#include <cstdint>
#include <string>

struct PreviewRequest {
    std::string folder;
    std::string out;
    int32_t width = 0;
    int32_t height = 0;
    int32_t from = 0;
    int32_t to = 0;
    std::string background;
    std::string frames;
    bool valid = false;
};

PreviewRequest ParsePreviewRequest(int argc, char** argv);

// "tessivo: preview: <message>" on stderr, worded as the front end words its own errors: the
// player ran `tessivo preview`. Answers 1.
int PreviewFail(const std::string& message);
