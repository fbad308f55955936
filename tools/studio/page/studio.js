// The studio's page: edits the style in memory and asks the program to redraw the sheet after
// each edit (one request at a time; edits made meanwhile go in the next one). The program
// draws every picture and finds every finding; this page only shows them. Text from route
// files reaches the page only through textContent.
'use strict';

const studio = {
  style: null,        // the style being edited, in the style file's JSON form
  theme: '',          // the theme drawn
  route: null,        // {name, turns: [{index, roads, note}]}
  ladder: [],         // metres per pixel of each scale index
  fields: [],         // [{name, unit: 'px' | 'm'}] of a size row
  turns: [],          // the sheet's rows: turn indices
  indices: [],        // the sheet's columns: scale indices
  savePath: '',
  picture: null,      // {width, height}: the picture check's findings are for
  maxSheetTurns: 64,
  busy: false,        // a sheet request is out
  again: false,       // an edit came while it was out
  last: null,         // the last sheet answer
};

const $ = (id) => document.getElementById(id);

function element(tag, props, children) {
  const node = document.createElement(tag);
  Object.assign(node, props || {});
  for (const child of children || []) node.append(child);
  return node;
}

// ---- the program's answers

async function api(path, body, contentType) {
  const init = body === undefined ? {} : {
    method: 'POST',
    headers: {'Content-Type': contentType || 'application/json'},
    body: contentType ? body : JSON.stringify(body),
  };
  if (contentType === 'application/octet-stream') init.headers['X-File-Name'] = body.name;
  const response = await fetch(path, init);
  const answer = await response.json().catch(() => ({error: 'HTTP ' + response.status}));
  if (!response.ok) throw new Error(answer.error || 'HTTP ' + response.status);
  return answer;
}

// A small square of a 0x00BBGGRR colour (set through the style object: the page's policy
// allows no inline style attributes).
function swatch(color) {
  const node = element('span', {className: 'swatch'});
  node.style.background = toHex(color);
  return node;
}

function showError(error) {
  $('error').textContent = error ? String(error.message || error) : '';
  $('error').hidden = !error;
}

// ---- colours: the style's 0x00BBGGRR and the colour input's #rrggbb

function toHex(bgr) {
  const value = typeof bgr === 'string' ? parseInt(bgr, 16) : bgr;
  const rgb = ((value & 0xff) << 16) | (value & 0xff00) | ((value >> 16) & 0xff);
  return '#' + rgb.toString(16).padStart(6, '0');
}

function toBgr(hex) {
  const rgb = parseInt(hex.slice(1), 16);
  const bgr = ((rgb & 0xff) << 16) | (rgb & 0xff00) | ((rgb >> 16) & 0xff);
  return '0x' + bgr.toString(16).toUpperCase().padStart(8, '0');
}

// ---- the size table

const kColorNames = [['pathColor', 'route'], ['pathBorderColor', 'route border'],
  ['arrowColor', 'arrow'], ['arrowBorderColor', 'arrow border'], ['background', 'background']];
const kMaxValue = 2147483647;
// Each size field's heading; the JSON name shows on hover.
const kFieldLabels = {
  pathWidth: 'route width', pathBorderWidth: 'route border', arrowWidth: 'arrow width',
  arrowBorderWidth: 'arrow border', arrowHeadParam: 'head param',
  arrowHeadBorderParam: 'head outline', arrowExitLength: 'after exit',
  arrowEnterLength: 'before turn', arrowLengthTolerance: 'tolerance',
  arrowHeadLength: 'head length', arrowHeadHalfWidth: 'head half width',
};

// The object holding the table the current theme is drawn with: the theme, or the style.
function tableHolder() {
  const theme = studio.style.themes[studio.theme];
  return theme.sizes ? theme : studio.style;
}

function metresPerPixel(row) {
  return studio.ladder[Math.min(row, studio.ladder.length - 1)];
}

function pixelText(row, field) {
  const holder = tableHolder();
  return '= ' + Math.round(holder.sizes[row][field] / metresPerPixel(row)) + ' px';
}

function renderTable() {
  const holder = tableHolder();
  const users = Object.keys(studio.style.themes).filter((n) => !studio.style.themes[n].sizes);
  $('table-owner').textContent = holder === studio.style
    ? '(shared by ' + users.join(', ') + ')' : '(' + studio.theme + "'s own)";
  $('max-turn-scale').value = holder.maxTurnScale;
  const head = element('tr', {}, [element('th', {textContent: 'index'}),
    element('th', {textContent: 'm/px'})]);
  for (const field of studio.fields) {
    head.append(element('th', {title: field.name},
      [kFieldLabels[field.name] || field.name, element('br'), '(' + field.unit + ')']));
  }
  $('sizes').tHead.replaceChildren(head);
  const body = [];
  holder.sizes.forEach((row, i) => {
    const tr = element('tr', {className: i > holder.maxTurnScale ? 'arrowless' : ''}, [
      element('td', {className: 'index', textContent: i}),
      element('td', {textContent: i < studio.ladder.length ? studio.ladder[i] : '\u2013'})]);
    for (const field of studio.fields) {
      const input = element('input', {type: 'number', min: 0, max: kMaxValue, step: 1,
        value: row[field.name], className: field.unit === 'm' ? 'metres' : 'pixels'});
      input.dataset.row = i;
      input.dataset.field = field.name;
      const cell = element('td', {}, [input]);
      if (field.unit === 'm') cell.append(element('span', {className: 'px',
        textContent: pixelText(i, field.name)}));
      tr.append(cell);
    }
    body.push(tr);
  });
  $('sizes').tBodies[0].replaceChildren(...body);
  const foot = element('tr', {}, [element('td', {colSpan: 2, textContent: 'set all'})]);
  for (const field of studio.fields) {
    const input = element('input', {type: 'number', min: 0, step: 1, placeholder: 'px'});
    const button = element('button', {type: 'button', textContent: 'px',
      title: 'set every row of ' + field.name + ' from this many pixels at the row\'s scale'});
    button.addEventListener('click', () => setColumn(field, input.value));
    foot.append(element('td', {}, [input, button]));
  }
  $('sizes').tFoot.replaceChildren(foot);
}

function onTableInput(event) {
  const input = event.target;
  if (!input.dataset.field) return;
  const value = Number(input.value);
  const good = input.value !== '' && Number.isInteger(value) && value >= 0 && value <= kMaxValue;
  input.classList.toggle('bad', !good);
  if (!good) return;
  const row = Number(input.dataset.row);
  tableHolder().sizes[row][input.dataset.field] = value;
  const px = input.parentNode.querySelector('.px');
  if (px) px.textContent = pixelText(row, input.dataset.field);
  redraw();
}

// Sets a column from a pixel target: a width is the same in every row; a length becomes the
// metres that many pixels span at each row's scale.
function setColumn(field, text) {
  const px = Number(text);
  if (text === '' || !(px >= 0) || !Number.isFinite(px)) {
    showError('set column: give a number of pixels');
    return;
  }
  tableHolder().sizes.forEach((row, i) => {
    row[field.name] = Math.min(kMaxValue,
      Math.round(field.unit === 'm' ? px * metresPerPixel(i) : px));
  });
  renderTable();
  redraw();
}

// ---- colours of every theme

function renderColours() {
  const head = element('tr', {}, [element('th', {textContent: 'theme'})]);
  for (const [, label] of kColorNames) head.append(element('th', {textContent: label}));
  $('colours').tHead.replaceChildren(head);
  const rows = Object.keys(studio.style.themes).map((name) => {
    const theme = studio.style.themes[name];
    const tr = element('tr', {className: name === studio.theme ? 'active' : ''},
      [element('td', {textContent: name})]);
    for (const [field, label] of kColorNames) {
      const input = element('input', {type: 'color', value: toHex(theme[field]),
        title: name + ' ' + label});
      input.dataset.theme = name;
      input.dataset.field = field;
      input.addEventListener('input', () => {
        theme[field] = toBgr(input.value);
        redraw();
      });
      tr.append(element('td', {}, [input]));
    }
    return tr;
  });
  $('colours').tBodies[0].replaceChildren(...rows);
}

function renderThemes() {
  const options = Object.keys(studio.style.themes).map((name) =>
    element('option', {value: name, textContent: name, selected: name === studio.theme}));
  $('theme').replaceChildren(...options);
}

// ---- the sheet's rows and columns

function checkboxes(values, chosen, label, onChange) {
  return values.map((value) => {
    const box = element('input', {type: 'checkbox', checked: chosen.includes(value)});
    box.addEventListener('change', () => onChange(value, box.checked));
    return element('label', {className: 'choice'}, [box, label(value)]);
  });
}

function renderChoosers() {
  const turns = studio.route.turns.map((t) => t.index);
  $('turn-boxes').replaceChildren(...checkboxes(turns, studio.turns, (k) => ' ' + k, (k, on) => {
    studio.turns = on ? [...studio.turns, k].sort((a, b) => a - b) : studio.turns.filter((t) => t !== k);
    redraw();
  }));
  const indices = studio.ladder.map((_, i) => i);
  $('index-boxes').replaceChildren(...checkboxes(indices, studio.indices, (i) => ' ' + i, (i, on) => {
    studio.indices = on ? [...studio.indices, i].sort((a, b) => a - b) : studio.indices.filter((s) => s !== i);
    redraw();
  }));
}

// ---- drawing

async function redraw() {
  if (studio.busy) {
    studio.again = true;
    return;
  }
  studio.busy = true;
  document.body.dataset.state = 'drawing';
  try {
    const answer = await api('/api/sheet', {style: studio.style, theme: studio.theme,
      turns: studio.turns, scaleIndices: studio.indices});
    studio.last = answer;
    renderSheet(answer);
    renderFindings(answer);
    $('timing').textContent = 'drawn in ' + Math.round(answer.drawMs) + ' ms, checked in ' +
      Math.round(answer.auditMs) + ' ms';
    showError(null);
  } catch (error) {
    showError(error);
  }
  studio.busy = false;
  document.body.dataset.redraws = Number(document.body.dataset.redraws) + 1;
  if (studio.again) {
    studio.again = false;
    redraw();
  } else {
    document.body.dataset.state = 'ready';
  }
}

// The active theme's findings of a cell: the arrow runs out of check's picture, past the
// next turn, or is missing.
function cellFindings(answer, turn, index) {
  const audit = answer.audit.find((a) => a.theme === answer.theme);
  return (audit ? audit.findings : []).filter((f) => f.turn === turn && f.scaleIndex === index);
}

const kBadges = {fit: 'runs out', pastNextTurn: 'past next turn', notDrawn: 'no arrow'};

function renderSheet(answer) {
  const sheet = $('sheet');
  sheet.style.gridTemplateColumns = 'repeat(' + answer.scaleIndices.length + ', minmax(0, 1fr))';
  const nodes = answer.scaleIndices.map((i) => element('div', {className: 'head',
    textContent: 'index ' + i + ' \u00b7 ' + studio.ladder[i] + ' m/px'}));
  for (const cell of answer.cells) {
    const image = element('img', {src: cell.image, alt: 'turn ' + cell.turn + ' at scale index ' +
      cell.scaleIndex});
    const marks = cellFindings(answer, cell.turn, cell.scaleIndex).filter((f) => kBadges[f.kind]);
    const caption = element('figcaption', {}, marks.map((f) =>
      element('span', {className: 'badge', textContent: kBadges[f.kind], title: f.text})));
    const figure = element('figure', {className: 'cell' + (marks.length ? ' marked' : ''),
      title: cell.warning || ''}, [image, caption]);
    figure.dataset.turn = cell.turn;
    figure.dataset.index = cell.scaleIndex;
    figure.addEventListener('click', () => openLarge(cell.turn, cell.scaleIndex));
    nodes.push(figure);
  }
  sheet.replaceChildren(...nodes);
}

function renderFindings(answer) {
  const items = [];
  for (const audit of answer.audit) {
    for (const finding of audit.findings) {
      const li = element('li', {}, [element('span', {className: 'theme',
        textContent: audit.theme + ': '}), finding.text]);
      li.dataset.kind = finding.kind;
      if (finding.turn >= 0 && finding.scaleIndex >= 0 && audit.theme === answer.theme) {
        li.dataset.turn = finding.turn;
        li.dataset.index = finding.scaleIndex;
        li.addEventListener('click', () => highlight(finding.turn, finding.scaleIndex));
      }
      items.push(li);
    }
  }
  $('finding-count').textContent = '(' + items.length + ', every theme)';
  if (items.length === 0) items.push(element('li', {className: 'none', textContent: 'No findings.'}));
  $('findings').replaceChildren(...items);
  $('notes').replaceChildren(...answer.notes.map((n) => element('li', {textContent: n})));
  const route = studio.route.name === '(built-in sample)' ? '' : studio.route.name + ' ';
  $('picture-note').textContent = 'As advicepath check ' + route + '--style ' + studio.savePath +
    ' --size ' + studio.picture.width + 'x' + studio.picture.height + ' finds them once saved.';
  const audit = answer.audit.find((a) => a.theme === answer.theme);
  $('pairs-theme').textContent = '(' + answer.theme + ', WCAG ratio, 3:1 needed)';
  $('pairs').tBodies[0].replaceChildren(...(audit ? audit.pairs : []).map((p) =>
    element('tr', {className: !p.meets ? 'apart' : p.ratio < 3 ? 'fail' : ''}, [
      element('td', {textContent: p.vision || 'normal'}),
      element('td', {}, [swatch(p.firstColor), ' ' + p.first]),
      element('td', {}, [swatch(p.secondColor), ' ' + p.second]),
      element('td', {className: 'ratio', textContent: p.ratio.toFixed(2) + ':1' +
        (p.meets ? '' : ' (apart)')})])));
}

function highlight(turn, index) {
  for (const cell of document.querySelectorAll('figure.cell.highlight')) {
    cell.classList.remove('highlight');
  }
  const cell = document.querySelector('figure.cell[data-turn="' + turn + '"][data-index="' +
    index + '"]');
  if (!cell) return;
  cell.classList.add('highlight');
  cell.scrollIntoView({block: 'nearest'});
}

async function openLarge(turn, index) {
  try {
    const answer = await api('/api/cell', {style: studio.style, theme: studio.theme, turn,
      scaleIndex: index});
    $('large-title').textContent = 'turn ' + turn + ' at scale index ' + index + ', ' +
      studio.theme + (answer.warning ? ': the arrow ' + answer.warning : '');
    $('large-image').src = answer.image;
    $('calls').tHead.replaceChildren(element('tr', {}, ['#', 'call', 'points', 'third', 'colour',
      'fifth', 'first point'].map((h) => element('th', {textContent: h}))));
    $('calls').tBodies[0].replaceChildren(...answer.calls.map((call, i) => element('tr', {}, [
      element('td', {textContent: i}), element('td', {textContent: call.op}),
      element('td', {textContent: call.count}), element('td', {textContent: call.third}),
      element('td', {}, [swatch(call.color),
        ' 0x' + call.color.toString(16).toUpperCase().padStart(8, '0')]),
      element('td', {textContent: call.fifth}),
      element('td', {textContent: call.points.length ? call.points[0].join(', ') : ''})])));
    $('large').showModal();
  } catch (error) {
    showError(error);
  }
}

// ---- save and drop

async function save() {
  $('save-status').textContent = 'saving\u2026';
  try {
    const answer = await api('/api/save', {style: studio.style, theme: studio.theme});
    $('save-status').textContent = 'Saved to ' + answer.saved + ' at ' +
      new Date().toLocaleTimeString();
    showError(null);
  } catch (error) {
    $('save-status').textContent = 'not saved';
    showError(error);
  }
}

async function dropRoute(file) {
  try {
    const bytes = await file.arrayBuffer();
    const body = new Blob([bytes]);
    body.name = encodeURIComponent(file.name);
    const answer = await api('/api/route', body, 'application/octet-stream');
    useRoute(answer.route);
    renderChoosers();
    redraw();
  } catch (error) {
    showError(error);
  }
}

function useRoute(route) {
  studio.route = route;
  $('route-name').textContent = route.name + ' \u00b7 ' + route.turns.length + ' turns';
  studio.turns = route.turns.map((t) => t.index).slice(0, studio.maxSheetTurns);
}

function watchDrops() {
  let depth = 0;
  const overlay = $('drop-overlay');
  window.addEventListener('dragenter', (e) => { e.preventDefault(); depth++; overlay.hidden = false; });
  window.addEventListener('dragleave', () => { if (--depth <= 0) { depth = 0; overlay.hidden = true; } });
  window.addEventListener('dragover', (e) => e.preventDefault());
  window.addEventListener('drop', (e) => {
    e.preventDefault();
    depth = 0;
    overlay.hidden = true;
    if (e.dataTransfer.files.length > 0) dropRoute(e.dataTransfer.files[0]);
  });
}

// ---- start

async function start() {
  try {
    const state = await api('/api/state');
    Object.assign(studio, {style: state.style, theme: state.theme, ladder: state.ladder,
      fields: state.fields, savePath: state.savePath, picture: state.picture,
      maxSheetTurns: state.maxSheetTurns});
    useRoute(state.route);
    const last = Math.min(Math.max(tableHolder().maxTurnScale, 0), studio.ladder.length - 1);
    studio.indices = studio.ladder.map((_, i) => i).filter((i) => i <= last);
    $('save').title = 'write ' + state.savePath;
    renderThemes();
    renderTable();
    renderColours();
    renderChoosers();
    $('sizes').addEventListener('input', onTableInput);
    $('max-turn-scale').addEventListener('input', (e) => {
      const value = Number(e.target.value);
      if (!Number.isInteger(value) || value < -2147483648 || value > kMaxValue) return;
      tableHolder().maxTurnScale = value;
      renderTable();
      redraw();
    });
    $('theme').addEventListener('change', (e) => {
      studio.theme = e.target.value;
      renderTable();
      renderColours();
      redraw();
    });
    $('save').addEventListener('click', save);
    watchDrops();
    await redraw();
  } catch (error) {
    showError(error);
  }
}

start();
