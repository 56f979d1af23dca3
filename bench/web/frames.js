// The paced effects in the browser: how far each `frame` event of the page's trace
// lies from its target, over a real-clock run of a script.
//   usage: node frames.js 'http://127.0.0.1:8000/index.html?input=FILE' MILLISECONDS
// Needs playwright-core from npm and Debian's chromium, as figures.js.
const { chromium } = require('playwright-core');
(async () => {
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu'] });
  const page = await browser.newPage();
  await page.goto(process.argv[2]);
  await page.waitForTimeout(+process.argv[3]);
  const trace = await page.evaluate(() => document.getElementById('trace').textContent);
  const frames = trace.split('\n').filter((l) => l.includes('"ev":"frame"')).map((l) => JSON.parse(l));
  const late = frames.map((f) => f.took - f.target);
  late.sort((a, b) => a - b);
  const within = late.filter((d) => Math.abs(d) <= 4).length;
  console.log(JSON.stringify({ frames: frames.length, within_4ms: within, min: late[0], median: late[late.length >> 1],
    p95: late[Math.floor(late.length * 0.95)], max: late[late.length - 1] }));
  await browser.close();
})();
