// MultiByteToWideChar: UTF-8 with U+FFFD or refusal, the ANSI page, counts and small buffers.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "platform/posix/substitute.h"

namespace {

// The conversion of all `bytes` (no terminator added), or "<failed>".
std::u16string Convert(UINT codePage, const std::string& bytes, DWORD flags = 0) {
    WCHAR buffer[512];
    int units = MultiByteToWideChar(codePage, flags, bytes.data(), int(bytes.size()), buffer, 512);
    if (units == 0) return u"<failed>";
    return std::u16string(buffer, size_t(units));
}

TEST(TextConversion, Utf8WithTerminatorCountsIt) {
    WCHAR buffer[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xC3\xA9", -1, nullptr, 0), 3);
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xC3\xA9", -1, buffer, 8), 3);
    EXPECT_EQ(std::u16string(buffer, 3), std::u16string(u"a\u00E9\0", 3));
}

TEST(TextConversion, Utf8AboveTheBmpBecomesASurrogatePair) {
    EXPECT_EQ(Convert(CP_UTF8, "\xF0\x9F\x98\x80!"), u"\xD83D\xDE00!");
    EXPECT_EQ(Convert(CP_UTF8, "\xE6\x97\xA5"), u"\u65E5");
}

TEST(TextConversion, IllFormedUtf8BecomesReplacementUnlessStrict) {
    EXPECT_EQ(Convert(CP_UTF8, "a\xFF!"), u"a\uFFFD!");
    EXPECT_EQ(Convert(CP_UTF8, "\xC3"), u"\uFFFD");            // cut short
    EXPECT_EQ(Convert(CP_UTF8, "\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong '/'
    EXPECT_EQ(Convert(CP_UTF8, "\xED\xA0\x80").size(), 3u);    // an encoded surrogate
    EXPECT_EQ(Convert(CP_UTF8, "\xE2\x82!"), u"\uFFFD!");      // one for the broken prefix

    WCHAR buffer[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", -1, buffer, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3\xA9", -1, buffer, 8), 3);
}

TEST(TextConversion, AnsiIsWindows1252) {
    EXPECT_EQ(Convert(CP_ACP, "\x80\xE9\x9F\x81 "), u"\u20AC\u00E9\u0178\u0081 ");
    // Every byte is one unit, so the ANSI page never fails on content.
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    EXPECT_EQ(Convert(CP_ACP, all, MB_ERR_INVALID_CHARS).size(), 255u);
}

TEST(TextConversion, TooSmallBufferIsRefusedNotTruncated) {
    WCHAR buffer[4] = {u'x', u'x', u'x', u'x'};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abcd", -1, buffer, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcd", -1, buffer, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::u16string(buffer, 4), u"xxxx");
    // A surrogate pair needs both units.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, buffer, 1), 0);
}

TEST(TextConversion, BadArgumentsAndInjectedFailure) {
    WCHAR buffer[4];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 0, buffer, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, buffer, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", -1, buffer, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);

    substitute::ResetSubstitute();
    substitute::FailCall(substitute::Call::MultiByteToWideChar, 1);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", -1, buffer, 4), 2);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", -1, buffer, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", -1, buffer, 4), 2);
    EXPECT_EQ(substitute::CallCount(substitute::Call::MultiByteToWideChar), 3);
    substitute::ResetSubstitute();
}

}  // namespace
