// Random values checked against the compiler's own integers: 128-bit where the
// compiler has them, 64-bit otherwise (32-bit MinGW has no 128-bit integer).
#include "bignum/BigInt.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide;
__extension__ typedef __int128 SignedWide;
#else
typedef uint64_t Wide;
typedef int64_t SignedWide;
#endif
const int WideBytes = sizeof(Wide);

class Random {
public:
    // A magnitude of up to maxBytes random bytes; short ones are as likely as long ones.
    Wide Magnitude(int maxBytes) {
        int n = std::uniform_int_distribution<int>(0, maxBytes)(engine);
        Wide v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | (engine() & 0xFF);
        return v;
    }
    SignedWide Signed(int maxBytes) {
        SignedWide v = static_cast<SignedWide>(Magnitude(maxBytes));
        return engine() & 1 ? -v : v;
    }
    int Radix() { return std::uniform_int_distribution<int>(2, 36)(engine); }

private:
    std::mt19937_64 engine{20240611};
};

BigInt Make(Wide magnitude, bool negative) {
    unsigned char bytes[WideBytes];
    for (int i = 0; i < WideBytes; ++i) bytes[i] = static_cast<unsigned char>(magnitude >> (8 * i));
    return BigInt::FromBytes(bytes, WideBytes, negative ? -1 : 1);
}

BigInt Make(SignedWide v) { return Make(v < 0 ? 0 - static_cast<Wide>(v) : static_cast<Wide>(v), v < 0); }

// The value back as a native integer, after checking the representation.
SignedWide Value(const BigInt& v) {
    EXPECT_LE(v.Length(), WideBytes);
    if (v.Length() == 0) {
        EXPECT_EQ(v.Sign(), 1);
    } else {
        EXPECT_NE(v.Digits()[v.Length() - 1], 0) << "untrimmed";
    }
    Wide m = 0;
    for (int i = v.Length() - 1; i >= 0; --i) m = (m << 8) | v.Digits()[i];
    return v.Sign() < 0 ? -static_cast<SignedWide>(m) : static_cast<SignedWide>(m);
}

std::string Text(Wide m, bool negative, int radix) {
    std::string digits;
    do {
        digits.insert(digits.begin(), "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[m % radix]);
        m /= radix;
    } while (m != 0);
    return negative ? "-" + digits : digits;
}

std::string Grouped(std::string digits) {
    size_t first = digits[0] == '-' ? 1 : 0;
    for (size_t i = digits.size(); i > first + 3; i -= 3) digits.insert(i - 3, ".");
    return digits;
}

const int Rounds = 2000;

}  // namespace

TEST(BigIntDifferentialTest, CompareAndSubtract) {
    Random random;
    for (int i = 0; i < Rounds; ++i) {
        SignedWide a = random.Signed(WideBytes - 1), b = random.Signed(WideBytes - 1);
        if (i % 7 < 2) b = i % 7 ? -a : a;  // equal magnitudes, and zero differences
        int expected = a < b ? -1 : a > b ? 1 : 0;
        ASSERT_EQ(BigInt::Compare(Make(a), Make(b)), expected) << i;
        ASSERT_TRUE(Value(Make(a).Subtract(Make(b))) == a - b) << i;
    }
}

TEST(BigIntDifferentialTest, MultiplyAndDivide) {
    Random random;
    for (int i = 0; i < Rounds; ++i) {
        SignedWide a = random.Signed(WideBytes / 2), b = random.Signed(WideBytes / 2 - 1);
        ASSERT_TRUE(Value(Make(a).Multiply(Make(b))) == a * b) << i;

        SignedWide n = random.Signed(WideBytes - 1), d = random.Signed(i % 2 ? WideBytes - 1 : 2);
        if (d == 0) continue;
        ASSERT_TRUE(Value(Make(n).Divide(Make(d))) == n / d) << i;
    }
}

TEST(BigIntDifferentialTest, TextInEveryRadixAndGrouped) {
    Random random;
    for (int i = 0; i < Rounds / 4; ++i) {
        Wide m = random.Magnitude(WideBytes);
        bool negative = m != 0 && i % 2;
        int radix = random.Radix();
        BigInt v = Make(m, negative);
        ASSERT_EQ(v.ToText(radix, false), Text(m, negative, radix)) << i;
        ASSERT_EQ(v.ToGroupedText('.', false), Grouped(Text(m, negative, 10))) << i;
    }
}
