// ombrix prepass: the text the renderer is handed, and which elements it blurs itself.
#include <cstdio>

#include "commands.h"
#include "svg/blur_filters.h"
#include "svg/paint_order.h"
#include "svg/svg_source.h"

namespace {

std::string Utf8FromUtf16(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace

int RunPrepassCommand(const std::vector<std::string>& args) {
    std::string file;
    bool blur = false;
    for (const std::string& a : args) {
        if (a == "--blur") {
            blur = true;
        } else if (!a.empty() && a[0] == '-') {
            return Fail("unknown option '" + a + "'");
        } else if (file.empty()) {
            file = a;
        } else {
            return Fail("more than one file given");
        }
    }
    if (file.empty()) return Fail("prepass needs an SVG file");
    std::string svgText = ReadSvgText(file.c_str());
    if (svgText.empty()) return Fail("cannot read '" + file + "' or it is empty");

    uint32_t width = 0, height = 0;
    ParseSvgRootSize(svgText, width, height);
    EmulatePaintOrder(svgText);
    std::vector<BlurTarget> targets = ExtractBlurFilters(svgText);
    if (blur) {
        std::printf("root size %ux%u\n", width, height);
        for (const BlurTarget& t : targets)
            std::printf("blur %s %g\n", Utf8FromUtf16(t.id).c_str(), t.stdDeviation);
        if (targets.empty()) std::printf("no blurred elements\n");
        return 0;
    }
    std::fwrite(svgText.data(), 1, svgText.size(), stdout);
    return 0;
}
