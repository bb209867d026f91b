#include "gif_timing.h"

#include <cstring>

namespace sim {
namespace {

constexpr uint8_t kExtension = 0x21, kImage = 0x2C, kTrailer = 0x3B;
constexpr uint8_t kControlLabel = 0xF9, kApplicationLabel = 0xFF;
constexpr char kLoopApplication[] = "NETSCAPE2.0";  // as LoopBlock spells it

size_t ColourTableSize(uint8_t packed) { return packed & 0x80 ? 3u << ((packed & 7) + 1) : 0; }

// Past the sub-blocks starting at `at`, their zero terminator included; 0 when they run off.
size_t SkipSubBlocks(const std::vector<uint8_t>& gif, size_t at) {
    while (at < gif.size() && gif[at] != 0) at += gif[at] + 1u;
    return at < gif.size() ? at + 1 : 0;
}

std::vector<uint8_t> LoopBlock(uint16_t loops) {
    return {kExtension, kApplicationLabel, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
            3,          1,                 static_cast<uint8_t>(loops & 0xFF), static_cast<uint8_t>(loops >> 8), 0};
}

std::vector<uint8_t> ControlBlock(uint16_t delay) {
    return {kExtension, kControlLabel, 4, 0, static_cast<uint8_t>(delay & 0xFF), static_cast<uint8_t>(delay >> 8), 0,
            0};
}

}  // namespace

bool SetGifTiming(std::vector<uint8_t>& gif, const std::vector<uint16_t>& delays, uint16_t loops) {
    if (gif.size() < 13 || (std::memcmp(gif.data(), "GIF89a", 6) != 0 && std::memcmp(gif.data(), "GIF87a", 6) != 0))
        return false;
    std::vector<uint8_t> out(gif.begin(), gif.begin() + 13);
    std::memcpy(out.data(), "GIF89a", 6);  // the extensions need the 89a version
    size_t at = 13 + ColourTableSize(gif[10]);
    if (at > gif.size()) return false;
    out.insert(out.end(), gif.begin() + 13, gif.begin() + static_cast<std::ptrdiff_t>(at));
    const size_t loopAt = out.size();
    bool looping = false;
    size_t image = 0;
    std::vector<uint8_t> pendingControl;  // the control block met since the last image
    while (at < gif.size() && gif[at] != kTrailer) {
        if (gif[at] == kExtension && at + 2 < gif.size()) {
            const size_t end = SkipSubBlocks(gif, at + 2);
            if (end == 0) return false;
            const std::vector<uint8_t> block(gif.begin() + static_cast<std::ptrdiff_t>(at),
                                             gif.begin() + static_cast<std::ptrdiff_t>(end));
            if (block[1] == kControlLabel && block.size() >= 8 && block[2] == 4) {
                pendingControl = block;
            } else {
                looping = looping || (block[1] == kApplicationLabel && block.size() >= 14 &&
                                      std::memcmp(&block[3], kLoopApplication, 11) == 0);
                out.insert(out.end(), block.begin(), block.end());
            }
            at = end;
        } else if (gif[at] == kImage && at + 10 < gif.size()) {
            if (image >= delays.size()) return false;
            std::vector<uint8_t> control = pendingControl.empty() ? ControlBlock(0) : pendingControl;
            control[4] = static_cast<uint8_t>(delays[image] & 0xFF);
            control[5] = static_cast<uint8_t>(delays[image] >> 8);
            out.insert(out.end(), control.begin(), control.end());
            pendingControl.clear();
            const size_t data = at + 10 + ColourTableSize(gif[at + 9]);
            const size_t end = data < gif.size() ? SkipSubBlocks(gif, data + 1) : 0;
            if (end == 0) return false;
            out.insert(out.end(), gif.begin() + static_cast<std::ptrdiff_t>(at),
                       gif.begin() + static_cast<std::ptrdiff_t>(end));
            at = end;
            ++image;
        } else {
            return false;
        }
    }
    if (at >= gif.size() || image != delays.size()) return false;
    out.push_back(kTrailer);
    if (!looping) {
        const std::vector<uint8_t> loop = LoopBlock(loops);
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(loopAt), loop.begin(), loop.end());
    }
    gif.swap(out);
    return true;
}

}  // namespace sim
