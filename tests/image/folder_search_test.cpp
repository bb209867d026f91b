#include <gtest/gtest.h>

#include "image/exports.h"
#include "image/folder_search.h"
#include "platform/posix/substitute.h"
#include "tests/support/image_fixture.h"

namespace {

TEST(FolderSearchJoin, SeparatorAddedOnlyWhenMissing) {
    EXPECT_EQ(JoinFolderImagePath("icons", "radio", ".png"), "icons\\radio.png");
    EXPECT_EQ(JoinFolderImagePath("icons\\", "radio", ".png"), "icons\\radio.png");
    EXPECT_EQ(JoinFolderImagePath("icons/", "radio", ".png"), "icons/radio.png");
    EXPECT_EQ(JoinFolderImagePath("icons", "sub\\radio", ".png"), "icons\\sub\\radio.png");
}

TEST(FolderSearchJoin, ExtensionComparedWithoutCaseOnTheWholePath) {
    EXPECT_EQ(JoinFolderImagePath("icons", "RADIO.Png", ".png"), "icons\\RADIO.Png");
    EXPECT_EQ(JoinFolderImagePath("icons", "radio.jpg", ".png"), "icons\\radio.jpg.png");
    EXPECT_EQ(JoinFolderImagePath("icons", "radio.svg", ".png"), "icons\\radio.svg.png");
    EXPECT_EQ(JoinFolderImagePath("icons", "radio.png", ".svg"), "icons\\radio.png.svg");
    EXPECT_EQ(JoinFolderImagePath("a", "b", ".png"), "a\\b.png");
}

TEST(FolderSearchJoin, NullOrEmptyPartsGiveNothing) {
    EXPECT_EQ(JoinFolderImagePath(nullptr, "radio", ".png"), "");
    EXPECT_EQ(JoinFolderImagePath("icons", nullptr, ".png"), "");
    EXPECT_EQ(JoinFolderImagePath("", "radio", ".png"), "");
    EXPECT_EQ(JoinFolderImagePath("icons", "", ".png"), "");
}

class FolderSearch : public ImageFixture {};

TEST_F(FolderSearch, FindsTheImageByBareName) {
    WritePng(Scratch("radio.png"), 8, 4, [](uint32_t, uint32_t) { return Bgra{1, 2, 3, 255}; });
    RwTexture* texture = FindPNGinFolderPath(dir_.c_str(), "radio", 0, 0, 1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->raster->width, 8);
    EXPECT_EQ(FilterMode(texture), 6u);
    EXPECT_TRUE(FileExists(CacheFileOf(Scratch("radio.png"), 8, 4)));
}

TEST_F(FolderSearch, NullOrEmptyArgumentsTouchNoFile) {
    EXPECT_EQ(FindPNGinFolderPath(nullptr, "radio", 0, 0, 1, 0), nullptr);
    EXPECT_EQ(FindPNGinFolderPath(dir_.c_str(), "", 0, 0, 1, 0), nullptr);
    EXPECT_EQ(FindSVGinFolderPath("", "radio", 0, 0, 1, 0), nullptr);
    EXPECT_EQ(substitute::CallCount(substitute::Call::CreateDirectoryA), 0);
    EXPECT_EQ(substitute::CallCount(substitute::Call::GetFileAttributesExA), 0);
}

TEST_F(FolderSearch, NameThatResolvesToNoFileGivesNull) {
    EXPECT_EQ(FindPNGinFolderPath(dir_.c_str(), "absent", 16, 16, 0, 0), nullptr);
}

}  // namespace
