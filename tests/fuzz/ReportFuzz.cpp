// Arbitrary bytes as a mailbox for the report: the folder tree file, one
// folder per line of keys (a line starting with "m" makes an ".MBX" folder
// with its companion, one starting with "s" a short file, any other a
// ".PMM" folder) and a state file for --since, separated by lines "--".
// The report with its tree, its check and its growth must neither crash nor
// hang; when it runs, its JSON must parse and its tree must hold every row
// once, its sums adding up to the total; the HTML page must be written too.
#include "report/ReportProgram.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum Part { Hierarchy, Keys, State, PartCount };

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "report_fuzz: %s\n", what);
    std::abort();
}

void Check(bool condition, const char* what) {
    if (!condition) Fail(what);
}

std::vector<std::string> SplitParts(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string marker = "\n--\n";
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() + 1 < PartCount) {
        size_t end = input.find(marker, start);
        if (end == std::string::npos) break;
        parts.push_back(input.substr(start, end - start));
        start = end + marker.size();
    }
    parts.push_back(input.substr(std::min(start, input.size())));
    parts.resize(PartCount);
    return parts;
}

void WriteFile(const fs::path& path, const std::string& bytes, size_t length = 0) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (length > bytes.size()) fs::resize_file(path, length);
}

std::string Head(size_t length, const std::string& name, size_t keyOffset, const std::string& key) {
    std::string bytes(length, '\0');
    bytes.replace(0, std::min(name.size(), keyOffset), name.substr(0, keyOffset));
    bytes.replace(keyOffset, std::min(key.size(), length - keyOffset), key.substr(0, length - keyOffset));
    return bytes;
}

struct Workspace {
    fs::path dir;
    Workspace() {
        std::random_device seed;
        for (int attempt = 0; attempt < 100 && dir.empty(); ++attempt) {
            fs::path candidate = fs::temp_directory_path() / ("foldscan-reportfuzz-" + std::to_string(seed()));
            if (fs::create_directory(candidate)) dir = candidate;
        }
        Check(!dir.empty(), "no temporary directory");
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path Mailbox() const { return dir / "mailbox"; }
    fs::path StateFile() const { return dir / "state.json"; }
};

void Generate(const Workspace& work, const std::vector<std::string>& parts) {
    std::error_code ignored;
    fs::remove_all(work.Mailbox(), ignored);
    fs::create_directory(work.Mailbox());
    WriteFile(work.Mailbox() / "hierarch.pm", parts[Hierarchy]);
    // No state part: the first run, without a state file.
    fs::remove(work.StateFile(), ignored);
    if (!parts[State].empty()) WriteFile(work.StateFile(), parts[State]);
    std::istringstream keys(parts[Keys]);
    std::string key;
    for (int i = 0; i < 200 && std::getline(keys, key); ++i) {
        const std::string stem = "F" + std::to_string(i), name = "Ordner " + std::to_string(i % 7);
        const size_t size = 128 + static_cast<size_t>(i) * 1000;
        if (!key.empty() && key[0] == 'm') {
            WriteFile(work.Mailbox() / (stem + ".MBX"), "", size);
            WriteFile(work.Mailbox() / (stem + ".pmg"), Head(90, name, 58, key.substr(1)));
        } else if (!key.empty() && key[0] == 's') {
            WriteFile(work.Mailbox() / (stem + ".PMM"), key);
        } else {
            WriteFile(work.Mailbox() / (stem + ".PMM"), Head(128, name, 86, key), size);
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
    Check(!doc.is_discarded(), "the JSON does not parse");
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
        Check(children == node.at("cumulative").get<uint64_t>(), "a cumulative size is not its parts' sum");
    }
    for (const nlohmann::json& row : box.at("rows")) rows.insert(row.at("fileName").get<std::string>());
    Check(own == box.at("total").get<uint64_t>(), "the own sizes do not add up to the total");
    Check(nodes.at(0).at("cumulative") == box.at("total"), "the tree's root is not the total");
    Check(onNodes == rows, "the tree does not hold every row once");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workspace work;
    if (size > (1u << 20)) return 0;
    Generate(work, SplitParts(data, size));
    const std::string mailbox = work.Mailbox().string(), state = work.StateFile().string();

    std::string out;
    int code = Run({"--format", "json", "--tree", "--check", "--since", state, mailbox}, out);
    Check(code == 0 || code == 1 || code == 2, "an exit code beyond 2");
    if (code != 2) CheckJson(out);
    if (code != 2) {
        // The state just written is read back by the next run.
        Check(Run({"--format", "json", "--tree", "--since", state, mailbox}, out) == 0, "the state does not read back");
        CheckJson(out);
    }
    code = Run({"--format", "html", "--check", "--jobs", "1", mailbox}, out);
    Check(code == 0 || code == 1, "the HTML run failed");
    Check(out.size() > 100 && out.compare(out.size() - 8, 8, "</html>\n") == 0, "the page is cut short");
    return 0;
}
