#include "bignum/BigInt.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

const int DivisionByZero = 42;

}  // namespace

// Construction, copy and assignment

BigInt::BigInt(const BigInt& other) : sign(other.sign) {
    if (other.length > 0) {
        digits.reset(new unsigned char[other.length]);
        std::memcpy(digits.get(), other.digits.get(), other.length);
        length = other.length;
    }
}

BigInt::BigInt(BigInt&& other) noexcept
    : digits(std::move(other.digits)), length(std::exchange(other.length, 0)), sign(std::exchange(other.sign, 1)) {}

BigInt& BigInt::operator=(const BigInt& other) {
    if (this != &other) {
        BigInt copy(other);  // may throw; *this is untouched until the swap
        Swap(copy);
    }
    return *this;
}

BigInt& BigInt::operator=(BigInt&& other) noexcept {
    if (this != &other) {
        BigInt taken(std::move(other));
        Swap(taken);
    }
    return *this;
}

void BigInt::Swap(BigInt& other) noexcept {
    std::swap(digits, other.digits);
    std::swap(length, other.length);
    std::swap(sign, other.sign);
}

BigInt BigInt::FromBytes(const unsigned char* bytes, int32_t count, int32_t sign) {
    BigInt v;
    v.sign = sign < 0 ? -1 : 1;
    if (count > 0) {
        v.Resize(count);
        std::memcpy(v.digits.get(), bytes, count);
        v.Trim();
    }
    v.FixZeroSign();  // no byte at all is zero too, and zero is never negative
    return v;
}

BigInt BigInt::FromInt(int32_t value) {
    // Negating in unsigned arithmetic gives -2^31 its magnitude 2^31.
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(magnitude >> (8 * i));
    return FromBytes(bytes, 4, value < 0 ? -1 : 1);
}

// Internal building blocks

void BigInt::Resize(int32_t n) {
    if (n == length) return;
    if (n <= 0) {
        digits.reset();
        length = 0;
        sign = 1;
        return;
    }
    if (n < length) {
        // Shrinking keeps the buffer: the bytes above length are never read,
        // and Trim cannot fail halfway through an operation.
        length = n;
        return;
    }
    std::unique_ptr<unsigned char[]> grown(new unsigned char[n]());
    if (length > 0) std::memcpy(grown.get(), digits.get(), length);
    digits = std::move(grown);
    length = n;
}

int32_t BigInt::TrimmedLength() const {
    int32_t n = length;
    while (n > 0 && digits[n - 1] == 0) --n;
    return n;
}

void BigInt::Trim() { Resize(TrimmedLength()); }

void BigInt::FixZeroSign() {
    if (length == 0) sign = 1;
}

void BigInt::ShiftLeft(int32_t bits) {
    if (bits <= 0) return;
    int32_t byteShift = bits / 8, bitShift = bits % 8, n = length;
    Resize(n + byteShift + 1);  // one spare byte on top for the carry
    unsigned char* d = digits.get();
    if (byteShift > 0) {
        std::memmove(d + byteShift, d, n);
        std::memset(d, 0, byteShift);
    }
    if (bitShift > 0) {
        unsigned carry = 0;
        for (int32_t i = byteShift; i < byteShift + n; ++i) {
            unsigned v = (static_cast<unsigned>(d[i]) << bitShift) | carry;
            d[i] = static_cast<unsigned char>(v);
            carry = v >> 8;
        }
        d[byteShift + n] = static_cast<unsigned char>(carry);
    }
    Trim();
}

void BigInt::ShiftRight(int32_t bits) {
    if (bits <= 0) return;
    int32_t byteShift = bits / 8, bitShift = bits % 8;
    if (byteShift >= length) {
        Resize(0);
        return;
    }
    unsigned char* d = digits.get();
    int32_t kept = length - byteShift;
    if (byteShift > 0) {
        std::memmove(d, d + byteShift, kept);
        std::memset(d + kept, 0, byteShift);
    }
    if (bitShift > 0) {
        unsigned carry = 0;
        for (int32_t i = kept - 1; i >= 0; --i) {
            unsigned v = d[i];
            d[i] = static_cast<unsigned char>((v >> bitShift) | carry);
            carry = (v << (8 - bitShift)) & 0xFFu;
        }
    }
    Trim();
}

// Magnitude routines. Operands are read up to their trimmed length, so no
// trimmed copies are needed; results are fresh values with sign +1.

BigInt BigInt::Magnitude(const BigInt& v) {
    BigInt m;
    int32_t n = v.TrimmedLength();
    if (n > 0) {
        m.Resize(n);
        std::memcpy(m.digits.get(), v.digits.get(), n);
    }
    return m;
}

int32_t BigInt::MagCompare(const BigInt& a, const BigInt& b) {
    int32_t la = a.TrimmedLength(), lb = b.TrimmedLength();
    if (la != lb) return la > lb ? 1 : -1;
    for (int32_t i = la - 1; i >= 0; --i) {
        if (a.digits[i] != b.digits[i]) return a.digits[i] > b.digits[i] ? 1 : -1;
    }
    return 0;
}

BigInt BigInt::MagAdd(const BigInt& a, const BigInt& b) {
    int32_t la = a.TrimmedLength(), lb = b.TrimmedLength();
    if (la == 0) return Magnitude(b);
    if (lb == 0) return Magnitude(a);
    int32_t n = std::max(la, lb);
    BigInt sum;
    sum.Resize(n + 1);
    unsigned carry = 0;
    for (int32_t i = 0; i < n; ++i) {
        unsigned s = (i < la ? a.digits[i] : 0u) + (i < lb ? b.digits[i] : 0u) + carry;
        sum.digits[i] = static_cast<unsigned char>(s);
        carry = s >> 8;
    }
    sum.digits[n] = static_cast<unsigned char>(carry);
    sum.Trim();
    return sum;
}

BigInt BigInt::MagSubtract(const BigInt& a, const BigInt& b) {
    int32_t la = a.TrimmedLength(), lb = b.TrimmedLength();
    if (la == 0) return BigInt();
    if (lb == 0) return Magnitude(a);
    BigInt difference;
    difference.Resize(la);
    int borrow = 0;
    for (int32_t i = 0; i < la; ++i) {
        int d = static_cast<int>(a.digits[i]) - static_cast<int>(i < lb ? b.digits[i] : 0u) - borrow;
        difference.digits[i] = static_cast<unsigned char>(d);
        borrow = d < 0 ? 1 : 0;
    }
    difference.Trim();
    return difference;
}

BigInt BigInt::MagMultiply(const BigInt& a, const BigInt& b) {
    int32_t la = a.TrimmedLength(), lb = b.TrimmedLength();
    BigInt product;
    if (la == 0 || lb == 0) return product;
    // One row per byte of b: a times that byte, moved up to its place.
    for (int32_t i = 0; i < lb; ++i) {
        unsigned factor = b.digits[i];
        if (factor == 0) continue;  // a zero row adds nothing
        BigInt row;
        row.Resize(la + 1);
        unsigned carry = 0;
        for (int32_t j = 0; j < la; ++j) {
            unsigned p = a.digits[j] * factor + carry;  // at most 65,280
            row.digits[j] = static_cast<unsigned char>(p);
            carry = p >> 8;
        }
        row.digits[la] = static_cast<unsigned char>(carry);
        row.Trim();
        row.ShiftLeft(8 * i);
        product = MagAdd(product, row);
    }
    return product;
}

// Restoring long division, one quotient bit per step.
void BigInt::MagDivMod(const BigInt& dividend, const BigInt& divisor, BigInt& quotient, BigInt& remainder) {
    BigInt d = Magnitude(divisor);
    if (d.length == 0) throw DivisionByZero;
    BigInt n = Magnitude(dividend);
    BigInt q;
    BigInt rest(n);
    if (n.length > 0 && Compare(d, rest) <= 0) {
        int32_t steps = 0;
        while (Compare(d, n) <= 0) {
            d.ShiftLeft(1);
            ++steps;
        }
        while (steps-- > 0) {
            d.ShiftRight(1);
            unsigned bit = 0;
            while (Compare(rest, d) >= 0) {  // rest < 2d, so at most once
                rest = MagSubtract(rest, d);
                ++bit;
            }
            if (q.length > 0) q.ShiftLeft(1);
            if (bit != 0) {
                if (q.length == 0) q.Resize(1);
                q.digits[0] |= static_cast<unsigned char>(bit);
            }
        }
    }
    // Nothing below can throw, so the outputs change only on success.
    quotient = std::move(q);
    remainder = std::move(rest);
}

// Signed arithmetic

int32_t BigInt::Compare(const BigInt& a, const BigInt& b) {
    if (a.sign != b.sign) return a.sign > b.sign ? 1 : -1;
    return MagCompare(a, b) * a.sign;
}

BigInt BigInt::Negate() const {
    BigInt v(*this);
    v.sign = -v.sign;
    v.FixZeroSign();
    return v;
}

BigInt BigInt::Subtract(const BigInt& other) const {
    BigInt result;
    if (sign == other.sign) {
        int32_t c = MagCompare(*this, other);
        if (c > 0) {
            result = MagSubtract(*this, other);
            result.sign = sign;
        } else if (c < 0) {
            result = MagSubtract(other, *this);
            result.sign = -sign;
        }
    } else {
        result = MagAdd(*this, other);
        result.sign = sign;
    }
    result.FixZeroSign();
    return result;
}

BigInt BigInt::Multiply(const BigInt& other) const {
    BigInt result = MagMultiply(*this, other);
    result.sign = sign * other.sign;
    result.FixZeroSign();
    return result;
}

BigInt BigInt::Divide(const BigInt& other) const {
    BigInt quotient, remainder;
    MagDivMod(*this, other, quotient, remainder);
    quotient.sign = sign * other.sign;
    quotient.FixZeroSign();
    return quotient;
}

// Text

std::string BigInt::ToText(int32_t radix, bool showPlus) const { return DigitText(radix, showPlus, nullptr); }

std::string BigInt::ToGroupedText(char separator, bool showPlus) const {
    return DigitText(10, showPlus, &separator);
}

// Collects the digits from the least significant up, then reverses the text.
std::string BigInt::DigitText(int32_t radix, bool showPlus, const char* separator) const {
    if (length == 0) return "0";
    BigInt base = FromInt(radix);
    if (base.length == 1 && base.digits[0] == 1) throw DivisionByZero;  // would never finish
    std::string text;
    BigInt work(*this), quotient, remainder;
    for (int index = 0; work.length > 0; ++index) {
        MagDivMod(work, base, quotient, remainder);
        work = std::move(quotient);
        if (separator && index > 0 && index % 3 == 0) text += *separator;
        // "0" + value below ten, "A" - 10 + value from ten on, in the low byte
        bool letter = remainder.length > 1 || remainder.At(0) > 9;
        text += static_cast<char>(static_cast<unsigned char>(remainder.At(0) + (letter ? 55 : 48)));
    }
    if (sign < 0)
        text += '-';
    else if (showPlus)
        text += '+';
    std::reverse(text.begin(), text.end());
    return text;
}

// Sizes

namespace {

const unsigned char KB[] = {0x00, 0x04};
const unsigned char MB[] = {0x00, 0x00, 0x10};
const unsigned char GB[] = {0x00, 0x00, 0x00, 0x40};
const unsigned char TB[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x01};

}  // namespace

BigInt BigInt::UnitKB() { return FromBytes(KB, sizeof KB, 1); }
BigInt BigInt::UnitMB() { return FromBytes(MB, sizeof MB, 1); }
BigInt BigInt::UnitGB() { return FromBytes(GB, sizeof GB, 1); }
BigInt BigInt::UnitTB() { return FromBytes(TB, sizeof TB, 1); }

std::string BigInt::ToSizeText(char separator, bool compact) const {
    if (length == 0) return compact ? "0 Bytes" : "0";
    if (!compact) return ToGroupedText(separator, false);

    static const struct {
        BigInt (*unit)();
        const char* text;
    } units[] = {{UnitTB, " TB"}, {UnitGB, " GB"}, {UnitMB, " MB"}, {UnitKB, " kB"}};
    for (const auto& u : units) {
        BigInt unit = u.unit();
        if (Compare(*this, unit) >= 0) return CompactText(unit, separator, u.text);
    }
    return ToText(10, false) + (Compare(*this, FromInt(1)) == 0 ? " Byte" : " Bytes");
}

// Tenths of a unit, halves rounded up: (100 v / unit + 5) / 10, then the last
// digit goes behind the separator. v >= unit, so there are two digits at least.
std::string BigInt::CompactText(const BigInt& unit, char separator, const char* unitText) const {
    BigInt tenths = Multiply(FromInt(100)).Divide(unit);
    tenths = tenths.Subtract(FromInt(5).Negate());
    tenths = tenths.Divide(FromInt(10));
    std::string s = tenths.ToText(10, false);
    std::string text = s.substr(0, s.size() - 1);
    text += separator;
    text += s.back();
    return text + unitText;
}
