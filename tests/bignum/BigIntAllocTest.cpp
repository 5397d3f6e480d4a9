// Fails the n-th allocation for n = 1, 2, ... until an operation gets through,
// and checks each time that nothing leaked and the operands kept their value.
#include "bignum/BigInt.h"

#include "tests/support/CountingHeap.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>

namespace {

BigInt I(int32_t v) { return BigInt::FromInt(v); }

std::string Snapshot(const BigInt& v) { return v.ToText(16, true); }

void ExpectCleanFailures(const BigInt& a, const BigInt& b, const std::function<void()>& operation) {
    const std::string before = Snapshot(a) + " " + Snapshot(b);
    bool failed = true;
    long n = 1;
    for (; failed; ++n) {
        long liveBefore = CountingHeap::liveBlocks;
        failed = false;
        CountingHeap::allocationsLeft = n;
        try {
            operation();
        } catch (const std::bad_alloc&) {
            failed = true;
        }
        CountingHeap::allocationsLeft = 0;
        ASSERT_EQ(CountingHeap::liveBlocks, liveBefore) << "leak when allocation " << n << " fails";
        ASSERT_EQ(Snapshot(a) + " " + Snapshot(b), before) << "allocation " << n;
        ASSERT_LT(n, 100000);
    }
    EXPECT_GT(n, 2) << "no allocation was made to fail";
}

}  // namespace

TEST(BigIntAllocTest, FailedAllocationsLeakNothingAndLeaveOperandsAlone) {
    BigInt a = I(-1234567891).Multiply(I(2000000011)).Multiply(I(77777)), b = I(987654321).Multiply(I(17));
    BigInt size = I(123456789).Multiply(I(100003));
    ExpectCleanFailures(a, b, [&] { a.Subtract(b); });
    ExpectCleanFailures(a, b, [&] { b.Subtract(a); });
    ExpectCleanFailures(a, b, [&] { a.Multiply(b); });
    ExpectCleanFailures(a, b, [&] { a.Divide(b); });
    ExpectCleanFailures(a, b, [&] { a.Negate(); });
    BigInt small = I(-9876543);  // text costs allocations per digit and bit
    ExpectCleanFailures(small, b, [&] { small.ToText(7, true); });
    ExpectCleanFailures(small, b, [&] { small.ToGroupedText('.', false); });
    ExpectCleanFailures(size, b, [&] { size.ToSizeText(',', true); });
    ExpectCleanFailures(size, b, [&] { size.ToSizeText('.', false); });
    ExpectCleanFailures(a, b, [&] { BigInt copy(a); });
    ExpectCleanFailures(a, b, [&] {
        BigInt target(b);
        try {
            target = a;
        } catch (const std::bad_alloc&) {
            EXPECT_EQ(Snapshot(target), Snapshot(b)) << "a failed assignment keeps the old value";
            throw;
        }
    });
}
