// The folder tree on generated mailboxes whose hierarchies have missing
// parents and loops: every cumulative size against a sum made by walking up
// from each file, and every entry under its parent unless that is missing or
// the entry closes a loop.
#include "tests/report/ReportFixture.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace ReportFixture;

namespace {

struct Generated {
    std::map<std::string, std::string> parentOf;  // entry key to parent key ("R" is the root)
    std::map<std::string, uint64_t> fileSize;     // folder file to size
    int loops = 0;
};

// The loops of the parent links, counted as the test sees them.
int CountLoops(const std::map<std::string, std::string>& parentOf) {
    std::map<std::string, int> state;  // 0 new, 1 on this walk, 2 done
    int loops = 0;
    for (const auto& [start, unused] : parentOf) {
        std::vector<std::string> walk;
        std::string at = start;
        while (parentOf.count(at) && state[at] == 0) {
            state[at] = 1;
            walk.push_back(at);
            at = parentOf.at(at);
        }
        if (parentOf.count(at) && state[at] == 1) ++loops;
        for (const std::string& key : walk) state[key] = 2;
    }
    return loops;
}

Generated Generate(TempDir& dir, unsigned seed) {
    std::mt19937 random(seed);
    Generated g;
    const int entries = 5 + static_cast<int>(random() % 30);
    std::string hierarchy = "2,0,R,,Wurzel\n";
    for (int i = 0; i < entries; ++i) {
        std::string key = "K" + std::to_string(i);
        unsigned pick = random() % 10;
        std::string parent = pick < 3 ? "R" : pick < 4 ? "M" + std::to_string(i) : "K" + std::to_string(random() % entries);
        g.parentOf[key] = parent;
        hierarchy += "1,0," + key + "," + parent + ",Name " + std::to_string(i) + "\n";
    }
    dir.Write("hierarch.pm", hierarchy);
    std::map<std::string, std::string> nonRoot = g.parentOf;
    g.loops = CountLoops(nonRoot);
    const int files = 1 + static_cast<int>(random() % 40);
    for (int f = 0; f < files; ++f) {
        std::string key = random() % 8 == 0 ? "Z" : "K" + std::to_string(random() % entries);
        if (random() % 10 == 0) key = "R";
        std::string file = "F" + std::to_string(f) + ".PMM";
        uint64_t size = 128 + random() % 100000;
        WritePmm(dir, file, "Ordner " + std::to_string(f), key, size);
        g.fileSize[file] = size;
    }
    return g;
}

}  // namespace

TEST(ReportTree, CumulativeSizesAgreeWithAnIndependentSum) {
    TraceCapture quiet;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        TempDir mailbox;
        Generated g = Generate(mailbox, seed);
        Result result = RunReport({"--format", "json", "--tree", mailbox.Path()});
        ASSERT_EQ(result.code, 0) << result.err;
        const nlohmann::json box = nlohmann::json::parse(result.out).at("mailboxes").at(0);
        const nlohmann::json& nodes = box.at("tree");

        std::map<std::string, int> nodeOfFile, nodeOfKey;
        for (const nlohmann::json& node : nodes) {
            for (const nlohmann::json& name : node.at("files")) {
                std::string file = name;
                ASSERT_EQ(nodeOfFile.count(file), 0u) << "a file on two nodes: " << file;
                nodeOfFile[file] = node.at("id");
            }
            std::string key = node.at("hierarchyKey");
            if (!key.empty()) nodeOfKey[key] = node.at("id");
        }
        ASSERT_EQ(nodeOfFile.size(), g.fileSize.size()) << seed;

        // Each file's size goes to its node and every node above it.
        std::vector<uint64_t> expected(nodes.size(), 0);
        for (const auto& [file, size] : g.fileSize) {
            int at = nodeOfFile.at(file), steps = 0;
            while (at >= 0) {
                expected[static_cast<size_t>(at)] += size;
                at = nodes.at(static_cast<size_t>(at)).at("parent");
                ASSERT_LE(++steps, static_cast<int>(nodes.size())) << "the tree loops, seed " << seed;
            }
        }
        for (size_t id = 0; id < nodes.size(); ++id)
            EXPECT_EQ(nodes[id].at("cumulative").get<uint64_t>(), expected[id]) << "seed " << seed << " node " << id;
        EXPECT_EQ(nodes.at(0).at("cumulative"), box.at("total"));

        // Entries stand under their parents, except where it is missing and
        // at exactly one place in each loop.
        int cut = 0;
        for (const auto& [key, parent] : g.parentOf) {
            int parentNode = nodes.at(static_cast<size_t>(nodeOfKey.at(key))).at("parent");
            if (!nodeOfKey.count(parent)) {
                EXPECT_EQ(parentNode, 0) << key;
            } else if (parentNode == 0) {
                ++cut;
            } else {
                EXPECT_EQ(parentNode, nodeOfKey.at(parent)) << key;
            }
        }
        EXPECT_EQ(cut, g.loops) << "seed " << seed;
    }
}
