// The filter: mailboxes by any part of their name, and folders by any part
// of their file name or shown name. Its index is made at the first query,
// once: a text of each mailbox's rows in lower case, searched as one. Only
// what changes is touched: the overview's rows and the sections whose
// state differs, and of the sections it opens only those in view are drawn.
var index = {names: data.names.map(function (name) { return name.toLowerCase(); }), rows: [], next: 0};

// A mailbox's rows as one text in lower case, a line each, and where each
// line starts; the lines are lowered one by one only where lowering the
// whole changes a length.
function indexMailbox(m) {
  var block = document.getElementById('data-' + m);
  if (!block) return;
  var box = mailboxes[m] || rowTexts(JSON.parse(block.textContent)), n = box.count, lines = new Array(n), r;
  for (r = 0; r < n; r++) lines[r] = box.names[r] + '\t' + box.folders[r];
  var text = lines.join('\n'), lower = text.toLowerCase(), starts = new Int32Array(n), at = 0;
  if (lower.length !== text.length) {
    lines = lines.map(function (line) { return line.toLowerCase(); });
    lower = lines.join('\n');
  }
  for (r = 0; r < n; r++) {
    starts[r] = at;
    at += lines[r].length + 1;
  }
  index.rows[m] = {text: lower, starts: starts};
}

// Made a little at a time while the page is idle, from when the filter box
// is first entered; a query before it is whole completes it at once.
function buildIndex(deadline) {
  while (index.next < data.names.length && (!deadline || deadline.timeRemaining() > 1)) indexMailbox(index.next++);
  if (deadline && index.next < data.names.length) requestIdleCallback(buildIndex);
}
document.getElementById('filter').addEventListener('focus', function () {
  if (index.next === 0 && 'requestIdleCallback' in window) requestIdleCallback(buildIndex);
}, {once: true});

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

// What the filter found of each mailbox: by its name, and its rows; with
// --top, where the sections list no rows, the top list's rows alone.
var filtered = null, folderTables = document.getElementById('rows') !== null;

function runFilter(query) {
  if (query) buildIndex();
  var results = [], boxes = 0, rows = 0;
  for (var m = 0; m < data.names.length; m++) {
    var result = {byName: false, found: null, count: 0};
    if (query) {
      result.byName = index.names[m].indexOf(query) >= 0;
      if (index.rows[m] && folderTables) {
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
