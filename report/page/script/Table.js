// A table drawn in windows of rows from a source: its count, the cells of a
// row, its order by a column and the rows the filter found. Sorting reads
// the order off the source; only the rows in the window are made.
function Table(element, source) {
  var table = this;
  this.element = element;
  this.source = source;
  this.heads = Array.prototype.slice.call(element.tHead.rows[0].cells);
  this.numeric = [];
  this.heads.forEach(function (cell) {
    for (var k = 0; k < cell.colSpan; k++) table.numeric.push(cell.classList.contains('number'));
  });
  this.order = source.order(data.sort, data.descending);
  this.found = null;
  this.shown = this.order;
  this.limit = Window;
  this.dirty = true;
  this.visible = !tableObserver;
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
  element.setAttribute('data-table', String(tables.length));
  tables.push(this);
  if (tableObserver) tableObserver.observe(element);
}

Table.prototype.sort = function (column, descending) {
  this.order = this.source.order(column, descending);
  this.column = column;
  this.descending = descending;
  this.heads.forEach(function (cell) {
    if (!cell.hasAttribute('data-column')) return;
    var own = Number(cell.getAttribute('data-column')) === column;
    cell.setAttribute('aria-sort', own ? (descending ? 'descending' : 'ascending') : 'none');
  });
  this.filter(this.found);
  this.update();
};

// Shows the rows marked in found (an array of flags by row), or all for
// null; their number.
Table.prototype.filter = function (found) {
  this.found = found;
  this.limit = Window;
  this.shown = found ? this.order.filter(function (r) { return found[r]; }) : this.order;
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
    var cells = this.source.cells(this.shown[k]), row = body.insertRow(-1);
    for (var c = 0; c < cells.length; c++) {
      var cell = row.insertCell(-1), text = cells[c];
      if (this.numeric[c]) cell.className = 'number';
      if (text && typeof text === 'object') {
        cell.textContent = text.shown;
        cell.title = text.whole;
      } else {
        cell.textContent = text;
      }
    }
  }
  this.element.replaceChild(body, this.element.tBodies[0]);
  var rest = this.shown.length - n;
  this.status.textContent = fill(texts.shown, [n, this.shown.length]);
  this.more.textContent = fill(texts.more, [Math.min(Window, rest)]);
  this.more.hidden = this.all.hidden = rest <= 0;
};

// A long name as a cell shows it: shortened, whole on hover.
function nameCell(text, most) {
  var shown = shortened(text, most);
  return shown === text ? text : {shown: shown, whole: text};
}

// A table is drawn when it comes near the view: a closed section's is not.
var tables = [];
var tableObserver = 'IntersectionObserver' in window ? new IntersectionObserver(function (entries) {
  entries.forEach(function (entry) {
    var table = tables[Number(entry.target.getAttribute('data-table'))];
    table.visible = entry.isIntersecting;
    if (table.visible && table.dirty) table.render();
  });
}, {rootMargin: '800px 0px'}) : null;

// A mailbox's folder rows: file name, size, share, growth, folder.
function folderSource(box) {
  return {
    order: function (column, descending) { return sortedRows(box, column, descending); },
    cells: function (r) {
      var cells = [box.names[r], sizeText(box.sizes[r]), share(permille(box.sizes[r], box.total))];
      if (data.growth) cells.push(growthText(box, r));
      cells.push(nameCell(box.folders[r], 80));
      return cells;
    }
  };
}

// The largest folders of all (--top), in the report's order.
function topSource() {
  var rows = data.top, stride = data.growth ? 6 : 5, count = rows.length / stride, order = [];
  for (var i = 0; i < count; i++) order.push(i);
  return {
    count: count,
    order: function () { return order; },
    cells: function (i) {
      var at = i * stride, cells = [nameCell(data.names[rows[at]]), rows[at + 1], rows[at + 2], share(rows[at + 3])];
      if (data.growth) cells.push(rows[at + 5]);
      cells.push(nameCell(rows[at + 4], 80));
      return cells;
    },
    texts: function (i) { var at = i * stride; return rows[at + 1] + '\t' + rows[at + 4]; }
  };
}

// A mailbox's tree (--tree): each node indented by its depth, its own and
// its cumulative size and its files, in the order of the rows; the nodes
// smaller than --min-size left out.
function treeSource(box) {
  var nodes = [], files = {}, i;
  sortedRows(box, data.sort, data.descending, true).forEach(function (r) {
    (files[box.nodes[r]] = files[box.nodes[r]] || []).push(box.names[r]);
  });
  for (i = 1; i < box.parent.length; i++) if (box.cumulative[i] >= Number(minSize)) nodes.push(i);
  return {
    order: function () { return nodes; },
    cells: function (i) {
      return ['  '.repeat(Math.min(box.depth[i] - 1, 40)) + box.nodeNames[i], sizeText(box.own[i]),
              sizeText(box.cumulative[i]), (files[i] || []).join(', ')];
    }
  };
}
