#include "bignum/BigInt.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// Opens the internal building blocks to the tests.
struct Probe : BigInt {
    explicit Probe(const BigInt& v) : BigInt(v) {}
    using BigInt::ShiftLeft;
    using BigInt::ShiftRight;
};

BigInt I(int32_t v) { return BigInt::FromInt(v); }
std::string Dec(const BigInt& v) { return v.ToText(10, false); }

std::vector<int> Bytes(const BigInt& v) { return std::vector<int>(v.Digits(), v.Digits() + v.Length()); }

void ExpectZero(const BigInt& v) {
    EXPECT_EQ(v.Length(), 0);
    EXPECT_EQ(v.Digits(), nullptr);
    EXPECT_EQ(v.Sign(), 1);
}

}  // namespace

TEST(BigIntTest, ConstructionReadsBytesAsMagnitudeAndKeepsZeroPositive) {
    const unsigned char ff[] = {0xFF, 0xFF, 0xFF, 0xFF}, zeros[] = {0, 0, 0};
    EXPECT_EQ(Dec(BigInt::FromBytes(ff, 4, 1)), "4294967295");
    EXPECT_EQ(Dec(I(-1)), "-1");
    EXPECT_EQ(Bytes(I(INT_MIN)), (std::vector<int>{0, 0, 0, 0x80}));
    EXPECT_EQ(I(INT_MIN).Sign(), -1);
    EXPECT_EQ(Bytes(I(256)), (std::vector<int>{0, 1}));  // trimmed

    // Every way of making zero gives the one zero, which is never negative.
    for (const BigInt& zero : {BigInt(), I(0), I(0).Negate(), BigInt::FromBytes(zeros, 3, -1),
                               BigInt::FromBytes(nullptr, 0, -1), BigInt::FromBytes(ff, -4, 1), I(7).Subtract(I(7))}) {
        ExpectZero(zero);
        EXPECT_EQ(BigInt::Compare(zero, BigInt()), 0);
        EXPECT_EQ(BigInt::Compare(I(-1), zero), -1);
    }
}

TEST(BigIntTest, CopiesAreDeepAndSelfAssignmentKeepsTheValue) {
    BigInt a = I(-123456);
    BigInt b(a);
    BigInt& alias = b;
    b = alias;
    EXPECT_NE(b.Digits(), a.Digits());
    EXPECT_EQ(Dec(b), "-123456");
    b = I(5);
    EXPECT_EQ(Dec(a), "-123456");
    BigInt moved(std::move(b));
    ExpectZero(b);
    EXPECT_EQ(Dec(moved), "5");
}

TEST(BigIntTest, DivisionByZeroThrowsFortyTwo) {
    for (const BigInt& dividend : {I(5), I(0), I(-5)}) {
        try {
            dividend.Divide(I(0));
            ADD_FAILURE() << "no throw";
        } catch (int e) {
            EXPECT_EQ(e, 42);
        }
    }
    EXPECT_THROW(I(5).ToText(0, false), int);
    // A radix of one would never run out of digits.
    EXPECT_THROW(I(5).ToText(1, false), int);
    EXPECT_THROW(I(5).ToText(-1, false), int);
    EXPECT_EQ(I(0).ToText(1, false), "0");
}

TEST(BigIntTest, ShiftsMoveBitsAcrossBytesAndDropTheRest) {
    Probe v(I(0x81));
    v.ShiftLeft(0);
    v.ShiftLeft(-3);
    EXPECT_EQ(Bytes(v), (std::vector<int>{0x81}));
    v.ShiftLeft(13);  // one byte and five bits
    EXPECT_EQ(Bytes(v), (std::vector<int>{0x00, 0x20, 0x10}));
    v.ShiftRight(12);
    EXPECT_EQ(Bytes(v), (std::vector<int>{0x02, 0x01}));
    v.ShiftRight(16);
    ExpectZero(v);

    Probe one(I(1));
    one.ShiftRight(1);
    ExpectZero(one);
}

TEST(BigIntTest, TextSignsAndGroupsAtTheirEdges) {
    EXPECT_EQ(I(35).ToText(36, true), "+Z");
    EXPECT_EQ(I(0).ToText(10, true), "0");
    EXPECT_EQ(I(INT_MIN).ToText(2, false), "-1" + std::string(31, '0'));
    EXPECT_EQ(I(1234567).ToGroupedText('.', true), "+1.234.567");
    EXPECT_EQ(I(-123456).ToGroupedText('.', false), "-123.456");
    EXPECT_EQ(I(0).ToGroupedText('.', true), "0");
}
