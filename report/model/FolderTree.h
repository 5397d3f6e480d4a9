#pragma once

#include "report/model/ReportRow.h"

#include <cstdint>
#include <string>
#include <vector>

class pmHierarch;

// The folder tree of one mailbox. Node 0 stands for the mailbox itself;
// below it the hierarchy's roots and every entry whose parent is missing or
// that closes a loop, each entry under its parent otherwise. A folder file
// hangs on the entry its key names; the new-mail row and files whose key no
// entry has are nodes of their own at the top. A node's own size is that of
// its files, its cumulative size that plus all its descendants'.
class FolderTree {
public:
    struct Node {
        std::string name;  // code page 1252, as the mail store has it
        std::string key;   // the entry's key; empty for nodes that are no entry
        int parent = -1;
        int depth = 0;
        std::vector<int> children;  // in the order asked for
        uint64_t own = 0;
        uint64_t cumulative = 0;
    };

    // Children are ordered by name, or by cumulative size when sortColumn is
    // the size column; descending reverses either.
    void Build(const std::vector<ReportRow>& rows, const pmHierarch& table, int sortColumn, bool descending);

    const std::vector<Node>& Nodes() const { return nodes; }

    // The indices of the rows hung on a node, in the rows' order.
    std::vector<size_t> RowsOf(int id) const;

    // Every node below the mailbox, parents before their children and
    // siblings in order: the lines of a listing.
    std::vector<int> Listing() const;

    // The hierarchy's loops: for each, its entries (indices into the table)
    // in the order their parent links go round. A root ends a chain, so a
    // chain through a root is no loop.
    static std::vector<std::vector<int>> FindLoops(const pmHierarch& table);

private:
    int AddNode(const std::string& name, const std::string& key, int parent);
    void Link(const pmHierarch& table);
    void HangRows(const std::vector<ReportRow>& rows, const pmHierarch& table);
    void Accumulate();
    void Order(int sortColumn, bool descending);

    // The rows of a node as a chain, first to last: a list of its own for
    // each of a million nodes would take more than the node itself.
    static constexpr uint32_t NoRow = UINT32_MAX;
    std::vector<Node> nodes;
    std::vector<uint32_t> firstRow, lastRow;  // by node
    std::vector<uint32_t> nextRow;            // by row
};
