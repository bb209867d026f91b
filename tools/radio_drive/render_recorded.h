// Pictures of a drive recorded by another process (the real DLLs in the stand-in game under
// Wine), drawn with the host compositor and checked: the icons are loaded again through the
// host image library as the plug-in loads them, so a texture's creation index names the same
// icon here as in the recording.
#pragma once

#include <string>

// Writes key frames, a contact sheet and the animation into `outFolder`, prints every file
// and every check, and answers the exit status: 0 when all was written and every check held.
int RenderRecordedDrive(const std::string& framesFile, const std::string& iconFolder,
                        const std::string& outFolder);
