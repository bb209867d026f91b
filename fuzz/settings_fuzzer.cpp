// Arbitrary bytes as the player's settings file: read back through ReadSettings and laid out
// by the comment pass, both through the substitute's profile functions.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "host/host_directory.h"
#include "platform/posix/kernel32_modules.h"
#include "platform/posix/posix_paths.h"
#include "platform/posix/substitute.h"
#include "radio/ini_file.h"
#include "radio/radio_strip_settings.h"
#include "radio/settings_file.h"

namespace {

std::string settingsPath;  // POSIX path of the file the plug-in reads

std::string FileBytes() {
    std::ifstream in(settingsPath, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Lines the comment pass keeps whole: short, with no carriage return but before a line feed,
// and no byte-order mark, which the header would push off the first line.
bool PlainLines(const std::string& text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) return false;
    size_t lineStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\0' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            return false;
        if (text[i] == '\n') lineStart = i + 1;
        if (i - lineStart >= 500) return false;
    }
    return true;
}

RadioStripSettings ReadRecord() {
    radioStripSettings = RadioStripSettings{};
    fuzz::Require(ReadSettings());
    return radioStripSettings;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Require(chdir(fuzz::ScratchFolder().c_str()) == 0);
    substitute::SetMainModule(reinterpret_cast<HMODULE>(uintptr_t{0x400000}), "C:\\Games\\VC\\game.exe");
    const std::string folder = std::string(HostDirectory()) + "halvenmoor_mods\\Tessivo";
    std::filesystem::create_directories(substitute::PosixPath(folder.c_str()));
    settingsPath = substitute::PosixPath(HostFilePath(kSettingsRelativePath));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    fuzz::WriteInput(settingsPath, data, size);

    // Reading never changes the file.
    const RadioStripSettings before = ReadRecord();
    fuzz::Require(FileBytes() == input);

    IniFile file(HostFilePath(kSettingsRelativePath));
    for (const SettingsKey& key : kSettingsKeys) file.NoteComment(kSettingsSection, key.name, key.comment);
    const bool laidOut = file.ApplyComments(kSettingsHeader);
    fuzz::Require(laidOut);
    const std::string after = FileBytes();
    fuzz::Require(after.compare(0, 39, "; tessivo.ini - Tessivo Configuration\r\n") == 0);

    // Comments and empty lines between sections change no value.
    if (PlainLines(input)) {
        const RadioStripSettings again = ReadRecord();
        fuzz::Require(std::memcmp(&before, &again, sizeof before) == 0);
    }
    fuzz::Require(substitute::OpenFileHandles() == 0);
    return 0;
}
