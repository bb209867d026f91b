// kernel32 substitute: profile (INI) files, read and written as Windows under Wine does it,
// checked case by case against Wine's kernel32 (tests/platform/profile_cases.h).
//
// Reading a file: lines end at any run of CR and LF; each is trimmed of blanks (tab, LF, VT,
// FF, CR, ^Z, space) at both ends; empty lines are dropped. "[" up to the LAST "]" of the line
// names a section, the text between them trimmed of blanks ("[ a b ]" is "a b", "[a]]" is
// "a]"); a "[" line without "]" is an ordinary line. Other lines are "name=value" (name
// trimmed before the first "=", value after it) or lines without "=" (comments among them);
// they belong to the section above, or to a nameless one before the first section line. A NUL
// byte ends a name or value. Of lines in a row with an empty name ("=5"), the first is kept.
// A UTF-8 byte-order mark is skipped (and written back); other bytes are taken as they are.
//
// Lookup: the first section whose name equals the asked one, then its first key of that name;
// both compared without regard to ASCII case (only: "\xC4" is not "\xE4"), the asked names
// trimmed of blanks. Duplicated sections after the first are never searched. An empty section
// name asks the lines above the first section line.
//
// GetPrivateProfileIntA(section, key, default, path): the value as Windows reads it:
//   no file / section / key, a line without "=", an empty value   -> default
//   the value's first 29 characters only; one pair of enclosing quotes ("12" or '12') removed
//   then: characters 0x01-0x20 skipped, one "+" or "-", then a "0x" (hex), "0o" (octal) or
//   "0b" (binary) prefix (lower case only), digits until the first non-digit, no digit -> 0;
//   no overflow check: the result is taken modulo 2^32 and "-" negates it modulo 2^32.
//   | text in the file | answer     |   | text           | answer          |
//   | "  12abc"        | 12         |   | "0x1F"         | 31              |
//   | "+5"             | 5          |   | "0X1F", "abc"  | 0               |
//   | "-5"             | 0xFFFFFFFB |   | "012"          | 12              |
//   | "\"7\"", "'7'"   | 7          |   | "99999999999"  | 1215752191      |
//   | "5 6", "5;x"     | 5          |   | "4294967296"   | 0               |
//   | "", "   ", "\"\"" | default    |   | "-99999999999" | 0xB7891801      |
//   | "- 5", "+-5"     | 0          |   | 5000 x "1"     | first 29 digits |
//
// WritePrivateProfileStringA(section, key, value, path): the file is read as above and, when
// the value changes, written again whole (Windows under Wine does this): sections and kept lines
// in their order, lines ending in CR LF, names and values trimmed, empty lines gone, a section
// line "[name]" without whatever followed its "]", a NUL ending its line's text, a section
// whose name is all blanks without its section line. An existing key gets the value in place; a
// missing key is appended after the last line of its section (comments included); a missing
// section is appended at the end of the file with the asked names (leading blanks removed,
// trailing kept). Writing the value a key already has leaves the file untouched. A missing
// file is created, a missing folder is not: FALSE. The value's leading blanks are dropped.
//
// Not substituted: null section, key or value (Windows: file flush, delete a section or a
// key): FALSE with ERROR_INVALID_PARAMETER; UTF-16 files; names without folder (Windows: in
// its own folder) are taken relative to the working folder. Files above 16 MiB: default /
// FALSE. GetPrivateProfileIntA with a null section or key gives the default.
#pragma once

#include "win_types.h"

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT defaultValue, LPCSTR path);
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path);
