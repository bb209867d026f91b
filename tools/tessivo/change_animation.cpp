#include "change_animation.h"

#include <cstdio>
#include <filesystem>

#include "sim/animated_image.h"
#include "sim/png_writer.h"

namespace {

constexpr char kNumberField[] = "%04d";

std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

// `pattern` with its one number field filled; the name is bounded by the pattern's length.
std::string NumberedName(const std::string& pattern, size_t number) {
    const size_t field = pattern.find(kNumberField);
    char digits[24];
    std::snprintf(digits, sizeof digits, "%04zu", number);
    return pattern.substr(0, field) + digits + pattern.substr(field + sizeof kNumberField - 1);
}

}  // namespace

std::string ChangeAnimationNameProblem(const std::string& out) {
    const size_t field = out.find(kNumberField);
    if (field != std::string::npos) {
        if (out.find('%', field + 1) != std::string::npos || out.find('%') != field)
            return "--out " + out + ": numbered pictures take one %04d and no other %";
        if (LowerExtension(out) != ".png") return "--out " + out + ": numbered pictures are .png files";
        return "";
    }
    if (LowerExtension(out) != sim::kAnimationExtension)
        return "--out " + out + ": the change is written as a " + sim::kAnimationExtension +
               " animation, or as numbered .png pictures with %04d in the name";
    return "";
}

std::string WriteChangeAnimation(const std::string& out, const std::vector<sim::Canvas>& pictures,
                                 uint32_t frameMs) {
    if (out.find(kNumberField) == std::string::npos) {
        sim::AnimationOptions options;
        options.frameMs = frameMs;
        return sim::WriteAnimation(out, pictures, options) ? "" : "cannot write " + out;
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        const std::string name = NumberedName(out, i);
        if (!sim::WritePngFromBgra(name, pictures[i].width, pictures[i].height, pictures[i].bgra))
            return "cannot write " + name;
    }
    return "";
}
