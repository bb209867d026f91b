// The settings file "halvenmoor_mods\Tessivo\tessivo.ini" under the game directory: created
// with every default and its comment when missing, never changed once it exists.
#pragma once

inline constexpr const char* kSettingsRelativePath = "halvenmoor_mods\\Tessivo\\tessivo.ini";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kSettingsHeader = "; tessivo.ini - Tessivo Configuration\n";

// Writes the defaults when the file is known not to exist. Its folder is never created.
void PrepareSettingsFile();

// Reads every key into radioStripSettings, a missing key keeping the field's value. False,
// with the record unchanged, when the file does not exist or its path does not fit.
bool ReadSettings();

// Writes every key from radioStripSettings with its comment, then lays the file out; when a
// step fails the file is removed rather than left partial.
void WriteDefaultSettings();
