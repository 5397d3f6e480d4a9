#include "report/page/HtmlAssets.h"

namespace HtmlAssets {

const char* Style() {
    return R"(
body { font: 14px/1.4 "DejaVu Sans", Verdana, sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.4em; }
h2 { font-size: 1.15em; margin-top: 1.5em; }
h3 { font-size: 1em; }
table { border-collapse: collapse; margin: .5em 0; }
th, td { border: 1px solid #ccc; padding: .15em .5em; text-align: left; white-space: pre; }
th { background: #eee; }
th[data-column] { cursor: pointer; user-select: none; }
th[aria-sort="ascending"]::after { content: " \25B2"; }
th[aria-sort="descending"]::after { content: " \25BC"; }
td.number, th.number { text-align: right; }
.hint, .window, .hidden { color: #666; font-size: .9em; }
.window button { margin-left: .6em; }
.error { color: #a00; }
#filter { width: 20em; }
#filter-count { margin-left: .6em; color: #444; }
table.overview { table-layout: fixed; margin: 0; font-size: 13px; }
table.overview td { overflow: hidden; text-overflow: ellipsis; }
div.chunk { content-visibility: auto; contain-intrinsic-size: auto 2300px; }
div.chunk tr:first-child td { border-top: none; }
td.bar { padding-right: 0; border-right: none; }
td.bar + td.number { border-left: none; }
span.bar { display: inline-block; width: 6em; height: .7em; background: #e6e6e6; vertical-align: middle; }
span.bar > span { display: block; height: 100%; background: #4a78b0; }
td.gone { white-space: normal; }
details.mailbox { margin-top: 1em; border-top: 1px solid #ccc; padding-top: .4em; }
details.mailbox:not([open]) { content-visibility: auto; contain-intrinsic-size: auto 2.4em; }
details.mailbox > summary { cursor: pointer; }
details.mailbox > summary h2 { display: inline; margin: 0; overflow-wrap: anywhere; }
h2, .common, .recorded, .removed, .growth { overflow-wrap: anywhere; }
.gone { color: #7a4a00; }
tr.gone td { color: #666; }
details.mailbox > summary .summary { margin-left: .8em; color: #444; }
svg.treemap { display: block; border: 1px solid #999; }
svg.treemap rect { stroke: #fff; stroke-width: 1; }
svg.treemap text { font: 11px "DejaVu Sans", Verdana, sans-serif; fill: #111; pointer-events: none; }
.generated, .recorded { color: #444; }
.note { color: #7a4a00; }
.gbar { display: inline-block; position: relative; width: 6em; height: .7em; background: #eee;
        vertical-align: middle; }
.gbar::after { content: ""; position: absolute; left: 50%; top: -.15em; bottom: -.15em; border-left: 1px solid #888; }
.gbar > span { position: absolute; top: 0; height: 100%; }
.gbar > .up { left: 50%; background: #3d8b3d; }
.gbar > .down { right: 50%; background: #b8483f; }
td.spark { padding: 0 .4em; vertical-align: middle; }
svg.history-spark { display: block; }
svg.history-spark polyline, svg.history-chart polyline { fill: none; stroke: #4a78b0; stroke-width: 1.5; }
svg.history-chart { display: block; }
svg.history-chart circle { fill: #4a78b0; }
svg.history-chart circle:hover { fill: #d08a00; }
svg.history-chart line { stroke: #bbb; }
svg.history-chart text { font: 11px "DejaVu Sans", Verdana, sans-serif; fill: #333; }
)";
}

}  // namespace HtmlAssets
