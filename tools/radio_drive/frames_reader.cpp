#include "frames_reader.h"

#include <fstream>
#include <sstream>

namespace {

bool ParseDraw(std::istringstream& in, sim::DrawnCall& call) {
    unsigned colour[4] = {};
    call.routine = sim::HostRoutine::SpriteDraw;
    in >> call.texture >> call.rect.left >> call.rect.bottom >> call.rect.right >> call.rect.top >>
        colour[0] >> colour[1] >> colour[2] >> colour[3];
    for (unsigned c : colour)
        if (c > 255) return false;
    call.colour = {static_cast<uint8_t>(colour[0]), static_cast<uint8_t>(colour[1]),
                   static_cast<uint8_t>(colour[2]), static_cast<uint8_t>(colour[3])};
    return static_cast<bool>(in);
}

bool ParseLine(const std::string& line, RecordedDrive& drive, size_t& declared) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "drive") {
        std::string releaseWord, framesWord;
        in >> drive.game >> releaseWord >> drive.release >> framesWord >> declared;
        return in && releaseWord == "release" && framesWord == "frames";
    }
    if (word == "frame") {
        sim::DriveFrame frame;
        std::string clockWord, screenWord;
        char by = 0;
        in >> frame.frame >> clockWord >> frame.clock >> screenWord >> frame.screenWidth >> by >>
            frame.screenHeight;
        if (!in || clockWord != "clock" || screenWord != "screen" || by != 'x') return false;
        drive.frames.push_back(std::move(frame));
        return true;
    }
    if (drive.frames.empty()) return false;
    sim::DrawnCall call{};
    if (word == "state") {
        call.routine = sim::HostRoutine::RwRenderStateSet;
        in >> call.state >> call.value;
    } else if (word != "draw" || !ParseDraw(in, call)) {
        return false;
    }
    if (!in) return false;
    drive.frames.back().drawn.push_back(call);
    return true;
}

}  // namespace

bool ReadRecordedDrive(const std::string& path, RecordedDrive& drive, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    drive = {};
    size_t declared = 0, number = 0;
    for (std::string line; std::getline(file, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (!ParseLine(line, drive, declared)) {
            error = path + ":" + std::to_string(number) + ": not a frames line: " + line;
            return false;
        }
    }
    if (drive.game.empty() || drive.frames.size() != declared) {
        error = path + ": the header promises " + std::to_string(declared) + " frames, the file holds " +
                std::to_string(drive.frames.size());
        return false;
    }
    return true;
}
