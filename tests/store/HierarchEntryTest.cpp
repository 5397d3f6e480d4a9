#include "store/HierarchEntry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

struct Fields {
    int32_t type;
    std::string key, parentKey, name;
    bool operator==(const Fields& o) const {
        return type == o.type && key == o.key && parentKey == o.parentKey && name == o.name;
    }
};

std::ostream& operator<<(std::ostream& out, const Fields& f) {
    return out << "{" << f.type << ", [" << f.key << "], [" << f.parentKey << "], [" << f.name << "]}";
}

Fields Parsed(const std::string& line) {
    HierarchEntry entry;
    EXPECT_TRUE(entry.Parse(line)) << line;
    return {entry.type, entry.key, entry.parentKey, entry.name};
}

bool Parses(const std::string& line) { return HierarchEntry().Parse(line); }

}  // namespace

TEST(HierarchEntry, ReadsFiveFieldsAndIgnoresWhatFollows) {
    EXPECT_EQ(Parsed("1,7,K1,K0,Archiv"), (Fields{1, "K1", "K0", "Archiv"}));
    EXPECT_EQ(Parsed("2,0,R,,Root,extra,\"more\""), (Fields{2, "R", "", "Root"}));

    EXPECT_FALSE(Parses(""));
    EXPECT_FALSE(Parses("1,7,K1,K0"));
    EXPECT_FALSE(Parses("1,7,K1,K0,"));  // the line has ended before the name
    EXPECT_FALSE(Parses("1,,K1,K0,Name"));  // the unused number must still be there
}

TEST(HierarchEntry, BlanksInFrontOfAFieldAreSkippedOthersAreKept) {
    EXPECT_EQ(Parsed(" \t1 , \t7 ,  K 1 ,\tP  , Mein Ordner  "), (Fields{1, "K 1 ", "P  ", "Mein Ordner  "}));
    // Blanks alone at the end of the line are an empty name, not a missing one.
    EXPECT_EQ(Parsed("1,7,K,P,  \t"), (Fields{1, "K", "P", ""}));
}

TEST(HierarchEntry, NumbersAreTheLeadingDigitsOfTheirField) {
    EXPECT_EQ(Parsed("12abc,7 junk,K,P,N").type, 12);
    EXPECT_EQ(Parsed("007,0,K,P,N").type, 7);
    for (const char* line : {"+1,0,K,P,N", "-1,0,K,P,N", "x1,0,K,P,N", "1,-7,K,P,N", " ,0,K,P,N"})
        EXPECT_FALSE(Parses(line)) << line;
}

TEST(HierarchEntry, NumbersBeyond32BitsSaturate) {
    const int32_t max = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(Parsed("2147483647,0,K,P,N").type, max);
    EXPECT_EQ(Parsed("2147483648,0,K,P,N").type, max);
    // 2^32 + 2 must not wrap round to the root type.
    EXPECT_EQ(Parsed("4294967298,0,K,P,N").type, max);
    EXPECT_EQ(Parsed(std::string(5000, '9') + "," + std::string(5000, '9') + ",K,P,N").type, max);
}

TEST(HierarchEntry, QuotedTextsTakeEscapesLiterally) {
    EXPECT_EQ(Parsed(R"(1,7,"K\"1","P\\0","Ar,chiv" ignored,x)"), (Fields{1, "K\"1", "P\\0", "Ar,chiv"}));
    EXPECT_EQ(Parsed(R"(1,7,  "K",P,"\a\b")"), (Fields{1, "K", "P", "ab"}));
    EXPECT_EQ(Parsed(R"(1,7,"",P,"")"), (Fields{1, "", "P", ""}));
}

TEST(HierarchEntry, AnUnterminatedQuoteEndsWithTheLine) {
    // The name runs to the end of the line; a backslash with nothing after it stays.
    EXPECT_EQ(Parsed(R"(1,7,K,P,"Archiv, alt)"), (Fields{1, "K", "P", "Archiv, alt"}));
    EXPECT_EQ(Parsed(R"(1,7,K,P,"Archiv\)"), (Fields{1, "K", "P", "Archiv\\"}));
    EXPECT_EQ(Parsed(R"(1,7,K,P,"Archiv\")"), (Fields{1, "K", "P", "Archiv\""}));
    // An unterminated key swallows the rest, so the fields after it are missing.
    EXPECT_FALSE(Parses(R"(1,7,"K,P,Name)"));

    for (const std::string& text : {std::string("\""), std::string("\"\\"), std::string("  \"abc\\")}) {
        size_t cursor = 0;
        std::string value;
        EXPECT_TRUE(HierarchEntry::ReadTextField(text, cursor, value));
        EXPECT_EQ(cursor, text.size());
    }
}

TEST(HierarchEntry, ReadersAdvancePastTheirComma) {
    const std::string line = "42 x, \"a\" y ,b";
    size_t cursor = 0;
    int32_t number = 0;
    std::string text;
    ASSERT_TRUE(HierarchEntry::ReadNumberField(line, cursor, number));
    EXPECT_EQ(number, 42);
    EXPECT_EQ(cursor, 5u);
    ASSERT_TRUE(HierarchEntry::ReadTextField(line, cursor, text));
    EXPECT_EQ(text, "a");
    ASSERT_TRUE(HierarchEntry::ReadTextField(line, cursor, text));
    EXPECT_EQ(text, "b");
    EXPECT_EQ(cursor, line.size());
    EXPECT_FALSE(HierarchEntry::ReadTextField(line, cursor, text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(HierarchEntry::ReadNumberField(line, cursor, number));
}

TEST(HierarchEntry, ParseStartsFromAClearedEntry) {
    HierarchEntry entry;
    ASSERT_TRUE(entry.Parse("2,0,R,P,Root"));
    EXPECT_FALSE(entry.Parse("x"));
    EXPECT_EQ(entry.type, -1);
    EXPECT_EQ(entry.key + entry.parentKey + entry.name, "");
}
