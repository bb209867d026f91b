// Reads back a frames file (sim/drive_frames_file.h), as the stand-in game writes it under
// Wine, so the real DLLs' drive can be looked at with the host compositor.
#pragma once

#include <string>
#include <vector>

#include "sim/scripted_drive.h"

struct RecordedDrive {
    std::string game;  // "iii", "vc" or "sa"
    int32_t release = 0;
    std::vector<sim::DriveFrame> frames;  // `drawn` filled; `calls` left empty
};

// False with `error` naming the line when the file cannot be read or a line is not one the
// writer makes, or the frame count disagrees with the header.
bool ReadRecordedDrive(const std::string& path, RecordedDrive& drive, std::string& error);
