#include "report/page/TreemapSvg.h"

#include "report/page/HtmlText.h"
#include "report/model/ReportRun.h"
#include "report/page/Treemap.h"
#include "report/text/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int MaxDepth = 24;          // a deeper tree is drawn down to here
constexpr double LabelHeight = 15;    // the strip that names a parent
constexpr double Padding = 2;         // between a parent's edge and its children
constexpr double CharWidth = 6.5;     // of the label font, roughly
constexpr double MinimumLabelled = 36;  // narrower rectangles go unlabelled
constexpr double MinimumArea = 0.5;     // smaller ones are not drawn at all

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out = text;
    while (!out.empty() && out.back() == '0') out.pop_back();
    if (!out.empty() && out.back() == '.') out.pop_back();
    return out;
}

// A label cut to the width it has, with an ellipsis where it was cut.
std::string Fit(const std::string& utf8, double width) {
    size_t room = static_cast<size_t>(std::max(0.0, (width - 6) / CharWidth));
    if (Utf8Length(utf8) <= room) return utf8;
    std::string out;
    size_t kept = 0;
    for (size_t i = 0; i < utf8.size() && room > 1; ++i) {
        bool starts = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
        if (starts && ++kept == room) break;
        out += utf8[i];
    }
    return out + "\u2026";
}

// Each branch below the mailbox has a hue of its own; deeper levels are lighter.
std::string Fill(int hue, int depth) {
    int lightness = std::min(88, 42 + 9 * (depth - 1));
    return "hsl(" + std::to_string(hue) + ",55%," + std::to_string(lightness) + "%)";
}

class Drawing {
public:
    Drawing(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out, size_t maxShapes)
        : run(run), nodes(mailbox.tree.Nodes()), out(out), maxShapes(maxShapes) {}

    // The layout is made twice: once to learn every rectangle's area, and
    // once to draw the largest of them.
    void Draw() {
        out << "<svg class=\"treemap\" width=\"" << Number(TreemapSvg::Width)
            << "\" height=\"" << Number(TreemapSvg::Height) << "\" viewBox=\"0 0 " << Number(TreemapSvg::Width) << ' '
            << Number(TreemapSvg::Height) << "\" data-bytes=\"" << (nodes.empty() ? 0 : nodes[0].cumulative)
            << "\">\n";
        if (!nodes.empty()) {
            const Treemap::Rect whole{0, 0, TreemapSvg::Width, TreemapSvg::Height};
            measuring = true;
            Children(0, whole, 200);
            ChooseThreshold();
            measuring = false;
            Children(0, whole, 200);
        }
        out << "</svg>\n";
    }

private:
    // Draws the maxShapes largest rectangles; among equal ones at the
    // threshold, those met first. A child is smaller than its parent, so no
    // rectangle is drawn without the one around it.
    void ChooseThreshold() {
        if (areas.size() <= maxShapes) return;
        auto nth = areas.begin() + static_cast<std::ptrdiff_t>(maxShapes - 1);
        std::nth_element(areas.begin(), nth, areas.end(), std::greater<double>());
        threshold = *nth;
        size_t above = static_cast<size_t>(std::count_if(areas.begin(), areas.end(), [&](double a) { return a > threshold; }));
        atThreshold = maxShapes - above;
        areas.clear();
        areas.shrink_to_fit();
    }

    // Whether a rectangle of this area is drawn (or, while measuring,
    // laid out further).
    bool Take(double area) {
        if (area < MinimumArea) return false;
        if (measuring) {
            areas.push_back(area);
            return true;
        }
        if (area > threshold) return true;
        if (area < threshold || atThreshold == 0) return false;
        --atThreshold;
        return true;
    }

    struct Item {
        int node;      // the node, or for its own files the node itself
        bool ownPart;  // the rectangle of a parent's own files
        double bytes;
    };

    // Lays out the node's children (and its own files, where it has
    // children) in area, then draws each, deeper ones inside.
    void Children(int id, const Treemap::Rect& area, int hue) {
        const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
        std::vector<Item> items;
        for (int child : node.children) {
            const uint64_t bytes = nodes[static_cast<size_t>(child)].cumulative;
            if (bytes > 0) items.push_back({child, false, static_cast<double>(bytes)});
        }
        if (items.empty()) return;
        if (id != 0 && node.own > 0) items.push_back({id, true, static_cast<double>(node.own)});

        std::vector<double> values;
        for (const Item& item : items) values.push_back(item.bytes);
        std::vector<Treemap::Rect> rects = Treemap::Squarify(values, area);
        // The first two levels get hues of their own: a mailbox often has one
        // root that holds everything.
        int branch = 0;
        for (size_t k = 0; k < items.size(); ++k) {
            if (!Take(rects[k].Area())) continue;
            int childHue = node.depth < 2 ? (hue + 67 * branch++ + (id == 0 ? 0 : 31)) % 360 : hue;
            if (items[k].ownPart)
                OwnPart(id, rects[k], childHue);
            else
                Node(items[k].node, id, rects[k], childHue);
        }
    }

    void Node(int id, int group, const Treemap::Rect& r, int hue) {
        const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
        const bool roomForChildren = r.width > 4 * Padding + 8 && r.height > LabelHeight + 2 * Padding + 8;
        const bool hasChildren = !node.children.empty() && node.depth < MaxDepth && roomForChildren;
        if (!measuring) {
            const std::string name = Utf8FromCp1252(node.name);
            Rectangle(r, id, group, node.cumulative, Fill(hue, node.depth), false,
                      name + " \u2014 " + SizeTitle(node.cumulative));
            Label(r, name, hasChildren);
        }
        if (!hasChildren) return;
        Treemap::Rect inner{r.x + Padding, r.y + LabelHeight, r.width - 2 * Padding, r.height - LabelHeight - Padding};
        Children(id, inner, hue);
    }

    void OwnPart(int id, const Treemap::Rect& r, int hue) {
        if (measuring) return;
        const FolderTree::Node& node = nodes[static_cast<size_t>(id)];
        const std::string name = ReportTexts::Fill(run.texts.treemapOwnFiles, {Utf8FromCp1252(node.name)});
        Rectangle(r, id, id, node.own, Fill(hue, node.depth + 1), true, name + " \u2014 " + SizeTitle(node.own));
        Label(r, name, false);
    }

    void Rectangle(const Treemap::Rect& r, int id, int group, uint64_t bytes, const std::string& fill, bool own,
                   const std::string& title) {
        out << "<rect x=\"" << Number(r.x) << "\" y=\"" << Number(r.y) << "\" width=\"" << Number(r.width)
            << "\" height=\"" << Number(r.height) << "\" fill=\"" << fill << "\" data-node=\"" << id
            << "\" data-group=\"" << group << "\" data-bytes=\"" << bytes << '"' << (own ? " data-own=\"1\"" : "")
            << "><title>" << HtmlText(title) << "</title></rect>\n";
    }

    void Label(const Treemap::Rect& r, const std::string& name, bool strip) {
        if (r.width < MinimumLabelled || r.height < LabelHeight - 2) return;
        double baseline = r.y + (strip ? LabelHeight - 4 : std::min(r.height - 3, LabelHeight - 3));
        out << "<text x=\"" << Number(r.x + 3) << "\" y=\"" << Number(baseline) << "\">"
            << HtmlText(Fit(name, r.width)) << "</text>\n";
    }

    std::string SizeTitle(uint64_t bytes) const {
        return run.texts.Size(bytes, true) + " (" + run.texts.Size(bytes, false) + " " +
               (run.texts.GetLanguage() == Language::German ? "Bytes" : "bytes") + ")";
    }

    const ReportRun& run;
    const std::vector<FolderTree::Node>& nodes;
    std::ostream& out;
    const size_t maxShapes;
    bool measuring = false;
    std::vector<double> areas;  // while measuring
    double threshold = 0;       // below MinimumArea unless there are too many
    size_t atThreshold = 0;
};

}  // namespace

void TreemapSvg::Write(const ReportRun& run, const MailboxReport& mailbox, std::ostream& out, size_t maxShapes) {
    Drawing(run, mailbox, out, std::max<size_t>(1, maxShapes)).Draw();
}
