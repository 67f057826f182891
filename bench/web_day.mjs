// A school day in one tab, in Debian's Chromium: eight hours of the clock's
// ticks, fast-forwarded with Playwright's clock, and 3,000 problems played by
// keys (every third answer wrong). Prints the JS heap after a collection and
// the module's memory as the day goes on, and every console error. Run by
// hand, not in CI:
//   scripts/build_web.sh && (cd tests/web && npm ci) && node bench/web_day.mjs [PROBLEMS]
import { chromium } from '../tests/web/node_modules/playwright-core/index.mjs';
import { serve } from '../web/serve.mjs';

const problems = Number(process.argv[2] ?? 3000), day = 8 * 3600e3;
const server = await serve(new URL('../build/web/site', import.meta.url).pathname, { port: 0 });
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu'] });
const page = await browser.newPage();
const errors = [];
page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
page.on('pageerror', (error) => errors.push(error.message));
await page.clock.install();
await page.addInitScript(() => {
  // The clock's worker keeps real time; here its ticks come from the page's timers, which the bench runs fast.
  window.Worker = class { addEventListener(type, listener) { setInterval(() => listener({ data: 0 }), 500); } };
  // The module's memory, where the bench can read its size.
  const streaming = WebAssembly.instantiateStreaming;
  WebAssembly.instantiateStreaming = async (...args) => {
    const result = await streaming(...args);
    window.moduleMemory = Object.values(result.instance.exports).find((value) => value instanceof WebAssembly.Memory);
    return result;
  };
});
await page.goto(`http://127.0.0.1:${server.address().port}/`);
await page.waitForFunction(() => lblNum1.textContent !== '');
const cdp = await page.context().newCDPSession(page);
const memory = async () => {
  await cdp.send('HeapProfiler.collectGarbage');
  const { usedSize } = await cdp.send('Runtime.getHeapUsage');
  return [usedSize, await page.evaluate(() => moduleMemory.buffer.byteLength)];
};
const kib = (bytes) => (bytes / 1024).toFixed(0);
const rows = [[0, 0, ...await memory()]];
for (let problem = 1; problem <= problems; problem++) {
  const right = await page.evaluate(() => Number(lblNum1.textContent) - Number(lblNum2.textContent));
  await page.keyboard.type(String(problem % 3 ? right : right + 1));
  await page.keyboard.press('Enter');
  await page.keyboard.press('Enter');
  await page.clock.runFor(day / problems);
  if ([100, 1000, problems].includes(problem)) rows.push([problem, problem * day / problems / 3600e3, ...await memory()]);
}
const scores = await page.evaluate(() => [lblScore, lblScore1, lblScore2].map((label) => label.textContent).join(', '));
await browser.close();
server.close();

console.log('| problems | hours | JS heap (KiB) | module memory (KiB) |\n|---|---|---|---|');
for (const [count, hours, heap, module] of rows) console.log(`| ${count} | ${hours.toFixed(1)} | ${kib(heap)} | ${kib(module)} |`);
const [, , heap0, module0] = rows[0], [, , heap1, module1] = rows.at(-1);
console.log(`\ngrowth over the day: JS heap ${kib(heap1 - heap0)} KiB, module ${kib(module1 - module0)} KiB`);
console.log(`counters (right, wrong, total): ${scores}; console errors: ${errors.length ? errors.join('\n') : 'none'}`);
