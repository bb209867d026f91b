// The settings file's reader and writer for one operation: the profile functions do the
// reading and writing, a comment pass lays the written file out for people to read.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "../host/host_directory.h"

class IniFile {
public:
    // Copies `path`; an empty path (a join that did not fit) makes every operation a no-op
    // that reads defaults and writes nothing.
    explicit IniFile(const char* path);

    bool Exists() const;

    // True only when the file is known to be absent: a failure of another kind (access
    // denied, a sharing violation) may hide a player's file, which must never be overwritten.
    bool Missing() const;

    // Deletes the file.
    void Remove() const;

    // The key's value as the profile reader gives it, `fallback` when it is missing.
    int32_t ReadInteger(const char* section, const char* key, int32_t fallback) const;

    // Writes the key with `value` in decimal; a non-empty `comment` is kept for ApplyComments.
    // False when the profile writer failed.
    bool WriteInteger(const char* section, const char* key, int32_t value, const char* comment);

    // Keeps `comment` for the key's line in ApplyComments; an empty one changes nothing.
    void NoteComment(const char* section, const char* key, const char* comment);

    // Rewrites the file with `header` on top, a comment line above every key that has one,
    // an empty line before every section but the first, and no earlier comment lines. False
    // when the file could not be read or not be written whole.
    bool ApplyComments(const char* header) const;

private:
    char path_[kHostPathBufferSize];              // the joined path, empty when unusable
    std::map<std::string, std::string> comments_; // "section|key" -> comment text
};
