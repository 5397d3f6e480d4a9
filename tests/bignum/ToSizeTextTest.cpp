#include "bignum/BigInt.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

namespace {

BigInt Bytes(uint64_t v) {
    unsigned char le[8];
    for (int i = 0; i < 8; ++i) le[i] = static_cast<unsigned char>(v >> (8 * i));
    return BigInt::FromBytes(le, 8, 1);
}

std::string Compact(uint64_t v) { return Bytes(v).ToSizeText(',', true); }

// The compact text worked out in native integers: tenths of the unit rounded
// half up, floor(10 v / u + 1/2). With v = q u + r that is 10 q + (20 r + u) / 2u,
// which cannot overflow since u is at most 2^40.
std::string ExpectedCompact(uint64_t v) {
    static const std::pair<int, const char*> units[] = {{40, " TB"}, {30, " GB"}, {20, " MB"}, {10, " kB"}};
    for (const auto& unit : units) {
        uint64_t u = uint64_t(1) << unit.first;
        if (v < u) continue;
        uint64_t tenths = 10 * (v / u) + (20 * (v % u) + u) / (2 * u);
        return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + unit.second;
    }
    return std::to_string(v) + (v == 1 ? " Byte" : " Bytes");
}

}  // namespace

TEST(ToSizeTextTest, CompactExamples) {
    const std::pair<uint64_t, const char*> rows[] = {
        {0, "0 Bytes"},           {1, "1 Byte"},           {2, "2 Bytes"},           {1023, "1023 Bytes"},
        {1024, "1,0 kB"},         {1075, "1,0 kB"},        {1076, "1,1 kB"},         {1280, "1,3 kB"}, {1536, "1,5 kB"},
        {10240, "10,0 kB"},       {1048575, "1024,0 kB"},  {1048576, "1,0 MB"},      {123456789, "117,7 MB"},
        {1000000000, "953,7 MB"}, {4294967295, "4,0 GB"},  {1099511627776, "1,0 TB"}, {UINT64_MAX, "16777216,0 TB"},
    };
    for (const auto& row : rows) EXPECT_EQ(Compact(row.first), row.second) << row.first;
    EXPECT_EQ(Bytes(1536).ToSizeText('.', true), "1.5 kB");
}

TEST(ToSizeTextTest, GroupedExamples) {
    const std::pair<uint64_t, const char*> rows[] = {
        {0, "0"}, {1023, "1.023"}, {123456789, "123.456.789"}, {4294967295, "4.294.967.295"},
        {UINT64_MAX, "18.446.744.073.709.551.615"},
    };
    for (const auto& row : rows) EXPECT_EQ(Bytes(row.first).ToSizeText('.', false), row.second) << row.first;
}

TEST(ToSizeTextTest, CompactMatchesNativeArithmeticAcrossTheRange) {
    for (int shift = 10; shift <= 60; shift += 10) {
        uint64_t u = uint64_t(1) << shift;
        for (uint64_t v : {u - 1, u, u + 1, u / 4 * 5 - 1, u / 4 * 5})  // 5u/4 is 12.5 tenths
            EXPECT_EQ(Compact(v), ExpectedCompact(v)) << v;
    }
    std::mt19937_64 engine(7);
    for (int i = 0; i < 2000; ++i) {
        uint64_t v = engine() >> (engine() % 64);  // every magnitude equally often
        ASSERT_EQ(Compact(v), ExpectedCompact(v)) << v;
    }
}
