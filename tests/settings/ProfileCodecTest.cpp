#include "settings/ProfileFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(ProfileCodec, IntListsJoinWithCommaAndBlank) {
    int values[] = {25, -25, 0, INT_MIN};
    EXPECT_EQ(ProfileFile::FormatIntList(values, 4), "25, -25, 0, -2147483648");
    EXPECT_EQ(ProfileFile::FormatIntList(values, 1), "25");
    EXPECT_EQ(ProfileFile::FormatIntList(values, 0), "");
}

TEST(ProfileCodec, IntListsSplitAtRunsOfCommaPointAndColon) {
    int out[4] = {7, 7, 7, 7};
    EXPECT_EQ(ProfileFile::ParseIntList("1.2:3,4,5", 4, out), 4u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[3], 4);

    int runs[3] = {};
    EXPECT_EQ(ProfileFile::ParseIntList(",,10 ,.: -20x::30,", 3, runs), 3u);
    EXPECT_EQ(runs[0], 10);
    EXPECT_EQ(runs[1], -20);
    EXPECT_EQ(runs[2], 30);

    int few[4] = {7, 7, 7, 7};
    EXPECT_EQ(ProfileFile::ParseIntList("10, 20, 30", 4, few), 3u);
    EXPECT_EQ(few[3], 7);  // nothing stored past the tokens
    EXPECT_EQ(ProfileFile::ParseIntList("", 4, few), 0u);
    EXPECT_EQ(ProfileFile::ParseIntList(",.:", 4, few), 0u);
    // Blanks are not separators: a blank token converts to 0.
    EXPECT_EQ(ProfileFile::ParseIntList("1, ,2", 4, few), 3u);
    EXPECT_EQ(few[1], 0);
}

TEST(ProfileCodec, NumbersConvertLikeTheCLibraryButNeverOverflow) {
    EXPECT_EQ(ProfileFile::ToInt("15s"), 15);
    EXPECT_EQ(ProfileFile::ToInt(" \t-3"), -3);
    EXPECT_EQ(ProfileFile::ToInt("+8"), 8);
    EXPECT_EQ(ProfileFile::ToInt("yes"), 0);
    EXPECT_EQ(ProfileFile::ToInt("- 3"), 0);
    EXPECT_EQ(ProfileFile::ToInt(""), 0);
    EXPECT_EQ(ProfileFile::ToInt("2147483647"), INT_MAX);
    EXPECT_EQ(ProfileFile::ToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(ProfileFile::ToInt("2147483648"), INT_MAX);
    EXPECT_EQ(ProfileFile::ToInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(ProfileFile::ToInt("00000000000000000000042"), 42);
}

TEST(ProfileCodec, HexIsTwoCapitalDigitsPerByteInMemoryOrder) {
    const unsigned char block[8] = {1, 0, 0, 0, 255, 255, 255, 255};
    EXPECT_EQ(ProfileFile::EncodeHex(block, 8), "01000000FFFFFFFF");
    const unsigned char mixed[3] = {0x0A, 0xB0, 0x5C};
    EXPECT_EQ(ProfileFile::EncodeHex(mixed, 3), "0AB05C");

    unsigned char out[3] = {9, 9, 9};
    EXPECT_EQ(ProfileFile::DecodeHex("0ab05C", 3, out), 3u);
    EXPECT_EQ(std::memcmp(out, mixed, 3), 0);
}

TEST(ProfileCodec, HexDecodingStopsAtTheFirstBadPairAndAtTheLength) {
    unsigned char out[4] = {9, 9, 9, 9};
    EXPECT_EQ(ProfileFile::DecodeHex("01G2FFFF", 4, out), 1u);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 9);
    EXPECT_EQ(out[3], 9);

    unsigned char two[4] = {9, 9, 9, 9};
    EXPECT_EQ(ProfileFile::DecodeHex("A1B2C", 4, two), 2u);  // the odd digit is dropped
    EXPECT_EQ(two[1], 0xB2);
    EXPECT_EQ(two[2], 9);
    EXPECT_EQ(ProfileFile::DecodeHex("A1B2C3D4E5", 2, two), 2u);
    EXPECT_EQ(two[2], 9);
}
