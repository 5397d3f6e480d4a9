// Arbitrary bytes as a mailbox for the report: the folder tree file, one
// folder per line of keys (a line starting with "m" makes an ".MBX" folder
// with its companion, one starting with "s" a short file, any other a
// ".PMM" folder) and a state file for --since, separated by lines "--".
// The report with its tree, its check and its growth must neither crash nor
// hang; when it runs, its JSON must parse and its tree must hold every row
// once, its sums adding up to the total; the HTML page must be written too.
#include "report/program/ReportProgram.h"
#include "tests/support/FolderHeads.h"
#include "tests/support/FuzzInput.h"
#include "tests/support/TempDir.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum Part { Hierarchy, Keys, State, PartCount };

void WriteFile(const fs::path& path, const std::string& bytes, size_t length = 0) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (length > bytes.size()) fs::resize_file(path, length);
}

void Generate(const fs::path& mailbox, const fs::path& stateFile, const std::vector<std::string>& parts) {
    std::error_code ignored;
    fs::remove_all(mailbox, ignored);
    fs::create_directory(mailbox);
    WriteFile(mailbox / "hierarch.pm", parts[Hierarchy]);
    // No state part: the first run, without a state file.
    fs::remove(stateFile, ignored);
    if (!parts[State].empty()) WriteFile(stateFile, parts[State]);
    std::istringstream keys(parts[Keys]);
    std::string key;
    for (int i = 0; i < 200 && std::getline(keys, key); ++i) {
        const std::string stem = "F" + std::to_string(i), name = "Ordner " + std::to_string(i % 7);
        const size_t size = 128 + static_cast<size_t>(i) * 1000;
        if (!key.empty() && key[0] == 'm') {
            WriteFile(mailbox / (stem + ".MBX"), "", size);
            WriteFile(mailbox / (stem + ".pmg"), PmgHead(name, key.substr(1)));
        } else if (!key.empty() && key[0] == 's') {
            WriteFile(mailbox / (stem + ".PMM"), key);
        } else {
            WriteFile(mailbox / (stem + ".PMM"), PmmHead(name, key), size);
        }
    }
}

int Run(const std::vector<std::string>& args, std::string& out) {
    ReportEnvironment environment;
    environment.processors = 2;
    std::ostringstream output, errors;
    int code = ReportProgram(environment).Run(args, output, errors);
    out = output.str();
    return code;
}

void CheckJson(const std::string& text) {
    nlohmann::json doc = nlohmann::json::parse(text, nullptr, false);
    FuzzCheck(!doc.is_discarded(), "the JSON does not parse");
    const nlohmann::json& box = doc.at("mailboxes").at(0);
    const nlohmann::json& nodes = box.at("tree");
    uint64_t own = 0;
    std::multiset<std::string> onNodes, rows;
    for (const nlohmann::json& node : nodes) {
        own += node.at("own").get<uint64_t>();
        for (const nlohmann::json& file : node.at("files")) onNodes.insert(file.get<std::string>());
        uint64_t children = node.at("own").get<uint64_t>();
        for (const nlohmann::json& child : node.at("children"))
            children += nodes.at(child.get<size_t>()).at("cumulative").get<uint64_t>();
        FuzzCheck(children == node.at("cumulative").get<uint64_t>(), "a cumulative size is not its parts' sum");
    }
    for (const nlohmann::json& row : box.at("rows")) rows.insert(row.at("fileName").get<std::string>());
    FuzzCheck(own == box.at("total").get<uint64_t>(), "the own sizes do not add up to the total");
    FuzzCheck(nodes.at(0).at("cumulative") == box.at("total"), "the tree's root is not the total");
    FuzzCheck(onNodes == rows, "the tree does not hold every row once");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TempDir work;
    static const fs::path mailboxDir = fs::path(work.Path()) / "mailbox";
    static const fs::path stateFile = fs::path(work.Path()) / "state.json";
    if (size > (1u << 20)) return 0;
    Generate(mailboxDir, stateFile, SplitParts(data, size, PartCount));
    const std::string mailbox = mailboxDir.string(), state = stateFile.string();

    std::string out;
    int code = Run({"--format", "json", "--tree", "--check", "--since", state, mailbox}, out);
    FuzzCheck(code == 0 || code == 1 || code == 2, "an exit code beyond 2");
    if (code != 2) CheckJson(out);
    if (code != 2) {
        // The state just written is read back by the next run.
        FuzzCheck(Run({"--format", "json", "--tree", "--since", state, mailbox}, out) == 0,
                  "the state does not read back");
        CheckJson(out);
    }
    code = Run({"--format", "html", "--check", "--jobs", "1", mailbox}, out);
    FuzzCheck(code == 0 || code == 1, "the HTML run failed");
    FuzzCheck(out.size() > 100 && out.compare(out.size() - 8, 8, "</html>\n") == 0, "the page is cut short");
    return 0;
}
