// The profile-file cases, kept once and run both ways: through the substitute by
// profile_strings_test.cpp and through Windows' own kernel32 under Wine by
// tests/windows/profile_probe.cpp. The expectations are what Wine does.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace profile_cases {

// File bytes: `head`, then `repeat` copies of `fill`, then `tail`. A null head: no file.
struct Bytes {
    const char* head;
    size_t headSize, repeat;
    char fill;
    const char* tail;
    size_t tailSize;
};

#define INI_TEXT(s) ::profile_cases::Bytes{s, sizeof(s) - 1, 0, '\0', "", 0}
#define INI_LONG(head, count, fill, tail) \
    ::profile_cases::Bytes{head, sizeof(head) - 1, count, fill, tail, sizeof(tail) - 1}
#define NO_INI ::profile_cases::Bytes{nullptr, 0, 0, '\0', "", 0}

struct ReadCase {
    const char* group;
    const char* name;
    Bytes file;
    UINT expected;  // GetPrivateProfileIntA's answer
    INT fallback = 7;
    const char* section = "Settings";
    const char* key = "IconGap";
};

// Every case starts from its own file (Wine caches profile files by name).
const ReadCase kReadCases[] = {
    // The value text: blanks, a sign, a lower-case "0x", digits up to the first other
    // character, all modulo 2^32; no digits at all read 0, an empty value the default.
    {"value", "blanks and tab before", INI_TEXT("[Settings]\r\nIconGap= \t12\r\n"), 12},
    {"value", "plus sign", INI_TEXT("[Settings]\r\nIconGap=+5\r\n"), 5},
    {"value", "minus sign", INI_TEXT("[Settings]\r\nIconGap=-5\r\n"), 0xFFFFFFFBu},
    {"value", "two signs", INI_TEXT("[Settings]\r\nIconGap=+-5\r\n"), 0},
    {"value", "hex", INI_TEXT("[Settings]\r\nIconGap=0x1F\r\n"), 31},
    {"value", "hex upper X", INI_TEXT("[Settings]\r\nIconGap=0X1F\r\n"), 0},
    {"value", "leading zero is not octal", INI_TEXT("[Settings]\r\nIconGap=012\r\n"), 12},
    {"value", "digits then comment", INI_TEXT("[Settings]\r\nIconGap=5 ; five\r\n"), 5},
    {"value", "text", INI_TEXT("[Settings]\r\nIconGap=abc\r\n"), 0},
    {"value", "blanks only", INI_TEXT("[Settings]\r\nIconGap=   \r\n"), 7},
    {"value", "empty, negative default", INI_TEXT("[Settings]\r\nIconGap=\r\n"), 0xFFFFFFFEu, -2},
    {"value", "overflow", INI_TEXT("[Settings]\r\nIconGap=99999999999\r\n"), 1215752191u},
    {"value", "first 29 characters", INI_TEXT("[Settings]\r\nIconGap=000000000000000000000000000012\r\n"), 1},
    {"value", "5000 digits", INI_LONG("[Settings]\r\nIconGap=", 5000, '1', "\r\n"), 1729917383u},

    // Section and key names: no case, blanks around them dropped.
    {"names", "case", INI_TEXT("[SETTINGS]\r\niconGAP=5\r\n"), 5},
    {"names", "blanks in the file", INI_TEXT("  [\tSettings  ]  \r\n  IconGap  =5\r\n"), 5},
    {"names", "asked with blanks", INI_TEXT("[Settings]\r\nIconGap=5\r\n"), 5, 7, " Settings\t", "  IconGap "},
    {"names", "text after bracket", INI_TEXT("[Settings] ; options\r\nIconGap=5\r\n"), 5},
    {"names", "no closing bracket", INI_TEXT("[Settings]\r\nA=1\r\n[Other\r\nIconGap=5\r\n"), 5},
    {"names", "comments", INI_TEXT("; tessivo.ini\r\n[Settings]\r\n;IconGap=5\r\nIconGap=3\r\n"), 3},
    {"names", "longer key name", INI_TEXT("[Settings]\r\nIconGapX=5\r\n"), 7},
    {"names", "other section", INI_TEXT("[Other]\r\nIconGap=5\r\n"), 7},

    // The file.
    {"file", "missing file", NO_INI, 7},
    {"file", "no last line end", INI_TEXT("[Settings]\r\nIconGap=5"), 5},
    {"file", "LF line ends", INI_TEXT("[Settings]\nIconGap=5\n"), 5},
    {"file", "UTF-8 mark", INI_TEXT("\xEF\xBB\xBF[Settings]\r\nIconGap=5\r\n"), 5},
};

struct WriteCall {
    const char *section, *key, *value;
};

struct WriteCase {
    const char* group;
    const char* name;
    Bytes before;
    Bytes after;     // the file after every call; NO_INI: no file
    BOOL result = TRUE;  // of every call
    WriteCall calls[3] = {{"Settings", "IconGap", "5"}};  // a null section ends the list
    bool inMissingFolder = false;  // the path names a folder that does not exist
};

const WriteCase kWriteCases[] = {
    {"create", "keys into a new file", NO_INI,
     INI_TEXT("[Settings]\r\nReloadKey=162\r\nIconGap=3\r\n[Other]\r\nB=-1\r\n"), TRUE,
     {{"Settings", "ReloadKey", "162"}, {"Settings", "IconGap", "3"}, {"Other", "B", "-1"}}},
    {"create", "missing folder", NO_INI, NO_INI, FALSE, {{"Settings", "IconGap", "5"}}, true},
    {"create", "section at the end", INI_TEXT("[Other]\r\nB=2\r\n"),
     INI_TEXT("[Other]\r\nB=2\r\n[Settings]\r\nIconGap=5\r\n")},
    {"place", "replaces in place, names as the file has them",
     INI_TEXT("[settings]\r\nA=1\r\n  iconGAP  =  3\r\nB=2\r\n"),
     INI_TEXT("[settings]\r\nA=1\r\niconGAP=5\r\nB=2\r\n")},
    {"place", "appends after the section's last line, blank lines dropped",
     INI_TEXT("[Settings]\r\nA=1\r\n; last\r\n\r\n\r\n[Other]\r\nB=2\r\n"),
     INI_TEXT("[Settings]\r\nA=1\r\n; last\r\nIconGap=5\r\n[Other]\r\nB=2\r\n")},
    {"rest", "LF lines become CR LF", INI_TEXT("; top\n[Other]\nB = 2\n\n[Settings]\nIconGap=3\n"),
     INI_TEXT("; top\r\n[Other]\r\nB=2\r\n[Settings]\r\nIconGap=5\r\n")},
};

// Running a case: the same code under the substitute and under Windows.

inline std::string Expand(const Bytes& b) {
    std::string s(b.head, b.headSize);
    s.append(b.repeat, b.fill);
    s.append(b.tail, b.tailSize);
    return s;
}

// The bytes quoted C-style.
inline std::string Shown(const std::string& bytes) {
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        char piece[8] = {ch, '\0'};
        if (c == '\r' || c == '\n') std::snprintf(piece, sizeof piece, "%s", c == '\r' ? "\\r" : "\\n");
        else if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\')
            std::snprintf(piece, sizeof piece, "\\x%02x", c);
        out += piece;
    }
    return out + "\"";
}

// A Windows path (what the calls take) as the C library of this build opens it.
inline std::string StdioPath(std::string windowsPath) {
#if !defined(_WIN32)
    for (char& c : windowsPath)
        if (c == '\\') c = '/';
#endif
    return windowsPath;
}

inline bool ReadBytes(const std::string& windowsPath, std::string& bytes) {
    bytes.clear();
    FILE* f = std::fopen(StdioPath(windowsPath).c_str(), "rb");
    if (!f) return false;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
    std::fclose(f);
    return true;
}

inline bool WriteBytes(const std::string& windowsPath, const std::string& bytes) {
    FILE* f = std::fopen(StdioPath(windowsPath).c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline std::string CaseFile(const std::string& folder, char kind, size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "%c%03zu.ini", kind, index);
    return folder + "\\" + name;
}

// "" when the case holds, else what differed. `folder`: an empty scratch folder (Windows path).
inline std::string RunReadCase(const ReadCase& c, size_t index, const std::string& folder) {
    const std::string path = CaseFile(folder, 'r', index);
    const std::string before = Expand(c.file);
    if (c.file.head && !WriteBytes(path, before)) return "cannot make the file " + path;
    const UINT got = GetPrivateProfileIntA(c.section, c.key, c.fallback, path.c_str());
    std::string detail, after;
    if (got != c.expected)
        detail = "answer " + std::to_string(got) + ", expected " + std::to_string(c.expected);
    if (ReadBytes(path, after) != (c.file.head != nullptr) || after != before)
        detail += "; reading changed the file";
    return detail;
}

inline std::string RunWriteCase(const WriteCase& c, size_t index, const std::string& folder) {
    const std::string missing = folder + "\\missing";
    const std::string path = CaseFile(c.inMissingFolder ? missing : folder, 'w', index);
    if (c.before.head && !WriteBytes(path, Expand(c.before))) return "cannot make the file " + path;
    std::string detail, after;
    for (const WriteCall& call : c.calls) {
        if (!call.section) break;
        const BOOL result = WritePrivateProfileStringA(call.section, call.key, call.value, path.c_str());
        if ((result != FALSE) != (c.result != FALSE))
            detail += result ? "; a call answered TRUE" : "; a call failed";
    }
    const bool exists = ReadBytes(path, after);
    if (exists != (c.after.head != nullptr) || (exists && after != Expand(c.after)))
        detail += "; file " + (exists ? Shown(after) : "missing") + ", expected " +
                  (c.after.head ? Shown(Expand(c.after)) : "none");
    if (c.inMissingFolder && GetFileAttributesA(missing.c_str()) != INVALID_FILE_ATTRIBUTES)
        detail += "; the folder was made";
    return detail;
}

}  // namespace profile_cases
