#include "guide_sections.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "tools/tessivo/key_codes.h"

namespace {

struct KeyWords {
    const char* key;
    const char* words;  // what the setting does, for a player; wrapped by the guide
};

// The plug-in's table gives each key's default, comment and range; this adds what a player
// needs to hear beyond the comment.
constexpr KeyWords kKeyWords[] = {
    {"ReloadKey", "The key that reads this file again while the game runs, as a Windows key code "
                  "(list below). 0 or below turns the key off."},
    {"ColorType", "1: every icon in colour. 2: the tuned station in colour, the others grey. "
                  "3: every icon grey."},
    {"IconGap", "The space between icons: half the screen height divided by this number. Larger "
                "brings them closer together."},
    {"IconSizeMultiplier", "The icons' size in percent: 100 draws an icon 2/7 of the screen "
                           "height tall, 50 half that; always 14 wide for 15 tall."},
    {"Alpha1stNonActive", "How solid the icons beside the tuned one are: 0 invisible, 255 solid."},
    {"Alpha2ndNonActive", "The same for the icons two places away."},
    {"RadioSliderTimeout", "How long the strip stays after the last change of station, in "
                           "milliseconds (1000 = 1 second)."},
    {"RadioSliderAnimSpeed", "How fast the strip slides: 1 slow, 100 at once."},
    {"OnlyPlayScrollOnPress", "1: slide only when you press the radio control; any other change "
                              "of station jumps straight there."},
    {"DisableScrollAnim", "1: jump to the station without sliding."},
    {"CenterIconOnly", "1: show the tuned station's icon alone."},
    {"EnableBicycleRadioIcon", "1: show the strip on bicycles too. San Andreas only; the other "
                               "games have no bicycles and ignore it."},
    {"DisableIconDisplayWhileEntering", "1: show nothing while you get into a vehicle."},
};

}  // namespace

std::string WrappedText(const std::string& words, const std::string& indent, size_t width) {
    std::string text, line;
    size_t start = 0;
    while (start < words.size()) {
        size_t end = words.find(' ', start);
        if (end == std::string::npos) end = words.size();
        const std::string word = words.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && indent.size() + line.size() + 1 + word.size() > width) {
            text += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) text += indent + line + "\n";
    return text;
}

std::string FittedUnderlines(const std::string& text) {
    std::string out, previous;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const bool underline = line.size() > 2 && line.find_first_not_of(line[0]) == std::string::npos &&
                               (line[0] == '=' || line[0] == '-');
        if (underline && !previous.empty()) line.assign(previous.size(), line[0]);
        out += line + (end < text.size() ? "\n" : "");
        previous = line;
    }
    return out;
}

namespace {

std::string Range(const SettingsKey& key) {
    if (key.advisedLow == 0 && key.advisedHigh == 1) return "0 (off) or 1 (on)";
    return std::to_string(key.advisedLow) + " to " + std::to_string(key.advisedHigh);
}

std::string Trimmed(std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

std::string SettingsGuideText(const RadioStripSettings& defaults) {
    if (std::size(kKeyWords) != kSettingsKeys.size()) return "";
    std::string text;
    for (size_t i = 0; i < kSettingsKeys.size(); ++i) {
        const SettingsKey& key = kSettingsKeys[i];
        if (std::strcmp(kKeyWords[i].key, key.name) != 0) return "";
        const int32_t value = defaults.*key.field;
        std::string line = std::string(key.name) + "=" + std::to_string(value);
        if (key.field == &RadioStripSettings::ReloadKey && !KeyName(value).empty())
            line += " (" + KeyName(value) + ")";
        text += line + "\n";
        text += "    ; " + std::string(key.comment) + "\n";
        text += "    Default " + std::to_string(value) + ", advised " + Range(key) + ".\n";
        text += WrappedText(kKeyWords[i].words, "    ", 92);
        text += "\n";
    }
    return text;
}

std::string KeyCodesGuideText() {
    std::vector<KeyCode> keys = KeyCodes();
    std::stable_sort(keys.begin(), keys.end(), [](const KeyCode& a, const KeyCode& b) { return a.code < b.code; });
    std::string text, line;
    for (const KeyCode& key : keys) {
        std::string cell = std::to_string(key.code) + " " + key.name;
        cell.append(cell.size() < 18 ? 18 - cell.size() : 1, ' ');
        if (line.size() + cell.size() > 90) {
            text += "  " + Trimmed(line) + "\n";
            line.clear();
        }
        line += cell;
    }
    if (!line.empty()) text += "  " + Trimmed(line) + "\n";
    return text;
}
