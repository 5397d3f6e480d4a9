// Lines of a mailbox's total over the runs: a small one in its overview row
// when it comes into view, a chart with a point per run in its section.

// [{run, when, total}], oldest first, from the steps the data holds.
function points(m) {
  var series = data.series[m] || [], out = [], run = 0, total = 0;
  for (var i = 0; i < series.length; i += 2) {
    run += series[i];
    total += series[i + 1];
    out.push({run: run, when: data.runs[run], total: total});
  }
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
  var line = points(Number(cell.closest('tr').getAttribute('data-mailbox'))), step = line.length / 116;
  if (!line.length) return;
  if (step > 1) line = line.filter(function (p, i) { return i === line.length - 1 || i % Math.ceil(step) === 0; });
  var svg = shape('svg', {'class': 'history-spark', width: 120, height: 22, viewBox: '0 0 120 22'}, cell);
  polyline(line, scales(line, {x: 2, y: 2, width: 116, height: 18}), svg);
  shape('title', {}, svg).textContent = sizeText(line[0].total, true) + ' \u2192 ' +
      sizeText(line[line.length - 1].total, true);
}

// Sizes on the left, dates below, a point for each run with its value on hover.
function drawChart(place) {
  var line = points(Number(place.closest('details').getAttribute('data-mailbox')));
  if (!line.length) return;
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
        runDate(p.run);
  }
  polyline(line, scale, svg);
  line.forEach(function (p) {
    var dot = shape('circle', {cx: scale.x(p.when).toFixed(1), cy: scale.y(p.total).toFixed(1), r: 3}, svg);
    shape('title', {}, dot).textContent = runText(p.run) + ': ' + sizeText(p.total, true) +
        ' (' + exactText(p.total) + ' ' + texts.bytes + ')';
  });
}
