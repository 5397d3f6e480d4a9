// A mailbox's folder tree as an SVG treemap. Every node with a size is a
// rectangle whose area is in proportion to its cumulative size among its
// siblings: the children of a node, and a rectangle for the node's own files
// where it also has children, share the node's rectangle below its label
// strip. Each rectangle names its node and its sibling group (data-node,
// data-group), carries its size in bytes (data-bytes) and shows its name and
// size on hover. Rectangles of less than half a pixel are left out, and of
// the rest only the MostShapes largest are drawn: the small ones show as
// part of the rectangle around them.
var TreemapWidth = 960, TreemapHeight = 540, MostShapes = 1500;
var MaxDepth = 24, LabelHeight = 15, Padding = 2, CharWidth = 6.5, MinimumLabelled = 36, MinimumArea = 0.5;

// Divides area among values, each rectangle's area in proportion to its
// value, as close to squares as the squarified method gets them; in the
// order of values. A value of 0 gets an empty rectangle at area's corner.
function squarify(values, area) {
  var out = values.map(function () { return {x: area.x, y: area.y, width: 0, height: 0}; });
  var order = [], total = 0;
  values.forEach(function (v, i) { if (v > 0) { order.push(i); total += v; } });
  if (!order.length || area.width * area.height <= 0) return out;
  order.sort(function (a, b) { return values[b] - values[a] || a - b; });
  var areas = values.map(function (v) { return v > 0 ? v / total * area.width * area.height : 0; });
  var free = {x: area.x, y: area.y, width: area.width, height: area.height};
  function worst(sum, largest, smallest, side) {
    var side2 = side * side, sum2 = sum * sum;
    return Math.max(side2 * largest / sum2, sum2 / (side2 * smallest));
  }
  for (var next = 0; next < order.length;) {
    var side = Math.min(free.width, free.height), row = [order[next]], sum = areas[order[next]];
    var worstSoFar = worst(sum, sum, sum, side);
    for (++next; next < order.length; ++next) {
      var candidate = worst(sum + areas[order[next]], areas[row[0]], areas[order[next]], side);
      if (candidate > worstSoFar) break;
      worstSoFar = candidate;
      sum += areas[order[next]];
      row.push(order[next]);
    }
    layRow(row, areas, sum, next === order.length, free, out);
  }
  return out;
}

// Lays a row along the shorter side of free and takes its strip off free;
// the last row takes what is left, so that rounding leaves no gap.
function layRow(row, areas, sum, last, free, out) {
  var alongHeight = free.width >= free.height, side = alongHeight ? free.height : free.width;
  var thickness = last ? (alongHeight ? free.width : free.height) : (side > 0 ? sum / side : 0), offset = 0;
  row.forEach(function (i, k) {
    var length = k + 1 === row.length ? side - offset : (sum > 0 ? side * areas[i] / sum : 0);
    out[i] = alongHeight ? {x: free.x, y: free.y + offset, width: thickness, height: length}
                         : {x: free.x + offset, y: free.y, width: length, height: thickness};
    offset += length;
  });
  if (alongHeight) { free.x += thickness; free.width = Math.max(0, free.width - thickness); }
  else { free.y += thickness; free.height = Math.max(0, free.height - thickness); }
}

function number(value) { return String(Math.round(value * 100) / 100); }

// A label cut to the width it has, with an ellipsis where it was cut.
function fit(text, width) {
  var room = Math.floor(Math.max(0, (width - 6) / CharWidth)), chars = Array.from(text);
  if (chars.length <= room) return text;
  return chars.slice(0, Math.max(0, room - 1)).join('') + '\u2026';
}

// Each branch below the mailbox has a hue of its own; deeper levels are lighter.
function hsl(hue, depth) { return 'hsl(' + hue + ',55%,' + Math.min(88, 42 + 9 * (depth - 1)) + '%)'; }

function sizeTitle(bytes) { return sizeText(bytes, true) + ' (' + sizeText(bytes, false) + ' ' + texts.bytes + ')'; }

// Text as SVG markup takes it.
function markup(text) {
  return String(text).replace(/[&<>"]/g, function (c) {
    return c === '&' ? '&amp;' : c === '<' ? '&lt;' : c === '>' ? '&gt;' : '&quot;';
  });
}

// The layout is made twice: once to learn every rectangle's area, and once
// to draw the largest of them. The picture is written as markup and parsed
// once, which is quicker than making its thousands of elements one by one.
function drawTreemap(box, place) {
  var whole = {x: 0, y: 0, width: TreemapWidth, height: TreemapHeight};
  var measuring = true, areas = [], threshold = 0, atThreshold = 0, parts = [];

  // Whether a rectangle of this area is drawn (or, while measuring, laid out further).
  function take(area) {
    if (area < MinimumArea) return false;
    if (measuring) { areas.push(area); return true; }
    if (area > threshold) return true;
    if (area < threshold || atThreshold === 0) return false;
    --atThreshold;
    return true;
  }
  function children(id, area, hue) {
    var items = box.children[id].filter(function (child) { return box.cumulative[child] > 0; })
        .map(function (child) { return {node: child, own: false, bytes: box.cumulative[child]}; });
    if (!items.length) return;
    if (id !== 0 && box.own[id] > 0) items.push({node: id, own: true, bytes: box.own[id]});
    var rects = squarify(items.map(function (item) { return item.bytes; }), area), branch = 0;
    // The first two levels get hues of their own: a mailbox often has one root that holds everything.
    items.forEach(function (item, k) {
      var r = rects[k];
      if (!take(r.width * r.height)) return;
      var childHue = box.depth[id] < 2 ? (hue + 67 * branch++ + (id === 0 ? 0 : 31)) % 360 : hue;
      if (item.own) ownPart(id, r, childHue); else node(item.node, id, r, childHue);
    });
  }
  function node(id, group, r, hue) {
    var roomForChildren = r.width > 4 * Padding + 8 && r.height > LabelHeight + 2 * Padding + 8;
    var hasChildren = box.children[id].length > 0 && box.depth[id] < MaxDepth && roomForChildren;
    if (!measuring) {
      var name = box.nodeNames[id];
      rectangle(r, id, group, box.cumulative[id], hsl(hue, box.depth[id]), false,
                name + ' \u2014 ' + sizeTitle(box.cumulative[id]));
      label(r, name, hasChildren);
    }
    if (hasChildren)
      children(id, {x: r.x + Padding, y: r.y + LabelHeight, width: r.width - 2 * Padding,
                    height: r.height - LabelHeight - Padding}, hue);
  }
  function ownPart(id, r, hue) {
    if (measuring) return;
    var name = fill(texts.ownFiles, [box.nodeNames[id]]);
    rectangle(r, id, id, box.own[id], hsl(hue, box.depth[id] + 1), true, name + ' \u2014 ' + sizeTitle(box.own[id]));
    label(r, name, false);
  }
  function rectangle(r, id, group, bytes, color, own, title) {
    parts.push('<rect x="' + number(r.x) + '" y="' + number(r.y) + '" width="' + number(r.width) + '" height="' +
               number(r.height) + '" fill="' + color + '" data-node="' + id + '" data-group="' + group +
               '" data-bytes="' + bytes + '"' + (own ? ' data-own="1"' : '') + '><title>' + markup(title) +
               '</title></rect>');
  }
  function label(r, name, strip) {
    if (r.width < MinimumLabelled || r.height < LabelHeight - 2) return;
    var baseline = r.y + (strip ? LabelHeight - 4 : Math.min(r.height - 3, LabelHeight - 3));
    parts.push('<text x="' + number(r.x + 3) + '" y="' + number(baseline) + '">' + markup(fit(name, r.width)) +
               '</text>');
  }

  children(0, whole, 200);
  // Draws the MostShapes largest; among equal ones at the threshold, those
  // met first. A child is smaller than its parent, so none is drawn without
  // the one around it.
  if (areas.length > MostShapes) {
    var sorted = areas.slice().sort(function (a, b) { return b - a; });
    threshold = sorted[MostShapes - 1];
    atThreshold = MostShapes - sorted.filter(function (a) { return a > threshold; }).length;
  }
  measuring = false;
  children(0, whole, 200);
  place.innerHTML = '<svg class="treemap" width="' + TreemapWidth + '" height="' + TreemapHeight + '" viewBox="0 0 ' +
                    TreemapWidth + ' ' + TreemapHeight + '" data-bytes="' + box.cumulative[0] + '">' + parts.join('') +
                    '</svg>';
}
