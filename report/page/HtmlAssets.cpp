#include "report/page/HtmlAssets.h"

namespace HtmlAssets {

const char* Style() {
    return R"(
body { font: 14px/1.4 "DejaVu Sans", Verdana, sans-serif; margin: 1.5em; color: #222; }
h1 { font-size: 1.4em; }
h2 { font-size: 1.15em; margin-top: 1.5em; }
h3 { font-size: 1em; }
table { border-collapse: collapse; margin: .5em 0; }
th, td { border: 1px solid #ccc; padding: .15em .6em; text-align: left; white-space: pre; }
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
.bar { display: inline-block; width: 8em; height: .7em; background: #e6e6e6; vertical-align: middle; }
.bar > span { display: block; height: 100%; background: #4a78b0; }
details.mailbox { margin-top: 1em; border-top: 1px solid #ccc; padding-top: .4em; }
details.mailbox > summary { cursor: pointer; }
details.mailbox > summary h2 { display: inline; margin: 0; }
details.mailbox > summary .summary { margin-left: .8em; color: #444; }
svg.treemap { display: block; border: 1px solid #999; }
svg.treemap rect { stroke: #fff; stroke-width: 1; }
svg.treemap text { font: 11px "DejaVu Sans", Verdana, sans-serif; fill: #111; pointer-events: none; }
)";
}

const char* Script() {
    return R"(
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('report-data').textContent);
  var texts = data.texts;
  var Window = 200;

  function fill(pattern, values) {
    var k = 0;
    return pattern.replace(/%[sd]/g, function () { return String(values[k++]); });
  }
  function share(permille) { return Math.floor(permille / 10) + data.decimal + (permille % 10) + data.percent; }

  // Path k is its parent path followed by its tail; parents come first.
  var paths = [''];
  for (var p = 0; p < data.paths.length; p += 2) paths.push(paths[data.paths[p]] + data.paths[p + 1]);

  // A table's rows as the data holds them: their number, the cells of one,
  // the ranks by a column (0 name, 1 size, 2 folder, 3 growth, 4 share) and
  // the two texts the filter searches.
  function folderRows(mailbox) {
    var rows = mailbox.rows, stride = data.growth ? 10 : 8;
    return {
      count: rows.length / stride,
      cells: function (i) {
        var at = i * stride, cells = [rows[at], rows[at + 1], share(rows[at + 2])];
        if (data.growth) cells.push(rows[at + 8]);
        cells.push(paths[rows[at + 3]] + rows[at + 4]);
        return cells;
      },
      rank: function (column) {
        var offset = column === 3 ? 9 : 5 + (column === 4 ? 1 : column), rank = new Array(this.count);
        for (var i = 0; i < this.count; i++) rank[i] = rows[i * stride + offset];
        return rank;
      },
      texts: function (i) { var at = i * stride; return [rows[at], paths[rows[at + 3]] + rows[at + 4]]; }
    };
  }
  function topRows() {
    var rows = data.top, stride = 6;
    return {
      count: rows.length / stride,
      cells: function (i) {
        var at = i * stride;
        return [data.mailboxes[rows[at]].path, rows[at + 1], rows[at + 2], share(rows[at + 3]),
                paths[rows[at + 4]] + rows[at + 5]];
      },
      texts: function (i) { var at = i * stride; return [rows[at + 1], paths[rows[at + 4]] + rows[at + 5]]; }
    };
  }

  function Table(element, rows, section) {
    var table = this;
    this.element = element;
    this.rows = rows;
    this.section = section;
    this.heads = Array.prototype.slice.call(element.tHead.rows[0].cells);
    this.numeric = this.heads.map(function (cell) { return cell.classList.contains('number'); });
    this.order = [];
    for (var i = 0; i < rows.count; i++) this.order.push(i);
    this.shown = this.order;
    this.query = '';
    this.limit = Window;
    this.ranks = {};
    this.dirty = true;
    this.visible = !observer;
    var foot = document.createElement('p');
    foot.className = 'window';
    this.status = foot.appendChild(document.createElement('span'));
    this.more = foot.appendChild(document.createElement('button'));
    this.all = foot.appendChild(document.createElement('button'));
    this.more.type = this.all.type = 'button';
    this.all.textContent = texts.all;
    this.more.addEventListener('click', function () { table.limit += Window; table.render(); });
    this.all.addEventListener('click', function () { table.limit = table.shown.length; table.render(); });
    element.parentNode.insertBefore(foot, element.nextSibling);
    this.heads.forEach(function (cell) {
      if (!cell.hasAttribute('data-column')) return;
      var column = Number(cell.getAttribute('data-column'));
      var state = cell.getAttribute('aria-sort');
      if (state !== 'none') { table.column = column; table.descending = state === 'descending'; }
      function activate() { table.sort(column, column === table.column ? !table.descending : false); }
      cell.addEventListener('click', activate);
      cell.addEventListener('keydown', function (event) {
        if (event.key === 'Enter' || event.key === ' ') { event.preventDefault(); activate(); }
      });
    });
  }

  // Ranks are places, so the order is read off them without comparing.
  Table.prototype.sort = function (column, descending) {
    var rank = this.ranks[column] || (this.ranks[column] = this.rows.rank(column));
    var n = rank.length, order = new Array(n);
    for (var i = 0; i < n; i++) order[descending ? n - 1 - rank[i] : rank[i]] = i;
    this.order = order;
    this.column = column;
    this.descending = descending;
    this.heads.forEach(function (cell) {
      if (!cell.hasAttribute('data-column')) return;
      var own = Number(cell.getAttribute('data-column')) === column;
      cell.setAttribute('aria-sort', own ? (descending ? 'descending' : 'ascending') : 'none');
    });
    this.filter(this.query);
    this.update();
  };

  // The rows whose file name or folder name holds query (in lower case);
  // their number.
  Table.prototype.filter = function (query) {
    this.query = query;
    this.limit = Window;
    if (!query) {
      this.shown = this.order;
      return this.shown.length;
    }
    if (!this.haystack) {
      this.haystack = [];
      for (var i = 0; i < this.rows.count; i++)
        this.haystack.push(this.rows.texts(i).map(function (text) { return text.toLowerCase(); }));
    }
    var haystack = this.haystack;
    this.shown = this.order.filter(function (i) {
      return haystack[i][0].indexOf(query) >= 0 || haystack[i][1].indexOf(query) >= 0;
    });
    return this.shown.length;
  };

  Table.prototype.update = function () {
    this.dirty = true;
    if (this.visible) this.render();
  };

  Table.prototype.render = function () {
    this.dirty = false;
    var body = document.createElement('tbody'), n = Math.min(this.limit, this.shown.length);
    for (var k = 0; k < n; k++) {
      var cells = this.rows.cells(this.shown[k]), row = body.insertRow(-1);
      for (var c = 0; c < cells.length; c++) {
        var cell = row.insertCell(-1);
        if (this.numeric[c]) cell.className = 'number';
        cell.textContent = cells[c];
      }
    }
    this.element.replaceChild(body, this.element.tBodies[0]);
    var rest = this.shown.length - n;
    this.status.textContent = fill(texts.shown, [n, this.shown.length]);
    this.more.textContent = fill(texts.more, [Math.min(Window, rest)]);
    this.more.hidden = this.all.hidden = rest <= 0;
  };

  // A table is drawn when it comes near the view: a closed section's is not.
  var observer = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
    entries.forEach(function (entry) {
      var table = tables[Number(entry.target.getAttribute('data-table'))];
      table.visible = entry.isIntersecting;
      if (table.visible && table.dirty) table.render();
    });
  }, {rootMargin: '800px 0px'}) : null;

  var tables = [];
  function add(element, rows, section) {
    element.setAttribute('data-table', String(tables.length));
    var table = new Table(element, rows, section);
    tables.push(table);
    if (observer) observer.observe(element); else table.render();
  }
  var top = document.querySelector('#top table.top');
  if (top) add(top, topRows(), null);
  Array.prototype.forEach.call(document.querySelectorAll('table.folders'), function (element) {
    var mailbox = data.mailboxes[Number(element.getAttribute('data-mailbox'))];
    add(element, folderRows(mailbox), element.closest('details'));
  });

  var input = document.getElementById('filter'), count = document.getElementById('filter-count');
  input.addEventListener('input', function () {
    var query = input.value.trim().toLowerCase(), matches = 0;
    tables.forEach(function (table) {
      var n = table.filter(query);
      matches += n;
      if (query && table.section) table.section.open = n > 0;
      table.update();
    });
    count.textContent = query ? fill(texts.matches, [matches]) : '';
  });

  function open(id) {
    var target = document.getElementById(id);
    if (target && target.tagName === 'DETAILS') target.open = true;
  }
  Array.prototype.forEach.call(document.querySelectorAll('#overview a'), function (link) {
    link.addEventListener('click', function () { open(link.getAttribute('href').slice(1)); });
  });
  window.addEventListener('hashchange', function () { open(location.hash.slice(1)); });
  if (location.hash) open(location.hash.slice(1));
})();
)";
}

}  // namespace HtmlAssets
