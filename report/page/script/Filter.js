// The filter: mailboxes by any part of their name, and folders by any part
// of their file name or shown name. Its index is made at the first query,
// once: a text of each mailbox's rows in lower case, searched as one. Only
// what changes is touched: the overview's rows and the sections whose
// state differs, and of the sections it opens only those in view are drawn.
var index = null;

function buildIndex() {
  index = {names: data.names.map(function (name) { return name.toLowerCase(); }), rows: []};
  for (var m = 0; m < data.names.length; m++) {
    var box = mailboxData(m);
    if (!box) continue;
    var parts = new Array(box.count), starts = new Int32Array(box.count), at = 0;
    for (var r = 0; r < box.count; r++) {
      parts[r] = (box.names[r] + '\t' + box.folders[r]).toLowerCase();
      starts[r] = at;
      at += parts[r].length + 1;
    }
    index.rows[m] = {text: parts.join('\n'), starts: starts};
  }
}

// The rows of a mailbox whose texts hold query: flags by row, and their
// number; a query holds neither a tab nor a line's end, so no match spans two texts.
function search(entry, query) {
  var text = entry.text, starts = entry.starts, found = null, count = 0, r = 0;
  for (var at = text.indexOf(query); at >= 0;) {
    while (r + 1 < starts.length && starts[r + 1] <= at) r++;
    if (!found) found = new Uint8Array(starts.length);
    found[r] = 1;
    count++;
    if (r + 1 >= starts.length) break;
    at = text.indexOf(query, starts[r + 1]);
  }
  return {found: found, count: count};
}

// What the filter found of each mailbox: by its name, and its rows.
var filtered = null;

function runFilter(query) {
  if (query && !index) buildIndex();
  var results = [], boxes = 0, rows = 0;
  for (var m = 0; m < data.names.length; m++) {
    var result = {byName: false, found: null, count: 0};
    if (query) {
      result.byName = index.names[m].indexOf(query) >= 0;
      if (index.rows[m] && data.top.length === 0) {
        var hits = search(index.rows[m], query);
        result.found = hits.found || new Uint8Array(0);
        result.count = hits.count;
      }
    }
    boxes += result.byName ? 1 : 0;
    rows += result.count;
    results.push(result);
  }
  filtered = query ? results : null;
  return {boxes: boxes, rows: rows};
}

// The rows a mailbox's table shows while filtering: all of a mailbox found
// by name, else those found.
function foundRows(m) {
  if (!filtered || filtered[m].byName) return null;
  return filtered[m].found;
}
