// The page's data, and sizes, shares and times written as the report writes
// them: the panel's compact sizes or exact ones grouped, in the page's
// language; times as the report wrote them, in the local time of its run.
var data = JSON.parse(document.getElementById('report-data').textContent);
var texts = data.texts;
var german = data.lang === 'de';
var Window = 200;

function fill(pattern, values) {
  var k = 0;
  return pattern.replace(/%[sd]/g, function () { return String(values[k++]); });
}

function share(permille) { return Math.floor(permille / 10) + data.decimal + (permille % 10) + data.percent; }

// A part of a whole in tenths of a percent, halves rounded up, exactly as the
// report finds it.
var MostWhole = 18446744073709551615n / 2000n;
function permille(part, whole) {
  // In numbers while part * 2000 + whole stays exact in them, as it does for
  // any mailbox below 4 TB.
  if (typeof part === 'number' && typeof whole === 'number' && whole < 4e12) {
    if (whole === 0) return 0;
    return Math.floor((Math.min(part, whole) * 2000 + whole) / (2 * whole));
  }
  var p = BigInt(part), w = BigInt(whole);
  if (w === 0n) return 0;
  if (p > w) p = w;
  while (w > MostWhole) { p >>= 1n; w >>= 1n; }
  return Number((p * 2000n + w) / (2n * w));
}

// Sizes come as numbers, or as strings beyond a number's exact range.
function grouped(value, separator) { return String(value).replace(/\B(?=(\d{3})+(?!\d))/g, separator); }
var units = [[40n, ' TB'], [30n, ' GB'], [20n, ' MB'], [10n, ' kB']];
function sizeText(bytes, compact) {
  if (compact === undefined) compact = data.compact;
  var separator = compact === german ? ',' : '.';
  if (typeof bytes === 'number' && bytes <= Number.MAX_SAFE_INTEGER) return sizeInNumbers(bytes, compact, separator);
  var b = BigInt(bytes);
  if (!compact) return grouped(b, separator);
  for (var u = 0; u < units.length; u++) {
    var shift = units[u][0];
    if ((b >> shift) === 0n) continue;
    var tenths = (100n * (b >> shift) + ((100n * (b & ((1n << shift) - 1n))) >> shift) + 5n) / 10n;
    return (tenths / 10n) + separator + (tenths % 10n) + units[u][1];
  }
  return b + (b === 1n ? ' Byte' : ' Bytes');
}
// The same in numbers, which hold every step of it exactly below 2^53.
var unitNumbers = [[40, ' TB'], [30, ' GB'], [20, ' MB'], [10, ' kB']];
function sizeInNumbers(bytes, compact, separator) {
  if (!compact) return grouped(bytes, separator);
  for (var u = 0; u < unitNumbers.length; u++) {
    var unit = Math.pow(2, unitNumbers[u][0]), whole = Math.floor(bytes / unit);
    if (whole === 0) continue;
    var tenths = Math.floor((100 * whole + Math.floor(100 * (bytes - whole * unit) / unit) + 5) / 10);
    return Math.floor(tenths / 10) + separator + (tenths % 10) + unitNumbers[u][1];
  }
  return bytes + (bytes === 1 ? ' Byte' : ' Bytes');
}
function exactText(bytes) { return sizeText(bytes, false); }
function changeText(change) { return change < 0 ? '-' + sizeText(-BigInt(change)) : '+' + sizeText(change); }
function compare(a, b) { return a < b ? -1 : (a > b ? 1 : 0); }

// An axis's sizes in the largest unit its span reaches, so that ticks close
// together read apart: "4.996,2 MB".
function axisText(total, span) {
  var thousands = data.decimal === ',' ? '.' : ',';
  for (var u = 0; u < units.length; u++) {
    var unit = Math.pow(2, Number(units[u][0]));
    if (span < unit) continue;
    var parts = (total / unit).toFixed(1).split('.');
    return grouped(parts[0], thousands) + data.decimal + parts[1] + units[u][1];
  }
  return grouped(total, thousands) + ' Bytes';
}

// A run's time and date, as the report wrote them.
function runText(run) { return data.runTexts[run]; }
function runDate(run) { return data.runTexts[run].slice(0, 10); }

// A long text with its middle left out, as the report shortens names.
var MostShown = 34;
function shortened(text, most) {
  var chars = Array.from(text);
  most = most || MostShown;
  if (chars.length <= most) return text;
  var head = Math.floor((most - 1) / 2), tail = most - 1 - head;
  return chars.slice(0, head).join('') + '\u2026' + chars.slice(chars.length - tail).join('');
}
