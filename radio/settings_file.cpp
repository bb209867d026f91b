#include "settings_file.h"

#include "../host/host_directory.h"
#include "ini_file.h"
#include "radio_strip_settings.h"

namespace {

IniFile SettingsFile() { return IniFile(HostFilePath(kSettingsRelativePath)); }

}  // namespace

void PrepareSettingsFile() {
    if (SettingsFile().Missing()) WriteDefaultSettings();
}

bool ReadSettings() {
    const IniFile file = SettingsFile();
    if (!file.Exists()) return false;
    // Taken whole or not at all: a read given up half-way leaves the settings as they were.
    RadioStripSettings read = radioStripSettings;
    for (const SettingsKey& key : kSettingsKeys)
        read.*key.field = file.ReadInteger(kSettingsSection, key.name, read.*key.field);
    radioStripSettings = read;
    return true;
}

void WriteDefaultSettings() {
    IniFile file = SettingsFile();
    // An existing file is never rewritten, so one left short of a key or of its comments would
    // stay so: it goes, and the next start writes it whole. So does one whose writing was given
    // up half-way.
    try {
        bool whole = true;
        for (const SettingsKey& key : kSettingsKeys)
            whole = file.WriteInteger(kSettingsSection, key.name, radioStripSettings.*key.field,
                                      key.comment) && whole;
        if (!whole || !file.ApplyComments(kSettingsHeader)) file.Remove();
    } catch (...) {
        file.Remove();
        throw;
    }
}
