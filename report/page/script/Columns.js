// A mailbox's folders from its own data block (see MailboxData), read when
// they are first needed and kept: names, sizes, shown folder names, the tree
// and the growth, each a column by row in the order of the file names.

// A front-coded list of count texts, or an array of them.
function decodeTexts(coded, count) {
  if (typeof coded !== 'string') return coded;
  var out = new Array(count);
  if (!count) return out;
  var parts = coded.slice(1).split(coded[0]), before = '';
  for (var i = 0; i < count; i++) {
    var part = parts[i], start = parseInt(part[0], 36), end = parseInt(part[1], 36);
    before = out[i] = before.slice(0, start) + part.slice(2) + (end ? before.slice(before.length - end) : '');
  }
  return out;
}

// Code page 1252's characters at 0x80-0x9F, in order.
var HighBytes = '\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F' +
                '\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178';
// A shown name as the panel compares it: its code page 1252 bytes with the
// ASCII letters folded, one character each.
function foldedKey(text) {
  return text.replace(/[A-Z\u0100-\uFFFF]/g, function (c) {
    var code = c.charCodeAt(0);
    return code <= 90 ? String.fromCharCode(code + 32) : String.fromCharCode(0x80 + HighBytes.indexOf(c));
  });
}

var minSize = BigInt(data.minSize);
var mailboxes = [];

function mailboxData(m) {
  if (mailboxes[m]) return mailboxes[m];
  var block = document.getElementById('data-' + m);
  if (!block) return null;
  var raw = JSON.parse(block.textContent), n = raw.sizes.length, r, i;
  var box = mailboxes[m] = rowTexts(raw);
  box.index = m;
  box.total = raw.total;
  box.order = raw.order || null;
  box.sizes = raw.sizes.map(function (size) { return typeof size === 'string' ? BigInt(size) : size; });
  sizesOf(box);
  box.listed = [];
  for (r = 0; r < n; r++) if (box.sizes[r] >= minSize) box.listed.push(r);
  box.compared = !!raw.compared;
  box.changes = new Array(n).fill(0);
  box.added = {};
  if (box.compared) {
    for (r = -1, i = 0; i < raw.changes.length; i += 2) {
      r += raw.changes[i];
      box.changes[r] = typeof raw.changes[i + 1] === 'string' ? BigInt(raw.changes[i + 1]) : raw.changes[i + 1];
    }
    for (r = -1, i = 0; i < raw.added.length; i += 2) {
      r += raw.added[i];
      box.changes[r] = box.sizes[r];
      box.added[r] = raw.added[i + 1] < 0 ? texts.added : fill(texts.addedSince, [raw.dates[raw.added[i + 1]]]);
    }
  }
  return box;
}

// A mailbox's file names and shown folder names, and its tree: all the
// filter needs.
function rowTexts(raw) {
  var n = raw.nodes.length, box = {count: n, nodes: raw.nodes, names: decodeTexts(raw.names, n)}, r;
  treeOf(box, raw.tree);
  box.folders = new Array(n);
  for (r = 0; r < n; r++) box.folders[r] = box.shown[box.nodes[r]];
  var explicit = raw.texts || [];
  for (r = 0; r < explicit.length; r += 2) box.folders[explicit[r]] = explicit[r + 1];
  return box;
}

// The tree from its listing: each node's parent, depth, children in order
// and shown name; node 0 is the mailbox.
function treeOf(box, tree) {
  var up = tree.up;
  if (typeof up === 'number') up = new Array(up).fill(1).fill(0, 0, 1);
  else if (typeof up === 'string') up = Array.from(up, function (digit) { return parseInt(digit, 36); });
  var k = up.length, names = decodeTexts(tree.names, k), i, r, prefixes = tree.prefixes || [];
  var parent = box.parent = new Int32Array(k + 1), depth = box.depth = new Int32Array(k + 1);
  var children = box.children = [[]], path = [0], d = 0;
  box.nodeNames = [''].concat(names);
  parent[0] = -1;
  for (i = 1; i <= k; i++) {
    d = d + 1 - up[i - 1];
    depth[i] = d;
    path.length = d;
    parent[i] = path[d - 1];
    path[d] = i;
    children.push([]);
    children[parent[i]].push(i);
  }
  var told = {};
  for (i = 0; i < prefixes.length; i += 2) told[prefixes[i]] = prefixes[i + 1];
  var prefix = [''], shown = box.shown = [''];
  for (i = 1; i <= k; i++) {
    shown[i] = prefix[parent[i]] + names[i - 1];
    prefix[i] = i in told ? told[i] : shown[i] + '\\';
  }
}

// Each node's own and cumulative size, in numbers: beyond 2^53 bytes a
// tree's sums are near enough.
function sizesOf(box) {
  var k = box.parent.length - 1, i, r;
  var own = box.own = new Float64Array(k + 1);
  for (r = 0; r < box.sizes.length; r++) own[box.nodes[r]] += Number(box.sizes[r]);
  var cumulative = box.cumulative = Float64Array.from(own);
  for (i = k; i > 0; i--) cumulative[box.parent[i]] += cumulative[i];
}

// The listed rows (or all) in the order of a column (0 file name, 1 size, 2 folder,
// 3 growth, 4 share): ties as the panel breaks them, from the left; the
// rows come in the order of the file name column, so that their place
// breaks every tie a column leaves.
function sortedRows(box, column, descending, all) {
  var rows = all ? Array.from({length: box.count}, function (_, r) { return r; }) : box.listed.slice();
  if (column === 1 || column === 4) {
    var sizes = box.sizes;
    rows.sort(function (a, b) { return compare(sizes[a], sizes[b]) || a - b; });
  } else if (column === 2 || column === 3) {
    var rank = folderRanks(box);
    rows.sort(function (a, b) { return rank[a] - rank[b]; });
    if (column === 3) {
      var changes = box.changes, place = new Int32Array(box.count);
      rows.forEach(function (r, k) { place[r] = k; });
      rows.sort(function (a, b) { return compare(changes[a], changes[b]) || place[a] - place[b]; });
    }
  }
  if (descending) rows.reverse();
  return rows;
}

// Each row's place among all by the folder column, ties by file name.
function folderRanks(box) {
  if (box.folderRank) return box.folderRank;
  var n = box.count, rank = box.folderRank = new Int32Array(n), rows = new Array(n), r;
  for (r = 0; r < n; r++) rows[r] = r;
  if (box.order) {
    for (r = 0; r < n; r++) rank[r] = box.order[r];
    return rank;
  }
  var keys = new Map(), key = new Array(n);
  for (r = 0; r < n; r++) {
    var text = box.folders[r];
    if (!keys.has(text)) keys.set(text, foldedKey(text));
    key[r] = keys.get(text);
  }
  rows.sort(function (a, b) { return compare(key[a], key[b]) || a - b; });
  for (r = 0; r < n; r++) rank[rows[r]] = r;
  return rank;
}

function growthText(box, r) {
  if (!box.compared) return '';
  if (r in box.added) return box.added[r];
  return box.changes[r] ? changeText(box.changes[r]) : '';
}
