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
.generated, .recorded { color: #444; }
.note { color: #7a4a00; }
.gbar { display: inline-block; position: relative; width: 8em; height: .7em; background: #eee;
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
    var rows = data.top, stride = data.growth ? 7 : 6;
    return {
      count: rows.length / stride,
      cells: function (i) {
        var at = i * stride, cells = [data.mailboxes[rows[at]].path, rows[at + 1], rows[at + 2], share(rows[at + 3])];
        if (data.growth) cells.push(rows[at + 6]);
        cells.push(paths[rows[at + 4]] + rows[at + 5]);
        return cells;
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

  var tables = [], charts = [];
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

  // The filter hides every overview row and section without a match, opens
  // the others and draws their rows at once, and brings the first into
  // view; cleared, it gives the page back as it was.
  var input = document.getElementById('filter'), count = document.getElementById('filter-count');
  var sections = Array.prototype.slice.call(document.querySelectorAll('.mailbox'));
  var overviewRows = Array.prototype.slice.call(document.querySelectorAll('#overview tbody tr'));
  var folderTables = tables.filter(function (table) { return table.section; }).length;
  var before = null;
  input.addEventListener('input', function () {
    var query = input.value.trim().toLowerCase(), matches = 0, found = {}, first = null;
    if (query && !before) before = sections.map(function (section) { return section.open; });
    tables.forEach(function (table) {
      var n = table.filter(query);
      matches += n;
      if (table.section) found[table.section.getAttribute('data-mailbox')] = n > 0;
      if (query && table.section) table.section.open = n > 0;
      if (query && n > 0) {
        table.render();
        if (!first) first = table.element.tBodies[0].rows[0];
      } else {
        table.update();
      }
    });
    var hiding = query && folderTables > 0;
    sections.forEach(function (section, i) {
      section.hidden = hiding && !found[section.getAttribute('data-mailbox')];
      if (!query && before) section.open = before[i];
    });
    overviewRows.forEach(function (row) { row.hidden = hiding && !found[row.getAttribute('data-mailbox')]; });
    if (!query) before = null;
    count.textContent = query ? fill(matches === 1 ? texts.match : texts.matches, [matches]) : '';
    // The charts of the sections just opened first, which would move the row.
    charts.forEach(function (chart) { chart(); });
    if (first) first.scrollIntoView({block: 'center'});
  });

  // Sizes and times as the report writes them: the panel's compact sizes,
  // exact ones grouped, dates in the page's language.
  var units = [[40, ' TB'], [30, ' GB'], [20, ' MB'], [10, ' kB']];
  function sizeText(bytes) {
    for (var u = 0; u < units.length; u++) {
      var unit = Math.pow(2, units[u][0]);
      if (bytes < unit) continue;
      var tenths = Math.floor((Math.floor(bytes * 100 / unit) + 5) / 10);
      return Math.floor(tenths / 10) + data.decimal + (tenths % 10) + units[u][1];
    }
    return bytes + (bytes === 1 ? ' Byte' : ' Bytes');
  }
  function exactText(bytes) {
    return String(bytes).replace(/\B(?=(\d{3})+(?!\d))/g, data.decimal === ',' ? '.' : ',');
  }
  // An axis's sizes in the largest unit its span reaches, so that ticks
  // close together read apart: "4.996,2 MB".
  function axisText(total, span) {
    for (var u = 0; u < units.length; u++) {
      var unit = Math.pow(2, units[u][0]);
      if (span < unit) continue;
      var parts = (total / unit).toFixed(1).split('.');
      return exactText(parts[0]) + data.decimal + parts[1] + units[u][1];
    }
    return exactText(total) + ' Bytes';
  }
  function two(n) { return (n < 10 ? '0' : '') + n; }
  function dateText(seconds) {
    var d = new Date(seconds * 1000);
    return data.lang === 'de' ? two(d.getDate()) + '.' + two(d.getMonth() + 1) + '.' + d.getFullYear()
                              : d.getFullYear() + '-' + two(d.getMonth() + 1) + '-' + two(d.getDate());
  }
  function timeText(seconds) { var d = new Date(seconds * 1000); return two(d.getHours()) + ':' + two(d.getMinutes()); }

  // A mailbox's total over the runs: [{when, total}], oldest first.
  function points(mailbox) {
    var series = mailbox.series, out = [];
    for (var i = 0; i < series.length; i += 2) out.push({when: data.runs[series[i]], total: series[i + 1]});
    return out;
  }
  // SVG's namespace, as the page's parser gives it: the page names no address.
  var holder = document.createElement('div');
  holder.innerHTML = '<svg></svg>';
  var SVG = holder.firstChild.namespaceURI;
  function shape(name, attributes, parent) {
    var made = document.createElementNS(SVG, name);
    for (var key in attributes) made.setAttribute(key, attributes[key]);
    if (parent) parent.appendChild(made);
    return made;
  }
  // Maps times and totals into a box; a line of one value lies in its middle.
  function scales(line, box) {
    var t0 = line[0].when, t1 = line[line.length - 1].when, low = Infinity, high = -Infinity;
    line.forEach(function (p) { low = Math.min(low, p.total); high = Math.max(high, p.total); });
    if (high === low) { high += Math.max(1, high * 0.05); low = Math.max(0, low - (high - low)); }
    return {
      low: low, high: high,
      x: function (when) { return t1 === t0 ? box.x + box.width / 2 : box.x + (when - t0) / (t1 - t0) * box.width; },
      y: function (total) { return box.y + box.height - (total - low) / (high - low) * box.height; }
    };
  }
  function polyline(line, scale, svg) {
    shape('polyline', {points: line.map(function (p) {
      return scale.x(p.when).toFixed(1) + ',' + scale.y(p.total).toFixed(1);
    }).join(' ')}, svg);
  }

  // A line of no more points than it has pixels.
  function drawSpark(cell) {
    var line = points(data.mailboxes[Number(cell.getAttribute('data-mailbox'))]), step = line.length / 116;
    if (!line.length) return;
    if (step > 1) line = line.filter(function (p, i) { return i === line.length - 1 || i % Math.ceil(step) === 0; });
    var svg = shape('svg', {'class': 'history-spark', width: 120, height: 22, viewBox: '0 0 120 22'}, cell);
    polyline(line, scales(line, {x: 2, y: 2, width: 116, height: 18}), svg);
    shape('title', {}, svg).textContent = sizeText(line[0].total) + ' \u2192 ' + sizeText(line[line.length - 1].total);
  }
  Array.prototype.forEach.call(document.querySelectorAll('td.spark'), drawSpark);

  // Sizes on the left, dates below, a point for each run with its value on hover.
  function drawChart(place) {
    var line = points(data.mailboxes[Number(place.getAttribute('data-mailbox'))]);
    var width = 660, height = 220, box = {x: 96, y: 10, width: 520, height: 170};
    var svg = shape('svg', {'class': 'history-chart', width: width, height: height,
                            viewBox: '0 0 ' + width + ' ' + height}, place);
    var scale = scales(line, box), ticks = 4, k;
    for (k = 0; k <= ticks; k++) {
      var total = Math.round(scale.low + (scale.high - scale.low) * k / ticks), y = scale.y(total);
      shape('line', {x1: box.x, x2: box.x + box.width, y1: y, y2: y}, svg);
      shape('text', {x: box.x - 6, y: y + 4, 'text-anchor': 'end'}, svg).textContent =
          axisText(total, scale.high - scale.low);
    }
    // A date under each point where they fit, else under six of them.
    var labels = line.length <= 8 ? line.length : 6;
    for (k = 0; k < labels; k++) {
      var p = line[labels === 1 ? 0 : Math.round(k * (line.length - 1) / (labels - 1))];
      shape('text', {x: scale.x(p.when), y: box.y + box.height + 18, 'text-anchor': 'middle'}, svg).textContent =
          dateText(p.when);
    }
    polyline(line, scale, svg);
    line.forEach(function (p) {
      var dot = shape('circle', {cx: scale.x(p.when).toFixed(1), cy: scale.y(p.total).toFixed(1), r: 3}, svg);
      shape('title', {}, dot).textContent = dateText(p.when) + ' ' + timeText(p.when) + ': ' + sizeText(p.total) +
          ' (' + exactText(p.total) + (data.lang === 'de' ? ' Bytes)' : ' bytes)');
    });
  }
  // Drawn when its section first opens.
  Array.prototype.forEach.call(document.querySelectorAll('div.history'), function (place) {
    var section = place.closest('details');
    function draw() { if (section.open && !place.firstChild) drawChart(place); }
    section.addEventListener('toggle', draw);
    charts.push(draw);
    draw();
  });

  function open(id) {
    var target = document.getElementById(id);
    if (target && target.tagName === 'DETAILS') target.open = true;
  }
  Array.prototype.forEach.call(document.querySelectorAll('#overview a, #growth-top a'), function (link) {
    link.addEventListener('click', function () { open(link.getAttribute('href').slice(1)); });
  });
  window.addEventListener('hashchange', function () { open(location.hash.slice(1)); });
  if (location.hash) open(location.hash.slice(1));
})();
)";
}

}  // namespace HtmlAssets
