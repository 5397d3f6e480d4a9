#pragma once

#include <cstdint>
#include <memory>
#include <string>

// An exact signed integer of any size in sign-magnitude form. The magnitude
// is a string of base-256 digits, least significant first, always trimmed so
// that the top digit is not zero; zero has no digits and sign +1.
//
// Every public operation leaves its operands alone and returns a new value.
// An allocation failure passes through as std::bad_alloc with nothing leaked
// and the operands unchanged. Division by zero throws the plain int 42.
class BigInt {
public:
    BigInt() = default;
    BigInt(const BigInt& other);
    BigInt(BigInt&& other) noexcept;
    BigInt& operator=(const BigInt& other);
    BigInt& operator=(BigInt&& other) noexcept;
    virtual ~BigInt() = default;

    // count little-endian bytes (none when count <= 0); a negative sign gives
    // -1, anything else +1. Zero always comes out with sign +1.
    static BigInt FromBytes(const unsigned char* bytes, int32_t count, int32_t sign);
    static BigInt FromInt(int32_t value);

    // -1, 0 or +1 as a is less than, equal to or greater than b.
    static int32_t Compare(const BigInt& a, const BigInt& b);

    BigInt Negate() const;
    BigInt Subtract(const BigInt& other) const;
    BigInt Multiply(const BigInt& other) const;
    BigInt Divide(const BigInt& other) const;  // truncated toward zero

    // Digits 0-9 then A-Z; a leading "-" when negative, "+" when positive and
    // showPlus is set. A radix whose magnitude is below 2 throws 42 (zero
    // itself is always "0").
    std::string ToText(int32_t radix, bool showPlus) const;
    // Decimal, with separator between groups of three digits.
    std::string ToGroupedText(char separator, bool showPlus) const;
    // A byte count as text: compact with one decimal and a unit ("1,5 kB"),
    // or the full number grouped ("1.536").
    std::string ToSizeText(char separator, bool compact) const;

    static BigInt UnitKB();
    static BigInt UnitMB();
    static BigInt UnitGB();
    static BigInt UnitTB();

    int32_t Length() const { return length; }
    int32_t Sign() const { return sign; }
    const unsigned char* Digits() const { return digits.get(); }

protected:
    // The building blocks below may leave the value untrimmed in between.
    void Resize(int32_t n);
    void Trim();
    void FixZeroSign();
    void ShiftLeft(int32_t bits);
    void ShiftRight(int32_t bits);

    // Magnitude routines: they ignore the operands' signs and return sign +1.
    static int32_t MagCompare(const BigInt& a, const BigInt& b);
    static BigInt MagAdd(const BigInt& a, const BigInt& b);
    static BigInt MagSubtract(const BigInt& a, const BigInt& b);  // needs |a| >= |b|
    static BigInt MagMultiply(const BigInt& a, const BigInt& b);
    static void MagDivMod(const BigInt& dividend, const BigInt& divisor, BigInt& quotient, BigInt& remainder);

private:
    static BigInt Magnitude(const BigInt& v);
    int32_t TrimmedLength() const;
    unsigned At(int32_t i) const { return i < length ? digits[i] : 0u; }
    void Swap(BigInt& other) noexcept;
    std::string DigitText(int32_t radix, bool showPlus, const char* separator) const;
    std::string CompactText(const BigInt& unit, char separator, const char* unitText) const;

    std::unique_ptr<unsigned char[]> digits;  // null exactly when length is 0
    int32_t length = 0;
    int32_t sign = 1;
};
