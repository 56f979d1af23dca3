// The browser build's figures: the first title frame cold and warm (the page's own
// data-title-ms mark), and every file downloaded with its size.
//   usage: node figures.js http://127.0.0.1:8000
// Needs playwright-core from npm (in a scratch folder: npm i playwright-core) and
// Debian's chromium; the page served by scripts/web.sh.
const { chromium } = require('playwright-core');
(async () => {
  const base = process.argv[2];
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'] });
  const context = await browser.newContext();
  const page = await context.newPage();
  const files = new Map();
  page.on('response', async (r) => {
    try { const b = await r.body(); files.set(new URL(r.url()).pathname, b.length); } catch (e) {}
  });
  async function title() {
    await page.waitForFunction(() => document.body.dataset.titleMs, null, { timeout: 60000, polling: 50 });
    return +(await page.evaluate(() => document.body.dataset.titleMs));
  }
  await page.goto(base + '/index.html');
  const cold = await title();
  await page.waitForTimeout(500);
  const sizes = [...files.entries()].sort((a, b) => b[1] - a[1]);
  const warm = [];
  for (let i = 0; i < 3; ++i) {
    await page.goto(base + '/index.html');
    warm.push(await title());
  }
  const marks = await page.evaluate(() => ({...document.body.dataset})); console.log(JSON.stringify(marks)); console.log(JSON.stringify({ cold_ms: cold, warm_ms: warm, total_bytes: sizes.reduce((s, f) => s + f[1], 0),
                               files: sizes }));
  await browser.close();
})();
