#include "settings_file.h"

#include "../host/host_directory.h"
#include "ini_file.h"
#include "radio_strip_settings.h"

namespace {

IniFile SettingsFile() { return IniFile(HostFilePath(kSettingsRelativePath)); }

}  // namespace

void PrepareSettingsFile() {
    if (!SettingsFile().Exists()) WriteDefaultSettings();
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
    for (const SettingsKey& key : kSettingsKeys)
        file.WriteInteger(kSettingsSection, key.name, radioStripSettings.*key.field, key.comment);
    file.ApplyComments(kSettingsHeader);
}
