// ombrix prepass: the text the renderer is handed, and which elements it blurs itself.
#include <cstdio>

#include "commands.h"
#include "svg/blur_filters.h"
#include "svg/paint_order.h"
#include "svg/svg_file.h"
#include "svg/svg_source.h"

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
        for (const BlurTarget& t : targets) std::printf("blur %s %g\n", t.id.c_str(), t.stdDeviation);
        if (targets.empty()) std::printf("no blurred elements\n");
        return 0;
    }
    std::fwrite(svgText.data(), 1, svgText.size(), stdout);
    return 0;
}
