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
    for (const SettingsKey& key : kSettingsKeys)
        radioStripSettings.*key.field =
            file.ReadInteger(kSettingsSection, key.name, radioStripSettings.*key.field);
    return true;
}

void WriteDefaultSettings() {
    IniFile file = SettingsFile();
    bool whole = true;
    for (const SettingsKey& key : kSettingsKeys)
        whole = file.WriteInteger(kSettingsSection, key.name, radioStripSettings.*key.field,
                                  key.comment) && whole;
    // An existing file is never rewritten, so one left short of a key or of its comments would
    // stay so: it goes, and the next start writes it whole.
    if (!whole || !file.ApplyComments(kSettingsHeader)) file.Remove();
}
