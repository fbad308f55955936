// The studio as a user meets it, in headless Chromium: the page loads and draws the sheet;
// editing a width redraws the cell and a finding appears; Save writes the edit into the style
// file the studio was started with; the studio stops cleanly on SIGTERM. Exits 0 when all
// holds, 1 with the reason otherwise. With --screenshot FILE it only takes the README's
// picture of the loaded page.
import {spawn} from 'node:child_process';
import {copyFileSync, mkdtempSync, readdirSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import puppeteer from 'puppeteer-core';

const options = {};
for (let i = 2; i < process.argv.length; i += 2) {
  options[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
}
const kTimeoutMs = 60000;

// Starts `advicepath studio` on a copy of the style; resolves with its address.
function startStudio(dir, stylePath) {
  const child = spawn(options.program, ['studio', '--port', '0', '--style', stylePath],
    {cwd: dir, stdio: ['ignore', 'pipe', 'pipe']});
  let output = '';
  const address = new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('no address within 30 s: ' + output)), 30000);
    child.stdout.on('data', (data) => {
      output += data;
      const found = output.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (found) {
        clearTimeout(timer);
        resolve(found[0]);
      }
    });
    child.stderr.on('data', (data) => { output += data; });
    child.on('exit', (code) => reject(new Error('the studio exited (' + code + '): ' + output)));
  });
  const exited = new Promise((resolve) => child.on('exit', (code, signal) =>
    resolve({code, signal, output})));
  return {child, address, exited};
}

function check(condition, what) {
  if (!condition) throw new Error(what);
}

async function run(page, address, stylePath, dir) {
  await page.goto(address);
  await page.waitForSelector('body[data-state="ready"]', {timeout: kTimeoutMs});
  const cells = await page.$$eval('figure.cell img', (images) => images.length);
  check(cells === 42, 'the sample\'s sheet should have 6 x 7 cells, not ' + cells);
  check(await page.$('figure.cell.marked[data-turn="3"][data-index="0"]') !== null,
    'turn 3 at index 0 should be marked: its arrow runs out of 800x600');
  if (options.screenshot) {
    await page.screenshot({path: options.screenshot});
    return;
  }
  // A cell opens large with the calls the library made for it.
  await page.click('figure.cell[data-turn="5"][data-index="2"]');
  await page.waitForSelector('dialog#large[open] #calls tbody tr', {timeout: kTimeoutMs});
  const calls = await page.$$eval('#calls tbody tr', (rows) => rows.length);
  check(calls >= 4, 'the large cell should list its calls, not ' + calls);
  await page.click('#close-large');
  const image = 'figure.cell[data-turn="0"][data-index="1"] img';
  const before = await page.$eval(image, (i) => i.src);
  // Row 1's arrow border as wide as the arrow: no border shows, a finding.
  await page.click('input[data-row="1"][data-field="arrowBorderWidth"]', {clickCount: 3});
  await page.keyboard.type('12');
  const finding = 'scale index 1: arrow border width 12 is not above its width 12';
  await page.waitForFunction((text) => document.body.dataset.state === 'ready' &&
    [...document.querySelectorAll('#findings li')].some((li) => li.textContent.includes(text)),
    {timeout: kTimeoutMs}, finding);
  const after = await page.$eval(image, (i) => i.src);
  check(after !== before, 'the cell of turn 0 at index 1 should be redrawn');
  await page.click('#save');
  await page.waitForFunction(() => document.getElementById('save-status').textContent
    .startsWith('Saved'), {timeout: kTimeoutMs});
  const saved = JSON.parse(readFileSync(stylePath, 'utf8'));
  check(saved.sizes[1].arrowBorderWidth === 12,
    'the saved style should hold the edit, not ' + saved.sizes[1].arrowBorderWidth);
  const left = readdirSync(dir).filter((name) => name !== 'style.json' && name !== 'profile');
  check(left.length === 0, 'Save left behind: ' + left.join(', '));
}

async function main() {
  const dir = mkdtempSync(join(tmpdir(), 'advicepath-studio-'));
  const stylePath = join(dir, 'style.json');
  copyFileSync(options.style, stylePath);
  const studio = startStudio(dir, stylePath);
  let browser = null;
  const errors = [];
  try {
    const address = await studio.address;
    browser = await puppeteer.launch({
      executablePath: options.chromium,
      headless: true,
      userDataDir: join(dir, 'profile'),
      args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run'],
    });
    const page = await browser.newPage();
    await page.setViewport({width: 1800, height: 1000});
    page.on('pageerror', (error) => errors.push('page error: ' + error.message));
    page.on('console', (message) => {
      if (message.type() === 'error') errors.push('console: ' + message.text());
    });
    await run(page, address, stylePath, dir);
    check(errors.length === 0, errors.join('\n'));
  } finally {
    if (browser) await browser.close();
    studio.child.kill('SIGTERM');
    const end = await studio.exited;
    rmSync(dir, {recursive: true, force: true});
    check(end.code === 0, 'the studio should stop cleanly on SIGTERM: ' + JSON.stringify(end));
  }
  console.log(options.screenshot ? 'browser test: the page drew; screenshot ' + options.screenshot
    : 'browser test: the page drew, redrew after an edit, showed the finding and saved');
}

main().catch((error) => {
  console.error('browser test: ' + error.message);
  process.exit(1);
});
