// Profile files over POSIX, with the parsing, lookup and rewriting that Windows does under Wine
// (see the header for the rules).
#include "profile_strings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kernel32.h"
#include "posix_paths.h"
#include "substitute.h"

namespace {

constexpr size_t kMaxProfileBytes = size_t{16} << 20;  // larger files are refused
constexpr size_t kIntegerTextChars = 29;  // Windows reads the value into 30 characters
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr DWORD kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE

struct Line {
    std::string name;   // key name, or the whole line when it has no "="
    bool hasValue;      // the line had an "="
    std::string value;  // text after the "="
};

struct Section {
    std::string name;         // "" for the lines above the first section line
    std::vector<Line> lines;  // in file order
};

struct Profile {
    bool utf8Mark = false;          // the file began with a UTF-8 byte-order mark
    std::vector<Section> sections;  // none for a missing or empty file
};

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0d) || u == 0x1a || u == 0x20;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

// The text up to its first NUL: Windows keeps names and values as C strings.
std::string_view UpToNul(const char* begin, const char* end) {
    return std::string_view(begin, static_cast<size_t>(std::find(begin, end, '\0') - begin));
}

std::string LeadTrimmed(const char* text) {
    while (IsBlank(*text)) ++text;
    return text;
}

std::string Trimmed(const char* text) {
    std::string s = LeadTrimmed(text);
    while (!s.empty() && IsBlank(s.back())) s.pop_back();
    return s;
}

// One line of the file that is not blank, as Windows reads it: a section line ("[name]") or a
// key line. Its views point into the bytes read.
struct LineView {
    bool sectionStart;
    std::string_view name;  // section or key name; for a key line without "=", the whole line
    bool hasValue;
    std::string_view value;
};

// Calls `visit` with every line that is not blank, in file order; true when the bytes began
// with a UTF-8 byte-order mark (which is not part of the first line). `visit` returns false to
// stop early.
template <class Visit>
bool ForEachLine(const std::string& bytes, Visit visit) {
    const bool utf8Mark = bytes.compare(0, 3, kUtf8Mark) == 0;
    const char* next = bytes.data() + (utf8Mark ? 3 : 0);
    const char* const end = bytes.data() + bytes.size();
    while (next < end) {
        const char* start = next;
        while (next < end && *next != '\n' && *next != '\r') ++next;
        while (next < end && (*next == '\n' || *next == '\r')) ++next;
        const char* stop = next;
        while (start < stop && IsBlank(*start)) ++start;
        while (stop > start && IsBlank(stop[-1])) --stop;
        if (start == stop) continue;

        if (*start == '[') {
            const char* close = stop;  // one past the line's last "]"
            while (close > start && close[-1] != ']') --close;
            if (close > start + 1) {
                const char* nameStart = start + 1;
                const char* nameEnd = close - 1;
                while (nameStart < nameEnd && IsBlank(*nameStart)) ++nameStart;
                while (nameEnd > nameStart && IsBlank(nameEnd[-1])) --nameEnd;
                if (!visit(LineView{true, UpToNul(nameStart, nameEnd), false, {}})) break;
                continue;
            }
        }
        const char* equals = std::find(start, stop, '=');
        const char* nameEnd = equals;
        LineView line{false, {}, equals < stop, {}};
        if (line.hasValue) {
            while (nameEnd > start && IsBlank(nameEnd[-1])) --nameEnd;
            const char* value = equals + 1;
            while (value < stop && IsBlank(*value)) ++value;
            line.value = UpToNul(value, stop);
        }
        line.name = UpToNul(start, nameEnd);
        if (!visit(line)) break;
    }
    return utf8Mark;
}

Profile Parse(const std::string& bytes) {
    Profile profile;
    if (bytes.empty()) return profile;
    profile.sections.push_back(Section{});
    profile.utf8Mark = ForEachLine(bytes, [&](const LineView& line) {
        if (line.sectionStart) {
            profile.sections.push_back(Section{std::string(line.name), {}});
            return true;
        }
        // Of lines in a row whose name is empty ("=5"), Windows keeps the first only.
        std::vector<Line>& lines = profile.sections.back().lines;
        if (!line.name.empty() || lines.empty() || !lines.back().name.empty())
            lines.push_back(Line{std::string(line.name), line.hasValue, std::string(line.value)});
        return true;
    });
    return profile;
}

// The value of the key's line in the first section of that name, as Find would give it,
// without building the profile: readers look up one key per call.
bool FindValue(const std::string& bytes, const char* sectionName, const char* keyName,
               std::string& value) {
    const std::string section = Trimmed(sectionName);
    const std::string key = Trimmed(keyName);
    bool inSection = section.empty();  // the lines above the first section line form section ""
    bool found = false;
    ForEachLine(bytes, [&](const LineView& line) {
        if (line.sectionStart) {
            if (inSection) return false;  // only the first section of that name counts
            inSection = SameName(line.name, section);
            return true;
        }
        if (!inSection || !SameName(line.name, key)) return true;
        found = line.hasValue;
        if (found) value.assign(line.value);
        return false;
    });
    return found;
}

std::string Serialize(const Profile& profile) {
    std::string out = profile.utf8Mark ? kUtf8Mark : "";
    for (const Section& section : profile.sections) {
        if (!section.name.empty()) out += "[" + section.name + "]\r\n";
        for (const Line& line : section.lines) {
            out += line.name;
            if (line.hasValue) out += "=" + line.value;
            out += "\r\n";
        }
    }
    return out;
}

// The key's line in the first section of that name; with `create`, a missing one is appended.
Line* Find(Profile& profile, const char* sectionName, const char* keyName, bool create) {
    const std::string section = Trimmed(sectionName);
    const std::string key = Trimmed(keyName);
    for (Section& candidate : profile.sections) {
        if (!SameName(candidate.name, section)) continue;
        for (Line& line : candidate.lines)
            if (SameName(line.name, key)) return &line;
        if (!create) return nullptr;
        candidate.lines.push_back(Line{LeadTrimmed(keyName), false, std::string()});
        return &candidate.lines.back();
    }
    if (!create) return nullptr;
    profile.sections.push_back(Section{LeadTrimmed(sectionName), {Line{LeadTrimmed(keyName), false, {}}}});
    return &profile.sections.back().lines.back();
}

// The whole of a regular file, bounded; 0 when read, else the Win32 error (ERROR_FILE_NOT_FOUND
// for a missing file in an existing folder). `forWriting` opens it as the writer does.
DWORD ReadProfileFile(const std::string& posixPath, bool forWriting, std::string& bytes) {
    bytes.clear();
    const int fd = open(posixPath.c_str(), (forWriting ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return substitute::Win32ErrorFromErrno(errno, posixPath);
    struct stat st;
    DWORD error = 0;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = ERROR_ACCESS_DENIED;
    } else if (static_cast<uint64_t>(st.st_size) > kMaxProfileBytes) {
        error = kErrorFileTooLarge;
    } else {
        char buffer[65536];
        for (;;) {
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                error = ERROR_READ_FAULT;
                break;
            }
            if (got == 0) break;
            if (bytes.size() + static_cast<size_t>(got) > kMaxProfileBytes) {  // grew meanwhile
                error = kErrorFileTooLarge;
                break;
            }
            bytes.append(buffer, static_cast<size_t>(got));
        }
    }
    close(fd);
    return error;
}

DWORD WriteProfileFile(const std::string& posixPath, const std::string& bytes) {
    const int fd = open(posixPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return substitute::Win32ErrorFromErrno(errno, posixPath);
    DWORD error = 0;
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) {
            error = errno == ENOSPC ? ERROR_DISK_FULL : ERROR_WRITE_FAULT;
            break;
        }
        done += static_cast<size_t>(put);
    }
    if (close(fd) != 0 && !error) error = ERROR_WRITE_FAULT;
    return error;
}

// The value text as Windows converts it: blanks and control characters skipped, a sign, a
// "0x"/"0o"/"0b" prefix, then digits of that base until the first other character, all modulo
// 2^32.
UINT ParseInteger(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ') ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    uint32_t base = 10;
    if (text.size() - at >= 2 && text[at] == '0') {
        const char mark = text[at + 1];
        base = mark == 'b' ? 2 : mark == 'o' ? 8 : mark == 'x' ? 16 : 10;
        if (base != 10) at += 2;
    }
    uint32_t total = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                          : c >= 'a' && c <= 'z' ? c - 'a' + 10
                                                 : -1;
        if (digit < 0 || static_cast<uint32_t>(digit) >= base) break;
        total = total * base + static_cast<uint32_t>(digit);
    }
    return negative ? 0u - total : total;
}

// What Windows copies of a value into a buffer of kIntegerTextChars + 1 characters: one pair
// of enclosing quotes removed (when the closing one fits, or just beyond).
std::string IntegerText(const std::string& value) {
    std::string text = value;
    bool quoted = false;
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
        quoted = true;
        text.erase(0, 1);
    }
    const bool closingFits = text.size() <= kIntegerTextChars + 1;
    if (text.size() > kIntegerTextChars) text.resize(kIntegerTextChars);
    if (quoted && closingFits && !text.empty()) text.pop_back();
    return text;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

}  // namespace

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR path) {
    const UINT fallback = static_cast<UINT>(defaultValue);
    if (substitute::ShouldFail(substitute::Call::GetPrivateProfileIntA)) return fallback;
    if (!section || !key || !path) return fallback;
    std::string bytes;
    if (ReadProfileFile(substitute::PosixPath(path), false, bytes) != 0) return fallback;
    std::string value;
    if (!FindValue(bytes, section, key, value)) return fallback;
    const std::string text = IntegerText(value);
    return text.empty() ? fallback : ParseInteger(text);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path) {
    if (substitute::ShouldFail(substitute::Call::WritePrivateProfileStringA)) return Fail(ERROR_ACCESS_DENIED);
    if (!section || !key || !value || !path) return Fail(ERROR_INVALID_PARAMETER);
    const std::string posixPath = substitute::PosixPath(path);
    std::string bytes;
    const DWORD readError = ReadProfileFile(posixPath, true, bytes);
    if (readError != 0 && readError != ERROR_FILE_NOT_FOUND) return Fail(readError);

    Profile profile = Parse(bytes);
    Line* line = Find(profile, section, key, true);
    const std::string text = LeadTrimmed(value);
    if (line->hasValue && line->value == text) return TRUE;  // unchanged: the file stays as it is
    line->hasValue = true;
    line->value = text;
    if (DWORD error = WriteProfileFile(posixPath, Serialize(profile))) return Fail(error);
    return TRUE;
}
