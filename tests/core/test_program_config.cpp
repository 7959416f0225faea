// The ".cfg" file: layout, round trip, the marker test, Boolean lines and the validity check.
#include "core/ProgramConfig.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <limits>

namespace {

TProgramConfig Unusual()
{
    TProgramConfig c;
    c.SolverOption1 = -3;
    c.SolverOption2 = false;
    c.SolverOption3 = 12;
    c.FactorX = 0.123456789012345;
    c.FactorZ = 4.5;
    c.StartX = 1.0 / 3.0;
    c.StartZ = 0.001;
    c.Exponent = true;
    c.infperc = 0;
    c.redperc = 250;
    c.numqp = 2;
    c.recetha = false;
    return c;
}

} // namespace

TEST(ProgramConfig, WritesThirteenLines)
{
    EXPECT_EQ(ProgramConfigText(TProgramConfig{}),
              "VornSP2dp1.02\n0\nTRUE\n8\n"
              " 2.00000000000000E-0001\n 2.00000000000000E-0001\n"
              " 2.00000000000000E+0000\n 1.00000000000000E+0000\n"
              "FALSE\n10\n100\n7\nTRUE\n");
}

TEST(ProgramConfig, FileRoundTrip)
{
    const std::string path = (std::filesystem::temp_directory_path() / "vsp_config_roundtrip.cfg").string();
    const TProgramConfig written = Unusual();
    ASSERT_TRUE(WriteProgramConfig(path, written));
    TProgramConfig read;
    ASSERT_TRUE(ReadProgramConfig(path, read));
    std::remove(path.c_str());
    // Reals come back to the 15 digits of their form; these values are exact at that precision or close.
    EXPECT_NEAR(read.StartX, written.StartX, 1e-15);
    read.StartX = written.StartX;
    EXPECT_EQ(read, written);

    TProgramConfig untouched = Unusual();
    EXPECT_FALSE(ReadProgramConfig(path, untouched)) << "a missing file";
    EXPECT_EQ(untouched, Unusual());
}

TEST(ProgramConfig, MarkerIsASubstringOfTheFirstLine)
{
    const std::string body = "3\nFALSE\n9\n0.5\n0.5\n3\n3\nTRUE\n1\n2\n4\nFALSE\n";
    TProgramConfig c;
    EXPECT_FALSE(ReadProgramConfigText("# settings\n" + body, c));
    EXPECT_EQ(c, TProgramConfig{});
    EXPECT_FALSE(ReadProgramConfigText("", c));
    EXPECT_TRUE(ReadProgramConfigText("old VornSP2dp1.02 copy\n" + body, c));
    EXPECT_EQ(c.SolverOption1, 3);
    EXPECT_EQ(c.numqp, 4);
    EXPECT_FALSE(c.recetha);
}

TEST(ProgramConfig, BooleanLines)
{
    struct Case { const char* line; bool flag; };
    for (const Case& c : {Case{"True", true}, Case{"TRUE", true}, Case{"true\r", true}, Case{"yes", false},
                          Case{"1", false}, Case{" true", false}, Case{"", false}})
        EXPECT_EQ(ReadConfigBool(c.line), c.flag) << '"' << c.line << '"';
}

TEST(ProgramConfig, CrLfAndLooseNumbers)
{
    // Numbers skip blanks, tabs and empty lines and ignore the rest of their line; "," reads as the point.
    const std::string text =
        "VornSP2dp1.02\r\n\r\n  5 trailing words\r\nTrue\r\n\t6\r\n0,25\r\n0.5\r\n4\r\n2\r\ntrue\r\n11\r\n"
        "12\r\n3\r\nfalse\r\n";
    TProgramConfig c;
    ASSERT_TRUE(ReadProgramConfigText(text, c));
    EXPECT_EQ(c.SolverOption1, 5);
    EXPECT_TRUE(c.SolverOption2);
    EXPECT_EQ(c.SolverOption3, 6);
    EXPECT_EQ(c.FactorX, 0.25);
    EXPECT_EQ(c.FactorZ, 0.5);
    EXPECT_EQ(c.StartX, 4);
    EXPECT_EQ(c.StartZ, 2);
    EXPECT_TRUE(c.Exponent);
    EXPECT_EQ(c.infperc, 11);
    EXPECT_EQ(c.redperc, 12);
    EXPECT_EQ(c.numqp, 3);
    EXPECT_FALSE(c.recetha);
}

TEST(ProgramConfig, InvalidValuesKeepThePreviousOnes)
{
    // Every value here is out of range, unreadable or of the wrong kind; the file then ends early.
    const std::string text = "VornSP2dp1.02\n1.5\nTRUE\nx\n0\n5.001\n1e999\n-2\nFALSE\n99999999999\n7\n9\n";
    TProgramConfig c = Unusual();
    ASSERT_TRUE(ReadProgramConfigText(text, c));
    TProgramConfig expected = Unusual();
    expected.SolverOption2 = true; // a Boolean line always reads
    expected.Exponent = false;
    expected.redperc = 7;          // the one valid number
    EXPECT_EQ(c, expected) << "numqp 9 is out of 2..8 and recetha is missing";

    TProgramConfig tiny = Unusual();
    ASSERT_TRUE(ReadProgramConfigText("VornSP2dp1.02\n0\nTRUE\n8\n0.0009\n0.0000\nNAN\nINF\n", tiny));
    EXPECT_EQ(tiny.FactorX, Unusual().FactorX);
    EXPECT_EQ(tiny.FactorZ, Unusual().FactorZ);
    EXPECT_EQ(tiny.StartX, Unusual().StartX);
    EXPECT_EQ(tiny.StartZ, Unusual().StartZ);
}

TEST(ProgramConfig, ValidityCheck)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { TConfigField field; double value; bool valid; };
    const Case cases[] = {
        {TConfigField::StartX, 0.001, true},  {TConfigField::StartX, 10, true},  {TConfigField::StartX, 10.5, false},
        {TConfigField::StartZ, 0.0009, false}, {TConfigField::FactorX, 5, true}, {TConfigField::FactorZ, 5.01, false},
        {TConfigField::FactorX, 0, false},    {TConfigField::FactorX, inf, false},
        {TConfigField::numqp, 2, true},       {TConfigField::numqp, 8, true},    {TConfigField::numqp, 1, false},
        {TConfigField::numqp, 7.5, false},    {TConfigField::infperc, -40, true}, {TConfigField::redperc, 3e9, false},
        {TConfigField::recetha, 1, true},     {TConfigField::Exponent, 2, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConfigValueValid(c.field, c.value), c.valid) << static_cast<int>(c.field) << " " << c.value;
}

TEST(ProgramConfig, SetupDefaultsKeepRedperc)
{
    TProgramConfig c = Unusual();
    ApplySetupDefaults(c);
    TProgramConfig expected;
    expected.FactorX = expected.FactorZ = 0.1;
    expected.SolverOption1 = 3;
    expected.SolverOption2 = false;
    expected.SolverOption3 = 8;
    expected.redperc = 250;
    EXPECT_EQ(c, expected);
}
