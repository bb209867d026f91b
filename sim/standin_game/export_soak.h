// A soak of one Ombrix export in the stand-in game: many calls in one process, as a long game
// session makes them, with the process's private memory measured around them.
#pragma once

#include "ombrix_commands.h"

namespace standin {

// Calls the export request.repeat times after one warm-up call; every request.holdEvery-th
// texture is kept to the end, the others destroyed at once as a game drops what it no longer
// draws; every request.missEvery-th call starts without the image's cache files. Prints "soak calls N nulls N held N held-bytes N private-before N private-after N".
// Exit status: 0 when every call gave a texture, 1 otherwise, 2 when the export cannot be had.
int RunExportSoak(const ExportRequest& request);

}  // namespace standin
