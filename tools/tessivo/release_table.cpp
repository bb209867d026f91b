#include "release_table.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kWorks[] = "everything: the strip, the settings file, the reload and mute keys";
constexpr char kNothing[] = "nothing: the strip never shows; the game runs as without the plug-in";

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

const char* KnownName(const GameChoice& game, int32_t code) {
    for (const KnownRelease& row : game.releaseNames)
        if (row.code == code) return row.name;
    return nullptr;
}

// Each code once, in the order the probes try them.
std::vector<int32_t> Codes(const GameChoice& game) {
    std::vector<int32_t> codes;
    for (const games::VersionSignature& row : game.signatures)
        if (std::find(codes.begin(), codes.end(), row.code) == codes.end()) codes.push_back(row.code);
    return codes;
}

}  // namespace

std::string ReleaseName(const GameChoice& game, int32_t code) {
    const char* name = KnownName(game, code);
    return name ? name : "release code " + std::to_string(code);
}

bool ReleaseHooked(const GameChoice& game, int32_t code) {
    return std::any_of(game.hookedSites.begin(), game.hookedSites.end(),
                       [code](const games::EventCallSite& site) { return site.version == code; });
}

std::string UnhookedAdvice(const GameChoice& game) {
    std::string hooked;
    for (const int32_t code : Codes(game)) {
        if (!ReleaseHooked(game, code)) continue;
        const char* name = KnownName(game, code);
        hooked += (hooked.empty() ? "" : " or ") +
                  (name ? std::string(name) + " (code " + std::to_string(code) + ")" : ReleaseName(game, code));
    }
    return std::string("the strip works only with ") + game.title + " " + hooked +
           ". Use the game program of one of those, or remove the two .asi files: here they do nothing";
}

std::string ReleaseTableText(const GameChoice& game, const std::string& indent) {
    std::string text = indent + Padded("code", 7) + Padded("release", 20) + "what the strip does\n";
    for (const int32_t code : Codes(game)) {
        const char* name = KnownName(game, code);
        text += indent + Padded(std::to_string(code), 7) + Padded(name ? name : "-", 20) +
                (ReleaseHooked(game, code) ? kWorks : kNothing) + "\n";
    }
    text += indent + Padded("-", 7) + Padded("any other", 20) + kNothing + "\n";
    return text;
}
