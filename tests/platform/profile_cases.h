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
    size_t headSize;
    size_t repeat;
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

// Every case of a group starts from its own file (Wine caches profile files by name).
const ReadCase kReadCases[] = {
    // The value text.
    {"value", "plain", INI_TEXT("[Settings]\r\nIconGap=5\r\n"), 5},
    {"value", "leading blanks", INI_TEXT("[Settings]\r\nIconGap=   12\r\n"), 12},
    {"value", "tab before", INI_TEXT("[Settings]\r\nIconGap=\t12\r\n"), 12},
    {"value", "plus sign", INI_TEXT("[Settings]\r\nIconGap=+5\r\n"), 5},
    {"value", "minus sign", INI_TEXT("[Settings]\r\nIconGap=-5\r\n"), 0xFFFFFFFBu},
    {"value", "minus one", INI_TEXT("[Settings]\r\nIconGap=-1\r\n"), 0xFFFFFFFFu},
    {"value", "two signs", INI_TEXT("[Settings]\r\nIconGap=+-5\r\n"), 0},
    {"value", "sign alone", INI_TEXT("[Settings]\r\nIconGap=-\r\n"), 0},
    {"value", "blank after sign", INI_TEXT("[Settings]\r\nIconGap=- 5\r\n"), 0},
    {"value", "hex", INI_TEXT("[Settings]\r\nIconGap=0x1F\r\n"), 31},
    {"value", "hex upper X", INI_TEXT("[Settings]\r\nIconGap=0X1F\r\n"), 0},
    {"value", "negative hex", INI_TEXT("[Settings]\r\nIconGap=-0x10\r\n"), 0xFFFFFFF0u},
    {"value", "octal prefix", INI_TEXT("[Settings]\r\nIconGap=0o17\r\n"), 15},
    {"value", "binary prefix", INI_TEXT("[Settings]\r\nIconGap=0b101\r\n"), 5},
    {"value", "leading zero", INI_TEXT("[Settings]\r\nIconGap=012\r\n"), 12},
    {"value", "digits then text", INI_TEXT("[Settings]\r\nIconGap=  12abc\r\n"), 12},
    {"value", "digits blank digits", INI_TEXT("[Settings]\r\nIconGap=5 6\r\n"), 5},
    {"value", "digits then comment", INI_TEXT("[Settings]\r\nIconGap=5 ; five\r\n"), 5},
    {"value", "decimal point", INI_TEXT("[Settings]\r\nIconGap=2.9\r\n"), 2},
    {"value", "text", INI_TEXT("[Settings]\r\nIconGap=abc\r\n"), 0},
    {"value", "empty", INI_TEXT("[Settings]\r\nIconGap=\r\n"), 7},
    {"value", "blanks only", INI_TEXT("[Settings]\r\nIconGap=   \r\n"), 7},
    {"value", "empty, negative default", INI_TEXT("[Settings]\r\nIconGap=\r\n"), 0xFFFFFFFEu, -2},
    {"value", "double quotes", INI_TEXT("[Settings]\r\nIconGap=\"12\"\r\n"), 12},
    {"value", "single quotes", INI_TEXT("[Settings]\r\nIconGap='12'\r\n"), 12},
    {"value", "opening quote only", INI_TEXT("[Settings]\r\nIconGap=\"12\r\n"), 0},
    {"value", "quote alone", INI_TEXT("[Settings]\r\nIconGap=\"\r\n"), 0},
    {"value", "empty quotes", INI_TEXT("[Settings]\r\nIconGap=\"\"\r\n"), 7},
    {"value", "blank in quotes", INI_TEXT("[Settings]\r\nIconGap=\" 12\"\r\n"), 12},
    {"value", "control character before", INI_TEXT("[Settings]\r\nIconGap=\x01" "5\r\n"), 5},
    {"value", "2^31", INI_TEXT("[Settings]\r\nIconGap=2147483648\r\n"), 0x80000000u},
    {"value", "2^32 - 1", INI_TEXT("[Settings]\r\nIconGap=4294967295\r\n"), 0xFFFFFFFFu},
    {"value", "2^32 wraps to 0", INI_TEXT("[Settings]\r\nIconGap=4294967296\r\n"), 0},
    {"value", "overflow", INI_TEXT("[Settings]\r\nIconGap=99999999999\r\n"), 1215752191u},
    {"value", "negative overflow", INI_TEXT("[Settings]\r\nIconGap=-99999999999\r\n"), 0xB7891801u},
    {"value", "first 29 characters", INI_TEXT("[Settings]\r\nIconGap=000000000000000000000000000012\r\n"), 1},
    {"value", "quoted, 29 characters", INI_TEXT("[Settings]\r\nIconGap=\"00000000000000000000000000012\"\r\n"), 1},
    {"value", "5000 digits", INI_LONG("[Settings]\r\nIconGap=", 5000, '1', "\r\n"), 1729917383u},
    {"value", "5000 characters after", INI_LONG("[Settings]\r\nIconGap=5", 5000, 'x', "\r\n"), 5},

    // Section and key names.
    {"names", "blanks before =", INI_TEXT("[Settings]\r\nIconGap  =5\r\n"), 5},
    {"names", "blanks before key", INI_TEXT("[Settings]\r\n  IconGap=5\r\n"), 5},
    {"names", "key case", INI_TEXT("[Settings]\r\niconGAP=5\r\n"), 5},
    {"names", "section case", INI_TEXT("[SETTINGS]\r\nIconGap=5\r\n"), 5},
    {"names", "asked with blanks", INI_TEXT("[Settings]\r\nIconGap=5\r\n"), 5, 7, " Settings\t", "  IconGap "},
    {"names", "blanks inside brackets", INI_TEXT("[\tSettings  ]\r\nIconGap=5\r\n"), 5},
    {"names", "blank inside the name", INI_TEXT("[Set tings]\r\nIconGap=5\r\n"), 7},
    {"names", "blanks before bracket", INI_TEXT("  [Settings]  \r\nIconGap=5\r\n"), 5},
    {"names", "text after bracket", INI_TEXT("[Settings] ; options\r\nIconGap=5\r\n"), 5},
    {"names", "last bracket closes", INI_TEXT("[Settings]]\r\nIconGap=5\r\n"), 7},
    {"names", "no closing bracket", INI_TEXT("[Settings]\r\nA=1\r\n[Other\r\nIconGap=5\r\n"), 5},
    {"names", "no closing bracket alone", INI_TEXT("[Settings\r\nIconGap=5\r\n"), 7},
    {"names", "comment line", INI_TEXT("[Settings]\r\n;IconGap=5\r\n"), 7},
    {"names", "hash line", INI_TEXT("[Settings]\r\n#IconGap=5\r\n"), 7},
    {"names", "line without =", INI_TEXT("[Settings]\r\nIconGap\r\n"), 7},
    {"names", "longer key name", INI_TEXT("[Settings]\r\nIconGapX=5\r\n"), 7},
    {"names", "duplicated key", INI_TEXT("[Settings]\r\nIconGap=1\r\nIconGap=2\r\n"), 1},
    {"names", "duplicated section", INI_TEXT("[Settings]\r\nA=1\r\n[Settings]\r\nIconGap=2\r\n"), 7},
    {"names", "other section", INI_TEXT("[Other]\r\nIconGap=5\r\n"), 7},
    {"names", "before any section", INI_TEXT("IconGap=5\r\n[Settings]\r\n"), 7},
    {"names", "missing section", INI_TEXT("[Settings]\r\nIconGap=5\r\n"), 7, 7, "Setting"},
    {"names", "empty section name: lines above the first section",
     INI_TEXT("IconGap=5\r\n[Settings]\r\nIconGap=6\r\n"), 5, 7, ""},
    {"names", "empty key name", INI_TEXT("[Settings]\r\n=5\r\n"), 5, 7, "Settings", ""},
    {"names", "non-ASCII letters differing in case differ", INI_TEXT("[\xC4rger]\r\nIconGap=5\r\n"), 7, 7, "\xE4rger"},
    {"names", "comment above key", INI_TEXT("; tessivo.ini\r\n[Settings]\r\n; Gap\r\nIconGap=3\r\n"), 3},

    // The file.
    {"file", "missing file", NO_INI, 7},
    {"file", "missing file, negative default", NO_INI, 0xFFFFFFFFu, -1},
    {"file", "empty file", INI_TEXT(""), 7},
    {"file", "no last line end", INI_TEXT("[Settings]\r\nIconGap=5"), 5},
    {"file", "LF line ends", INI_TEXT("[Settings]\nIconGap=5\n"), 5},
    {"file", "CR line ends", INI_TEXT("[Settings]\rIconGap=5\r"), 5},
    {"file", "CR inside a line", INI_TEXT("[Settings]\r\nA=1\rIconGap=5\r\n"), 5},
    {"file", "empty and blank lines", INI_TEXT("\r\n\r\n[Settings]\r\n\r\n \t \r\nIconGap=5\r\n\r\n"), 5},
    {"file", "DOS end-of-file mark", INI_TEXT("[Settings]\r\nIconGap=5\x1a"), 5},
    {"file", "UTF-8 mark", INI_TEXT("\xEF\xBB\xBF[Settings]\r\nIconGap=5\r\n"), 5},
    {"file", "600-character line before", INI_LONG("[Settings]\r\n;", 600, 'x', "\r\nIconGap=5\r\n"), 5},
    {"file", "5000-character line before", INI_LONG("[Settings]\r\n;", 5000, 'x', "\r\nIconGap=5\r\n"), 5},
    {"file", "5000-character key", INI_LONG("[Settings]\r\n", 5000, 'K', "=1\r\nIconGap=5\r\n"), 5},
    {"file", "5000-character section", INI_LONG("[", 5000, 'S', "]\r\nIconGap=1\r\n[Settings]\r\nIconGap=5\r\n"), 5},
    {"file", "NUL inside the value", INI_TEXT("[Settings]\r\nIconGap=5\0" "9\r\n"), 5},
    {"file", "NUL inside the key", INI_TEXT("[Settings]\r\nIcon\0Gap=5\r\n"), 7},
    {"file", "NUL lines before", INI_TEXT("\0\0\0\r\n[Settings]\r\n\0\r\nIconGap=5\r\n"), 5},
    {"file", "binary line before", INI_TEXT("\x80\x81\x8d\x9d\xa0\xfe\xff\x7f\r\n[Settings]\r\nIconGap=5\r\n"), 5},
    {"file", "binary value", INI_TEXT("[Settings]\r\nIconGap=\x80" "5\r\n"), 0},
};

struct WriteCall {
    const char* section;
    const char* key;
    const char* value;
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
    // Creating.
    {"create", "new file", NO_INI, INI_TEXT("[Settings]\r\nIconGap=5\r\n")},
    {"create", "three keys into a new file", NO_INI,
     INI_TEXT("[Settings]\r\nReloadKey=162\r\nColorType=2\r\nIconGap=3\r\n"), TRUE,
     {{"Settings", "ReloadKey", "162"}, {"Settings", "ColorType", "2"}, {"Settings", "IconGap", "3"}}},
    {"create", "empty file", INI_TEXT(""), INI_TEXT("[Settings]\r\nIconGap=5\r\n")},
    {"create", "missing folder", NO_INI, NO_INI, FALSE, {{"Settings", "IconGap", "5"}}, true},
    {"create", "section at the end", INI_TEXT("[Other]\r\nB=2\r\n"),
     INI_TEXT("[Other]\r\nB=2\r\n[Settings]\r\nIconGap=5\r\n")},
    {"create", "asked with blanks", NO_INI, INI_TEXT("[Settings\t]\r\nIconGap =5\r\n"), TRUE,
     {{" Settings\t", "  IconGap ", "  5"}}},
    {"create", "value's blanks: leading dropped, trailing kept", NO_INI,
     INI_TEXT("[Settings]\r\nIconGap=5 \t\r\n"), TRUE, {{"Settings", "IconGap", "\t 5 \t"}}},
    {"create", "line break inside the value written as it is", NO_INI,
     INI_TEXT("[Settings]\r\nIconGap=5\r\nX=1\r\n"), TRUE, {{"Settings", "IconGap", "5\r\nX=1"}}},
    {"create", "second write replaces the first", NO_INI, INI_TEXT("[Settings]\r\nIconGap=6\r\n"), TRUE,
     {{"Settings", "IconGap", "5"}, {"settings", "ICONGAP", "6"}}},
    {"create", "negative value", NO_INI, INI_TEXT("[Settings]\r\nIconGap=-1\r\n"), TRUE,
     {{"Settings", "IconGap", "-1"}}},

    // Replacing and appending.
    {"place", "replaces in place", INI_TEXT("[Settings]\r\nA=1\r\nIconGap=3\r\nB=2\r\n"),
     INI_TEXT("[Settings]\r\nA=1\r\nIconGap=5\r\nB=2\r\n")},
    {"place", "appends at the section's end", INI_TEXT("[Settings]\r\nA=1\r\n[Other]\r\nB=2\r\n"),
     INI_TEXT("[Settings]\r\nA=1\r\nIconGap=5\r\n[Other]\r\nB=2\r\n")},
    {"place", "after a trailing comment, blank lines dropped",
     INI_TEXT("[Settings]\r\nA=1\r\n; last\r\n\r\n\r\n[Other]\r\nB=2\r\n"),
     INI_TEXT("[Settings]\r\nA=1\r\n; last\r\nIconGap=5\r\n[Other]\r\nB=2\r\n")},
    {"place", "first of duplicated keys", INI_TEXT("[Settings]\r\nIconGap=1\r\nIconGap=2\r\n"),
     INI_TEXT("[Settings]\r\nIconGap=5\r\nIconGap=2\r\n")},
    {"place", "first of duplicated sections", INI_TEXT("[Settings]\r\nA=1\r\n[Settings]\r\nB=2\r\n"),
     INI_TEXT("[Settings]\r\nA=1\r\nIconGap=5\r\n[Settings]\r\nB=2\r\n")},
    {"place", "names as the file has them", INI_TEXT("[settings]\r\n  iconGAP  =  3\r\n"),
     INI_TEXT("[settings]\r\niconGAP=5\r\n")},
    {"place", "line without = gets the value", INI_TEXT("[Settings]\r\nIconGap\r\nB=2\r\n"),
     INI_TEXT("[Settings]\r\nIconGap=5\r\nB=2\r\n")},
    {"place", "no last line end", INI_TEXT("[Settings]\r\nA=1"), INI_TEXT("[Settings]\r\nA=1\r\nIconGap=5\r\n")},
    {"place", "blanks inside brackets dropped", INI_TEXT("[ Settings\t]\r\nA=1\r\n"),
     INI_TEXT("[Settings]\r\nA=1\r\nIconGap=5\r\n")},
    {"place", "section named by blanks loses its line", INI_TEXT("[Other]\r\nB=2\r\n[ ]\r\nA=1\r\n"),
     INI_TEXT("[Other]\r\nB=2\r\nA=1\r\n[Settings]\r\nIconGap=5\r\n")},

    // What happens to the rest of the file.
    {"rest", "same value leaves the file untouched", INI_TEXT("[Settings]\n\nIconGap = 5\n"),
     INI_TEXT("[Settings]\n\nIconGap = 5\n")},
    {"rest", "LF lines become CR LF", INI_TEXT("; top\n[Other]\nB = 2\n\n[Settings]\nIconGap=3\n"),
     INI_TEXT("; top\r\n[Other]\r\nB=2\r\n[Settings]\r\nIconGap=5\r\n")},
    {"rest", "header comment kept", INI_TEXT("; tessivo.ini - Tessivo Configuration\r\n[Settings]\r\nA=1\r\n"),
     INI_TEXT("; tessivo.ini - Tessivo Configuration\r\n[Settings]\r\nA=1\r\nIconGap=5\r\n")},
    {"rest", "text after the bracket dropped", INI_TEXT("[Settings] ; options\r\nA=1\r\n"),
     INI_TEXT("[Settings]\r\nA=1\r\nIconGap=5\r\n")},
    {"rest", "binary bytes kept", INI_TEXT("; \x80\x81\x8d\x8f\x90\x9d\xa0\xff\r\n[Settings]\r\nIconGap=3\r\n"),
     INI_TEXT("; \x80\x81\x8d\x8f\x90\x9d\xa0\xff\r\n[Settings]\r\nIconGap=5\r\n")},
    {"rest", "NUL ends a line's text", INI_TEXT("[Settings]\r\nX=1\0junk\r\nIconGap=3\r\n"),
     INI_TEXT("[Settings]\r\nX=1\r\nIconGap=5\r\n")},
    {"rest", "5000-character line kept", INI_LONG("[Settings]\r\n;", 5000, 'x', "\r\nIconGap=3\r\n"),
     INI_LONG("[Settings]\r\n;", 5000, 'x', "\r\nIconGap=5\r\n")},
    {"rest", "UTF-8 mark kept", INI_TEXT("\xEF\xBB\xBF[Settings]\r\nIconGap=3\r\n"),
     INI_TEXT("\xEF\xBB\xBF[Settings]\r\nIconGap=5\r\n")},
    {"rest", "CR alone ends a line", INI_TEXT("[Settings]\rA=1\rIconGap=3\r"),
     INI_TEXT("[Settings]\r\nA=1\r\nIconGap=5\r\n")},
    {"rest", "lines with an empty name", INI_TEXT("[Settings]\r\n=1\r\n=2\r\nA=3\r\n=4\r\n"),
     INI_TEXT("[Settings]\r\n=1\r\nA=3\r\n=4\r\nIconGap=5\r\n")},
};

// ---------------------------------------------------------------------------------------------
// Running a case: the same code under the substitute and under Windows.

inline std::string Expand(const Bytes& b) {
    std::string s(b.head, b.headSize);
    s.append(b.repeat, b.fill);
    s.append(b.tail, b.tailSize);
    return s;
}

// The bytes quoted C-style, runs of more than 8 equal bytes as {N x 'c'}.
inline std::string Shown(const std::string& bytes) {
    std::string out = "\"";
    for (size_t i = 0; i < bytes.size();) {
        size_t run = 1;
        while (i + run < bytes.size() && bytes[i + run] == bytes[i]) ++run;
        char piece[32];
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r') std::snprintf(piece, sizeof piece, "\\r");
        else if (c == '\n') std::snprintf(piece, sizeof piece, "\\n");
        else if (c == '"' || c == '\\') std::snprintf(piece, sizeof piece, "\\%c", c);
        else if (c < 0x20 || c >= 0x7f) std::snprintf(piece, sizeof piece, "\\x%02x", c);
        else std::snprintf(piece, sizeof piece, "%c", c);
        if (run > 8) {
            char counted[64];
            std::snprintf(counted, sizeof counted, "{%zu x %s}", run, piece);
            out += counted;
            i += run;
        } else {
            out += piece;
            ++i;
        }
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
    std::string detail;
    char text[96];
    if (got != c.expected) {
        std::snprintf(text, sizeof text, "answer %u (0x%X), expected %u (0x%X)", got, got, c.expected,
                      c.expected);
        detail = text;
    }
    std::string after;
    const bool exists = ReadBytes(path, after);
    if (exists != (c.file.head != nullptr) || after != before)
        detail += (detail.empty() ? "" : "; ") + std::string("reading changed the file");
    return detail;
}

inline std::string RunWriteCase(const WriteCase& c, size_t index, const std::string& folder) {
    const std::string path = CaseFile(c.inMissingFolder ? folder + "\\missing" : folder, 'w', index);
    if (c.before.head && !WriteBytes(path, Expand(c.before))) return "cannot make the file " + path;
    std::string detail;
    for (const WriteCall& call : c.calls) {
        if (!call.section) break;
        const BOOL result = WritePrivateProfileStringA(call.section, call.key, call.value, path.c_str());
        if ((result != FALSE) != (c.result != FALSE))
            detail += std::string(detail.empty() ? "" : "; ") + "a call answered " +
                      (result ? "TRUE" : "FALSE");
    }
    std::string after;
    const bool exists = ReadBytes(path, after);
    if (!c.after.head && exists) detail += (detail.empty() ? "" : "; ") + std::string("a file was made");
    if (c.after.head && !exists) detail += (detail.empty() ? "" : "; ") + std::string("no file");
    if (c.after.head && exists && after != Expand(c.after))
        detail += (detail.empty() ? "" : "; ") + std::string("file ") + Shown(after) + ", expected " +
                  Shown(Expand(c.after));
    if (c.inMissingFolder && GetFileAttributesA((folder + "\\missing").c_str()) != INVALID_FILE_ATTRIBUTES)
        detail += (detail.empty() ? "" : "; ") + std::string("the folder was made");
    return detail;
}

}  // namespace profile_cases
