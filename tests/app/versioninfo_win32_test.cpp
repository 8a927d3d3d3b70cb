// The part of the program's version resource that the reader leaves to the system: its
// fixed version, which the file's properties in Explorer show.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace kivrel {
namespace {

TEST(VersionResource, TheProgramsFixedVersionIs4201) {
    std::vector<char> block(GetFileVersionInfoSizeA(KIVREL_PROGRAM_FILE, nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoA(KIVREL_PROGRAM_FILE, 0, static_cast<DWORD>(block.size()),
                                    block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00040002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

}  // namespace
}  // namespace kivrel
