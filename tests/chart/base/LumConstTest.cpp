// The engine texts: their count and order, the texts joined from the native extension, and the bytes that
// must survive exactly (the degree sign, the line split of gallery captions, format placeholders).
#include "chart/base/LumConst.h"
#include "chart/base/LumProCo.h"

#include <gtest/gtest.h>

#include <string>

TEST(LumConst, UnitsHoldTheirTextsInOrder)
{
    const auto base = LumConst::AllTexts();
    ASSERT_EQ(base.size(), 276u);
    EXPECT_STREQ(base[0], LumConst::Notice);
    EXPECT_STREQ(base[1], "Test...");
    EXPECT_STREQ(base[22], "#.0 \"x10\" E+0");
    EXPECT_STREQ(base[275], "SubFoot");
    for (const char* t : base) EXPECT_NE(t, nullptr);

    const auto further = LumProCo::AllTexts();
    ASSERT_EQ(further.size(), 223u);
    EXPECT_STREQ(further[0], "Polar");
    EXPECT_STREQ(further[222], "Data Table");
}

TEST(LumConst, NativeFileTextsCarryTheExtension)
{
    EXPECT_STREQ(LumConst::NativeExtension, "lum");
    EXPECT_STREQ(LumConst::InvalidNativeFile, "Invalid Chart in *.lum file");
    EXPECT_STREQ(LumConst::WrongNativeFormat, "Wrong *.lum file format");
    EXPECT_STREQ(LumConst::EmptyNativeFile, "Empty *.lum file");
    EXPECT_STREQ(LumConst::NativeFileFilter, "Lumigram files (*.lum)|*.lum");
    // The loader messages sit right after "Small Dots", the filter after the save prompt.
    const auto base = LumConst::AllTexts();
    EXPECT_STREQ(base[144], "Small Dots");
    EXPECT_STREQ(base[147], LumConst::EmptyNativeFile);
    EXPECT_STREQ(base[232], LumConst::NativeFileFilter);
}

TEST(LumConst, BytesAreKeptExactly)
{
    // The degree sign is the single byte 0xB0 after each "%d".
    const std::string rotation = LumProCo::RotationElevation;
    ASSERT_EQ(rotation.size(), 28u);
    EXPECT_EQ(static_cast<unsigned char>(rotation[12]), 0xB0);
    EXPECT_EQ(static_cast<unsigned char>(rotation[27]), 0xB0);
    EXPECT_EQ(rotation.find(" Elevation: %d"), 13u);
    const std::string bar = LumConst::HorizontalBar;
    EXPECT_EQ(bar.find('\r'), 10u);
    EXPECT_STREQ(LumConst::PercentOfTotalTwoLines, "%s\rof %s");
    EXPECT_STREQ(LumProCo::ZoomPercent, "Zoom: %d %%");
    EXPECT_STREQ(LumConst::CustomPrefix, "Custom ");  // trailing blank belongs to the text
    EXPECT_STREQ(LumConst::DefaultFontSize, "8");
    EXPECT_STREQ(LumConst::DefaultFontName, "Arial");
    EXPECT_STREQ(LumConst::DefaultValueFormat, "#,##0.###");
}
