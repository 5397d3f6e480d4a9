// The page: sections drawn when they open, lines drawn when they come into
// view, the filter box, and links that open the section they lead to.
var sections = Array.prototype.slice.call(document.querySelectorAll('details.mailbox'));
var sectionOf = {};
sections.forEach(function (section, place) {
  sectionOf[section.getAttribute('data-mailbox')] = section;
  section.place = place;
});

function near(element) {
  var box = element.getBoundingClientRect();
  return box.bottom > -800 && box.top < window.innerHeight + 800;
}

// A section's chart, treemap, rows and tree, made once.
function build(section) {
  if (section.built) return;
  section.built = true;
  var m = Number(section.getAttribute('data-mailbox')), box = mailboxData(m);
  var chart = section.querySelector('div.history'), map = section.querySelector('div.treemap');
  if (chart) later(chart, function () { drawChart(chart); });
  if (map && box) later(map, function () { drawTreemap(box, map); });
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
    if ('requestIdleCallback' in window) requestIdleCallback(entry.target.draw, {timeout: 100});
    else entry.target.draw();
  });
}, {rootMargin: '200px 0px'}) : null;
function later(place, draw) {
  if (!pictureObserver) return draw();
  place.draw = draw;
  pictureObserver.observe(place);
}

var sectionObserver = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
  entries.forEach(function (entry) { if (entry.isIntersecting && entry.target.open) build(entry.target); });
}, {rootMargin: '800px 0px'}) : null;
sections.forEach(function (section) {
  if (sectionObserver) sectionObserver.observe(section);
  section.addEventListener('toggle', function () { if (section.open && (!sectionObserver || near(section))) build(section); });
  if (section.open) build(section);
});

var sparkObserver = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
  entries.forEach(function (entry) {
    if (!entry.isIntersecting) return;
    sparkObserver.unobserve(entry.target);
    drawSpark(entry.target);
  });
}, {rootMargin: '400px 0px'}) : null;
Array.prototype.forEach.call(document.querySelectorAll('td.spark'), function (cell) {
  if (sparkObserver) sparkObserver.observe(cell); else drawSpark(cell);
});

var topElement = document.querySelector('#top table.top'), topTable = null, topHaystack = null;
if (topElement) {
  topTable = new Table(topElement, topSource());
  topTable.render();
}

// The filter hides every overview row and section without a match, opens
// the others, draws the first match's rows at once and brings it into view;
// cleared, it gives the page back as it was.
var input = document.getElementById('filter'), count = document.getElementById('filter-count');
var overviewRows = {};
Array.prototype.forEach.call(document.querySelectorAll('#overview tbody tr'), function (row) {
  overviewRows[row.getAttribute('data-mailbox')] = row;
});
var before = null;
function setHidden(element, hidden) { if (element && element.hidden !== hidden) element.hidden = hidden; }

input.addEventListener('input', function () {
  var query = input.value.trim().toLowerCase();
  if (query && !before) before = sections.map(function (section) { return section.open; });
  var counts = runFilter(query), hiding = query && folderTables, first = null, firstRow = null;
  for (var m = 0; m < data.names.length; m++) {
    var result = filtered ? filtered[m] : null, section = sectionOf[m];
    var shown = !hiding || result.byName || result.count > 0;
    setHidden(overviewRows[m], !shown);
    if (!firstRow && query && shown && overviewRows[m]) firstRow = overviewRows[m];
    if (!section) continue;
    setHidden(section, !shown);
    if (query && section.open !== shown) section.open = shown;
    if (!query && before && section.open !== before[section.place]) section.open = before[section.place];
    if (section.table) {
      section.table.filter(foundRows(m));
      section.table.update();
    }
    if (!first && query && result.count > 0) first = section;
  }
  if (!query) before = null;
  if (topTable) {
    if (!topHaystack) {
      topHaystack = [];
      for (var i = 0; i < topTable.source.count; i++) topHaystack.push(topTable.source.texts(i).toLowerCase());
    }
    topTable.filter(query ? topHaystack.map(function (text) { return text.indexOf(query) >= 0; }) : null);
    topTable.render();
    counts.rows = topTable.shown.length;
    if (!query) counts.rows = 0;
  }
  var said = [];
  if (counts.boxes) said.push(fill(counts.boxes === 1 ? texts.mailboxMatch : texts.mailboxMatches, [counts.boxes]));
  if (query) said.push(fill(counts.rows === 1 ? texts.match : texts.matches, [counts.rows]));
  count.textContent = said.join(', ');
  if (first) {
    build(first);
    first.table.render();
    var row = first.table.element.tBodies[0].rows[0];
    if (row) row.scrollIntoView({block: 'center'});
  } else if (firstRow) {
    firstRow.scrollIntoView({block: 'center'});
  }
});

function open(id) {
  var target = document.getElementById(id);
  if (target && target.tagName === 'DETAILS') {
    target.open = true;
    build(target);
  }
}
Array.prototype.forEach.call(document.querySelectorAll('#overview a, #growth-top a'), function (link) {
  link.addEventListener('click', function () { open(link.getAttribute('href').slice(1)); });
});
window.addEventListener('hashchange', function () { open(location.hash.slice(1)); });
if (location.hash) open(location.hash.slice(1));
