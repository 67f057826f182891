// Navigation to the first problem painted, in Debian's Chromium, against a
// floor page: the same generated HTML, CSS and fonts with no module. Each
// load has a fresh browser context (no cache). Run by hand, not in CI:
//   scripts/build_web.sh && (cd tests/web && npm ci) && node bench/web_start.mjs [RUNS]
import { cpSync, mkdtempSync, readFileSync, readdirSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { gzipSync, brotliCompressSync } from 'node:zlib';
import { chromium } from '../tests/web/node_modules/playwright-core/index.mjs';
import { serve } from '../web/serve.mjs';

const runs = Number(process.argv[2] ?? 20);
const built = new URL('../build/web/site', import.meta.url).pathname;
const site = mkdtempSync(join(tmpdir(), 'tavola-bench-'));
cpSync(built, site, { recursive: true });
// Element Timing gives when a frame with an element's text was presented:
// the problem in the game, a fixed caption on the floor.
const html = readFileSync(join(site, 'index.html'), 'utf8')
  .replace('id="lblNum1"', 'elementtiming="problem" id="lblNum1"').replace('id="Label6"', 'elementtiming="caption" id="Label6"');
writeFileSync(join(site, 'index.html'), html);
writeFileSync(join(site, 'floor.html'), html.replace('<body>', '<body class="drawn">').split('\n').filter((line) => !/core\.|page\.js/.test(line)).join('\n'));

const probe = () => {
  const wanted = location.pathname.endsWith('floor.html') ? 'caption' : 'problem';
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) if (entry.identifier === wanted) window.paintedAt ??= entry.renderTime;
  }).observe({ type: 'element', buffered: true });
};

const median = (values) => { const s = [...values].sort((a, b) => a - b); return (s[(s.length - 1) >> 1] + s[s.length >> 1]) / 2; };
const server = await serve(site, { port: 0 });
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu'] });
const times = { floor: [], game: [] };
const parts = {};
for (let run = 0; run < runs; run++) {
  for (const [name, path] of [['floor', 'floor.html'], ['game', '']]) {
    const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
    const page = await context.newPage();
    await page.addInitScript(probe);
    await page.goto(base + path);
    await page.waitForFunction(() => window.paintedAt);
    times[name].push(await page.evaluate(() => window.paintedAt));
    if (name === 'floor') (parts['floor: first contentful paint'] ??= []).push(await page.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0]?.startTime));
    if (name === 'game') {
      const entries = await page.evaluate(() => {
        const end = (part) => performance.getEntriesByType('resource').find((e) => e.name.includes(part))?.responseEnd;
        const mark = (name) => performance.getEntriesByName(name)[0].startTime;
        const nav = performance.getEntriesByType('navigation')[0];
        return { 'HTML received': nav.responseEnd, 'CSS received': end('tavola.css'), 'fonts received': Math.max(...['sans.', 'sans-bold.', 'bold-italic', 'serif'].map(end)),
                 'module JS received': end('core.js'), 'module .wasm received': end('core.wasm'), 'module instantiated': mark('tavola:instantiated'),
                 'DOMContentLoaded (page.js run up to the module)': nav.domContentLoadedEventStart,
                 'first problem drawn': mark('tavola:first-problem'),
                 'first contentful paint': performance.getEntriesByName('first-contentful-paint')[0]?.startTime };
      });
      for (const [part, at] of Object.entries(entries)) (parts[part] ??= []).push(at);
    }
    await context.close();
  }
}
await browser.close();
server.close();

const size = (compress) => readdirSync(built, { recursive: true }).filter((f) => statSync(join(built, f)).isFile())
  .reduce((sum, f) => sum + compress(readFileSync(join(built, f))).length, 0);
console.log(`| measure | median of ${runs} (ms) |\n|---|---|`);
for (const [part, at] of Object.entries(parts)) console.log(`| ${part} | ${median(at).toFixed(1)} |`);
console.log(`| first problem painted | ${median(times.game).toFixed(1)} |\n| floor page painted | ${median(times.floor).toFixed(1)} |`);
console.log(`| ratio | ${(median(times.game) / median(times.floor)).toFixed(2)} |`);
console.log(`\nsite: ${size((b) => b)} B raw, ${size(gzipSync)} B gzip, ${size(brotliCompressSync)} B brotli`);
