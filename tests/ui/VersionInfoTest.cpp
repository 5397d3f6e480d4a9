// VersionInfo through the real version functions: on this program, which
// carries the extension's resources, and on probe modules beside it.
#include "ui/VersionInfo.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string Probe(int number) {
    std::string program = ProgramPath();
    return program.substr(0, program.find_last_of("\\/") + 1) + "version_probe" + std::to_string(number) + ".dll";
}

}  // namespace

TEST(VersionInfo, VersionTextGivesTwoDigitMinorThirdPartLetterAndHexadecimalBuild) {
    VersionInfo info;
    ASSERT_EQ(info.Load(ProgramPath(), 0), 1);
    EXPECT_EQ(info.VersionText(), "v2.06");

    ASSERT_EQ(info.Load(Probe(1), 0), 1);
    uint16_t parts[4] = {};
    ASSERT_EQ(info.QueryFileVersion(parts[0], parts[1], parts[2], parts[3]), 1);
    EXPECT_EQ(parts[0], 2);
    EXPECT_EQ(parts[1], 6);
    EXPECT_EQ(parts[2], 1);
    EXPECT_EQ(parts[3], 26);
    EXPECT_EQ(info.VersionText(), "v2.06a Build 001A");

    ASSERT_EQ(info.Load(Probe(2), 0), 1);
    EXPECT_EQ(info.VersionText(), "v2.10");
}

TEST(VersionInfo, TheTranslationAtTheIndexElseTheFirstElseNeutralUnicode) {
    VersionInfo info;
    ASSERT_EQ(info.Load(Probe(2), 0), 1);
    EXPECT_EQ(info.Prefix(), "\\StringFileInfo\\040904E4\\");
    EXPECT_EQ(info.QueryString("FileDescription"), "first entry");

    ASSERT_EQ(info.Load(Probe(2), 1), 1);
    EXPECT_EQ(info.Prefix(), "\\StringFileInfo\\040704B0\\");
    EXPECT_EQ(info.QueryString("FileDescription"), "German entry");

    for (int index : {2, 5, -1}) {
        ASSERT_EQ(info.Load(Probe(2), index), 1);
        EXPECT_EQ(info.Prefix(), "\\StringFileInfo\\040904E4\\") << index;
    }

    ASSERT_EQ(info.Load(Probe(3), 0), 1);  // an empty translation list
    EXPECT_EQ(info.Prefix(), "\\StringFileInfo\\000004B0\\");
    EXPECT_EQ(info.QueryString("FileDescription"), "neutral entry");
    EXPECT_EQ(info.QueryString("ProductName"), "");  // not in that translation
}

TEST(VersionInfo, AModuleWithoutVersionBlockLeavesNothingOfAnEarlierLoad) {
    VersionInfo info;
    ASSERT_EQ(info.Load(Probe(1), 0), 1);
    ASSERT_EQ(info.QueryString("FileDescription"), "German entry");

    for (const std::string& file : {Probe(0), Probe(1) + ".missing"}) {
        EXPECT_EQ(info.Load(file, 0), 0) << file;
        EXPECT_EQ(info.Prefix(), "");
        EXPECT_EQ(info.QueryString("FileDescription"), "");
        EXPECT_EQ(info.VersionText(), "");
        uint16_t parts[4] = {9, 9, 9, 9};
        EXPECT_EQ(info.QueryFileVersion(parts[0], parts[1], parts[2], parts[3]), 0);
    }

    ASSERT_EQ(info.Load(Probe(1), 0), 1);
    info.Release();
    EXPECT_EQ(info.QueryString("FileDescription"), "");
    EXPECT_EQ(info.VersionText(), "");
}
