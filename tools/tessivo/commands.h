// The tessivo tool's commands: what a player or an icon maker asks of the radio strip without
// starting the game.
#pragma once

#include <string>
#include <vector>

// Each takes the arguments after its name and answers the exit status; errors go to stderr.
int PreviewCommand(const std::vector<std::string>& args, const std::string& toolFolder);
int CheckCommand(const std::vector<std::string>& args);

extern const char kPreviewUsage[];
extern const char kCheckUsage[];

// "tessivo: <message>" on stderr; answers 1.
int ToolError(const std::string& message);
