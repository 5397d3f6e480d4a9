#include "report/model/FolderTree.h"

#include "store/FolderCompare.h"
#include "store/HierarchEntry.h"
#include "store/pmHierarch.h"

#include <algorithm>

namespace {

// An entry's parent as the tree sees it: a root has none.
int ParentOf(const pmHierarch& table, int entry) {
    if (table.GetEntries()[static_cast<size_t>(entry)].type == HierarchEntry::RootType) return -1;
    return table.GetParents()[static_cast<size_t>(entry)];
}

}  // namespace

std::vector<std::vector<int>> FolderTree::FindLoops(const pmHierarch& table) {
    enum State : unsigned char { New, OnWalk, Done };
    const int n = static_cast<int>(table.GetEntries().size());
    std::vector<State> state(static_cast<size_t>(n), New);
    std::vector<std::vector<int>> loops;
    std::vector<int> walk;
    for (int start = 0; start < n; ++start) {
        walk.clear();
        int at = start;
        while (at >= 0 && state[static_cast<size_t>(at)] == New) {
            state[static_cast<size_t>(at)] = OnWalk;
            walk.push_back(at);
            at = ParentOf(table, at);
        }
        // Meeting this walk again closes a loop; meeting an earlier walk does not.
        if (at >= 0 && state[static_cast<size_t>(at)] == OnWalk)
            loops.emplace_back(std::find(walk.begin(), walk.end(), at), walk.end());
        for (int entry : walk) state[static_cast<size_t>(entry)] = Done;
    }
    return loops;
}

void FolderTree::Build(const std::vector<ReportRow>& rows, const pmHierarch& table, int sortColumn,
                       bool descending) {
    // Reserved exactly, since growing would hold a million nodes twice.
    size_t own = 0;
    for (const ReportRow& row : rows)
        if (row.kind == FolderKind::NewMail || table.Find(row.record.hierarchyKey) < 0) ++own;
    nodes.clear();
    nodes.reserve(1 + table.GetEntries().size() + own);
    firstRow.clear();
    firstRow.reserve(nodes.capacity());
    lastRow.clear();
    lastRow.reserve(nodes.capacity());
    nextRow.assign(rows.size(), NoRow);
    AddNode(std::string(), std::string(), -1);
    for (const HierarchEntry& entry : table.GetEntries()) AddNode(entry.name, entry.key, 0);
    Link(table);
    HangRows(rows, table);
    Accumulate();
    Order(sortColumn, descending);
}

int FolderTree::AddNode(const std::string& name, const std::string& key, int parent) {
    Node node;
    node.name = name;
    node.key = key;
    node.parent = parent;
    nodes.push_back(std::move(node));
    firstRow.push_back(NoRow);
    lastRow.push_back(NoRow);
    return static_cast<int>(nodes.size()) - 1;
}

// Entry i is node i + 1. The first entry met twice on a walk up closes a
// loop; it goes to the top, which makes the rest of the loop a chain below it.
void FolderTree::Link(const pmHierarch& table) {
    std::vector<bool> cut(table.GetEntries().size(), false);
    for (const std::vector<int>& loop : FindLoops(table)) cut[static_cast<size_t>(loop.front())] = true;
    for (size_t i = 0; i < cut.size(); ++i) {
        int parent = cut[i] ? -1 : ParentOf(table, static_cast<int>(i));
        nodes[i + 1].parent = parent + 1;  // the mailbox when there is none
    }
}

void FolderTree::HangRows(const std::vector<ReportRow>& rows, const pmHierarch& table) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const FolderInfo& record = rows[r].record;
        int entry = rows[r].kind == FolderKind::NewMail ? -1 : table.Find(record.hierarchyKey);
        const size_t node = static_cast<size_t>(
            entry >= 0 ? entry + 1 : AddNode(record.folderPath + record.folderName, std::string(), 0));
        const uint32_t row = static_cast<uint32_t>(r);
        if (lastRow[node] == NoRow)
            firstRow[node] = row;
        else
            nextRow[lastRow[node]] = row;
        lastRow[node] = row;
        nodes[node].own += record.size;
    }
}

// Breadth first from the mailbox, so that every node comes after its parent;
// sums then run back from the leaves.
void FolderTree::Accumulate() {
    for (size_t i = 1; i < nodes.size(); ++i) nodes[static_cast<size_t>(nodes[i].parent)].children.push_back(static_cast<int>(i));
    std::vector<int> order{0};
    for (size_t k = 0; k < order.size(); ++k) {
        Node& node = nodes[static_cast<size_t>(order[k])];
        for (int child : node.children) {
            nodes[static_cast<size_t>(child)].depth = node.depth + 1;
            order.push_back(child);
        }
    }
    for (Node& node : nodes) node.cumulative = node.own;
    for (size_t k = order.size(); k-- > 1;) {
        const Node& node = nodes[static_cast<size_t>(order[k])];
        nodes[static_cast<size_t>(node.parent)].cumulative += node.cumulative;
    }
}

void FolderTree::Order(int sortColumn, bool descending) {
    auto before = [&](int a, int b) {
        const Node& x = nodes[static_cast<size_t>(descending ? b : a)];
        const Node& y = nodes[static_cast<size_t>(descending ? a : b)];
        int order = 0;
        if (sortColumn == FolderCompare::SizeColumn)
            order = x.cumulative == y.cumulative ? 0 : (x.cumulative < y.cumulative ? -1 : 1);
        if (order == 0) order = FolderCompare::CompareText(x.name, y.name);
        if (order == 0) order = FolderCompare::CompareText(x.key, y.key);
        return order != 0 ? order < 0 : (descending ? b < a : a < b);
    };
    for (Node& node : nodes) std::sort(node.children.begin(), node.children.end(), before);
}

std::vector<size_t> FolderTree::RowsOf(int id) const {
    std::vector<size_t> rows;
    for (uint32_t r = firstRow[static_cast<size_t>(id)]; r != NoRow; r = nextRow[r]) rows.push_back(r);
    return rows;
}

std::vector<int> FolderTree::Listing() const {
    std::vector<int> listing;
    if (nodes.empty()) return listing;
    listing.reserve(nodes.size() - 1);
    std::vector<int> stack(nodes[0].children.rbegin(), nodes[0].children.rend());
    while (!stack.empty()) {
        int at = stack.back();
        stack.pop_back();
        listing.push_back(at);
        const std::vector<int>& children = nodes[static_cast<size_t>(at)].children;
        stack.insert(stack.end(), children.rbegin(), children.rend());
    }
    return listing;
}
