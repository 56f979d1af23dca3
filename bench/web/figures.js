// The browser build's figures: the first title frame cold (a fresh browser cache each
// time) and warm (the page opened again), from the page's own marks, with where the
// time went (wasm: the program's bytes in and compiled, which the browser does lazily,
// so this is mostly the download; fetched: the files downloaded and unpacked; files: the
// files and the stored saves in place; main: the program started; title: the first
// title frame; fonts: the whole fonts in, fetched after the title; before: the bytes that
// came before the title), and every file a first visit downloads, with its size.
//   usage: node figures.js http://127.0.0.1:8000 [RUNS] [--profile] [--throttle]
// --throttle: the network as a slow line, 10 Mbit/s down and up with 150 ms latency.
// --profile: each run in a fresh browser profile on disk, with the disk cache and the
// cache of compiled code a player's browser has; without it, in off-the-record
// contexts (a cache in memory). DALVO_FIGURES_PAUSE_MS: the pause between the cold and
// the warm load (1500).
// Needs playwright-core from npm (in a scratch folder: npm i playwright-core) and
// Debian's chromium; the page served by scripts/web.sh.
const { chromium } = require('playwright-core');
const os = require('os');
const fs = require('fs');
const path = require('path');
(async () => {
  const base = process.argv[2];
  const runs = +(process.argv[3] || 5);
  const onDisk = process.argv.includes('--profile');
  const throttle = process.argv.includes('--throttle');
  const options = { executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'] };
  const browser = onDisk ? null : await chromium.launch(options);
  async function newContext() {
    if (!onDisk) return browser.newContext();
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'dalvo-figures-'));
    const context = await chromium.launchPersistentContext(dir, options);
    const close = context.close.bind(context);
    context.close = async () => { await close(); fs.rmSync(dir, { recursive: true, force: true, maxRetries: 5 }); };
    return context;
  }
  async function open(page) {
    await page.goto(base + '/index.html');
    await page.waitForFunction(() => document.body.dataset.titleMs, null, { timeout: 60000, polling: 20 });
    await page.waitForFunction(() => document.body.dataset.fontsMs, null, { timeout: 60000, polling: 20 });
    const marks = await page.evaluate(() => ({ ...document.body.dataset,
      before: performance.getEntriesByType('resource').concat(performance.getEntriesByType('navigation'))
        .filter((e) => e.responseEnd <= +document.body.dataset.titleMs).reduce((s, e) => s + e.transferSize, 0) }));
    return Object.fromEntries(['wasmMs', 'fetchedMs', 'filesMs', 'mainMs', 'titleMs', 'fontsMs', 'before'].map((k) => [k.replace('Ms', ''), +marks[k]]));
  }
  const cold = [], warm = [];
  let files = null;
  for (let i = 0; i < runs; ++i) {
    const context = await newContext();
    const page = await context.newPage();
    if (throttle) {
      const cdp = await context.newCDPSession(page);
      await cdp.send('Network.enable');
      const rate = 10e6 / 8;
      await cdp.send('Network.emulateNetworkConditions',
        { offline: false, latency: 150, downloadThroughput: rate, uploadThroughput: rate });
    }
    const sizes = new Map();
    // The sizes from the headers: reading the bodies back would load the browser during the measurement.
    page.on('response', (r) => sizes.set(new URL(r.url()).pathname, +(r.headers()['content-length'] || 0)));
    cold.push(await open(page));
    await page.waitForTimeout(+(process.env.DALVO_FIGURES_PAUSE_MS || 1500));
    if (!files) files = [...sizes.entries()].sort((a, b) => b[1] - a[1]);
    warm.push(await open(page));
    await context.close();
  }
  const median = (list, key) => list.map((m) => m[key]).sort((a, b) => a - b)[list.length >> 1];
  const summary = (list) => Object.fromEntries(Object.keys(list[0]).map((k) => [k, median(list, k)]));
  console.log(JSON.stringify({
    load_average: os.loadavg()[0].toFixed(1),
    cold_title_ms: cold.map((m) => m.title), warm_title_ms: warm.map((m) => m.title),
    cold_median: summary(cold), warm_median: summary(warm),
    first_visit_bytes: files.reduce((s, f) => s + f[1], 0), files }));
  if (browser) await browser.close();
})();
