// The page: the overview's rows and the sections that come later put in
// place while it is idle, sections drawn when they open, lines drawn when
// they come into view, the filter box, and links that open the section
// they lead to.
var sectionOf = {}, overviewRows = {};
var filtering = false;

function near(element) {
  var box = element.getBoundingClientRect();
  return box.bottom > -800 && box.top < window.innerHeight + 800;
}

// A section's chart, treemap, rows and tree, made once; its pictures at
// once where a person opened it, else (the filter) when they come into view.
function build(section, now) {
  if (section.built) return;
  section.built = true;
  var m = Number(section.getAttribute('data-mailbox')), box = mailboxData(m);
  var chart = section.querySelector('div.history'), map = section.querySelector('div.treemap');
  if (chart) later(chart, function () { drawChart(chart); }, now);
  if (map && box) later(map, function () { drawTreemap(box, map); }, now);
  var rows = section.querySelector('div.rows'), folders = null, tree = null;
  if (rows) {
    rows.appendChild(document.getElementById('rows').content.cloneNode(true));
    folders = rows.querySelector('table.folders');
    tree = rows.querySelector('table.tree');
  }
  if (folders) {
    section.table = new Table(folders, folderSource(box));
    section.table.filter(foundRows(m));
    section.table.render();
  }
  if (tree) new Table(tree, treeSource(box)).render();
}

// A section's pictures are drawn once their place comes into view, when the
// page has a moment: the rows the filter found come first.
var pictureObserver = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
  entries.forEach(function (entry) {
    if (!entry.isIntersecting) return;
    pictureObserver.unobserve(entry.target);
    whenIdle(entry.target.draw);
  });
}, {rootMargin: '200px 0px'}) : null;
function later(place, draw, now) {
  if (!pictureObserver || now) return draw();
  place.draw = draw;
  pictureObserver.observe(place);
}
function whenIdle(work) {
  if ('requestIdleCallback' in window) requestIdleCallback(work, {timeout: 100}); else setTimeout(work, 0);
}

var sectionObserver = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
  entries.forEach(function (entry) { if (entry.isIntersecting && entry.target.open) build(entry.target); });
}, {rootMargin: '800px 0px'}) : null;
var sparkObserver = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
  entries.forEach(function (entry) {
    if (!entry.isIntersecting) return;
    sparkObserver.unobserve(entry.target);
    drawSpark(entry.target);
  });
}, {rootMargin: '400px 0px'}) : null;

// What the filter shows of a mailbox: its overview row and section, hidden
// without a match, the section opened with one; cleared, as it was before.
function showFiltered(m) {
  var result = filtered ? filtered[m] : null, row = overviewRows[m], section = sectionOf[m];
  var shown = !filtered || !folderTables || result.byName || result.count > 0;
  setHidden(row, !shown);
  if (!section) return;
  setHidden(section, !shown);
  // With --top the sections list no rows: the filter leaves them as they are.
  if (section.tagName !== 'DETAILS' || !folderTables) return;
  var open = filtered ? shown : !!section.wasOpen;
  if (section.open !== open) section.open = open;
  if (section.table) {
    section.table.filter(foundRows(m));
    section.table.update();
  }
}
function setHidden(element, hidden) { if (element && element.hidden !== hidden) element.hidden = hidden; }

function addRow(row) {
  var m = row.getAttribute('data-mailbox');
  overviewRows[m] = row;
  var spark = row.querySelector('td.spark');
  if (spark) { if (sparkObserver) sparkObserver.observe(spark); else drawSpark(spark); }
  if (filtering) showFiltered(Number(m));
}
function addSection(section) {
  var m = section.getAttribute('data-mailbox');
  sectionOf[m] = section;
  if (section.tagName !== 'DETAILS') return;  // a mailbox that could not be read
  if (sectionObserver) sectionObserver.observe(section);
  section.addEventListener('toggle', function () {
    if (section.open && (!sectionObserver || near(section))) build(section, !filtering);
  });
  if (filtering) showFiltered(Number(m)); else if (section.open) build(section);
}
// The overview's rows come in tables of a hundred; one without a row to
// show is hidden whole.
var chunks = [];
function addChunk(chunk) {
  chunks.push(chunk);
  Array.prototype.forEach.call(chunk.querySelectorAll('tbody tr'), addRow);
  if (filtering) showChunk(chunk);
}
function showChunk(chunk) {
  var rows = chunk.querySelector('tbody').rows, any = false;
  for (var k = 0; k < rows.length && !any; k++) any = !rows[k].hidden;
  setHidden(chunk, !any);
}
Array.prototype.forEach.call(document.querySelectorAll('#overview div.chunk'), addChunk);
Array.prototype.forEach.call(document.querySelectorAll('.mailbox'), addSection);

// The blocks of markup that come later, each put in its own place: one at a
// time while the page is idle, or at once up to the one a link or the
// filter needs.
var blocks = Array.prototype.slice.call(document.querySelectorAll('script.later'));
function placeNext() {
  var block = blocks.shift(), range = document.createRange();
  range.selectNode(block);
  var fragment = range.createContextualFragment(block.textContent);
  var added = Array.prototype.slice.call(fragment.children);
  block.parentNode.replaceChild(fragment, block);
  added.forEach(function (node) {
    if (node.classList.contains('chunk')) addChunk(node);
    else if (node.classList.contains('mailbox')) addSection(node);
  });
}
function placeLater(deadline) {
  while (blocks.length && deadline.timeRemaining() > 4) placeNext();
  if (blocks.length) requestIdleCallback(placeLater);
}
function placeAll() { while (blocks.length) placeNext(); }
if (blocks.length) {
  if ('requestIdleCallback' in window) requestIdleCallback(placeLater); else placeAll();
}

var topElement = document.querySelector('#top table.top'), topTable = null, topHaystack = null;
if (topElement) {
  topTable = new Table(topElement, topSource());
  topTable.render();
}

// The filter hides every overview row and section without a match, opens
// the others, draws the first match's rows at once and brings it into view;
// cleared, it gives the page back as it was.
var input = document.getElementById('filter'), count = document.getElementById('filter-count');
input.addEventListener('input', function () {
  var query = input.value.trim().toLowerCase(), m;
  if (!query && !filtering) return;
  if (query && !filtering) for (m in sectionOf) sectionOf[m].wasOpen = sectionOf[m].open;
  var counts = runFilter(query), first = null, firstRow = null;
  filtering = !!query;
  for (m = 0; m < data.names.length; m++) {
    if (overviewRows[m] || sectionOf[m]) showFiltered(m);
    if (!query) continue;
    if (first === null && filtered[m].count > 0) first = m;
    if (firstRow === null && (filtered[m].byName || filtered[m].count > 0)) firstRow = m;
  }
  chunks.forEach(showChunk);
  if (topTable) {
    if (!topHaystack) {
      topHaystack = [];
      for (var i = 0; i < topTable.source.count; i++) topHaystack.push(topTable.source.texts(i).toLowerCase());
    }
    topTable.filter(query ? topHaystack.map(function (text) { return text.indexOf(query) >= 0; }) : null);
    topTable.render();
    counts.rows = query ? topTable.shown.length : 0;
  }
  var said = [];
  if (counts.boxes) said.push(fill(counts.boxes === 1 ? texts.mailboxMatch : texts.mailboxMatches, [counts.boxes]));
  if (query) said.push(fill(counts.rows === 1 ? texts.match : texts.matches, [counts.rows]));
  count.textContent = said.join(', ');
  if (first !== null) {
    while (!sectionOf[first] && blocks.length) placeNext();
    var section = sectionOf[first];
    build(section);
    section.table.render();
    var row = section.table.element.tBodies[0].rows[0];
    if (row) row.scrollIntoView({block: 'center'});
  } else if (firstRow !== null) {
    while (!overviewRows[firstRow] && blocks.length) placeNext();
    if (overviewRows[firstRow]) overviewRows[firstRow].scrollIntoView({block: 'center'});
  }
});

// A link to a section that is still to come puts everything in place first,
// so that the browser finds where it leads.
function open(id) {
  var target = document.getElementById(id);
  if (!target && blocks.length) {
    placeAll();
    target = document.getElementById(id);
    if (target) target.scrollIntoView();
  }
  if (target && target.tagName === 'DETAILS') {
    target.open = true;
    build(target, true);
  }
}
document.addEventListener('click', function (event) {
  var link = event.target.closest && event.target.closest('#overview a, #growth-top a');
  if (link) open(link.getAttribute('href').slice(1));
});
window.addEventListener('hashchange', function () { open(location.hash.slice(1)); });
if (location.hash) open(location.hash.slice(1));
