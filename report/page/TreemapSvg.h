#pragma once

#include <cstddef>
#include <ostream>

class MailboxReport;
struct ReportRun;

// A mailbox's folder tree as an inline SVG treemap. Every node with a size
// is a rectangle whose area is in proportion to its cumulative size among
// its siblings: the children of a node, and a rectangle for the node's own
// files where it also has children, share the node's rectangle below its
// label strip. Each rectangle names its node and its sibling group
// (data-node, data-group), carries its size in bytes (data-bytes) and shows
// its name and size on hover. Rectangles of less than half a pixel are left
// out, and of the rest only the maxShapes largest are drawn, so that a
// mailbox of many small folders gives no page of slivers: the small ones
// show as part of the rectangle around them.
class TreemapSvg {
public:
    static constexpr double Width = 960;
    static constexpr double Height = 540;

    static void Write(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out, size_t maxShapes);
};
