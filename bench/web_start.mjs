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
const site = mkdtempSync(join(tmpdir(), 'tavola-bench-'));
cpSync(new URL('../build/web/site', import.meta.url).pathname, site, { recursive: true });
const html = readFileSync(join(site, 'index.html'), 'utf8');
writeFileSync(join(site, 'floor.html'), html.split('\n').filter((line) => !/core\.|page\.js/.test(line)).join('\n'));

// Marks the frame after the page's problem (or, on the floor, its fonts) is in place.
const probe = () => {
  const painted = () => requestAnimationFrame(() => setTimeout(() => { window.paintedAt = performance.now(); }));
  const floor = location.pathname.endsWith('floor.html');
  addEventListener('DOMContentLoaded', () => {
    if (floor) { document.fonts.ready.then(painted); return; }
    new MutationObserver((_, observer) => { observer.disconnect(); document.fonts.ready.then(painted); })
      .observe(document.getElementById('lblNum1'), { childList: true, characterData: true, subtree: true });
  });
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

const size = (compress) => readdirSync(site, { recursive: true }).filter((f) => !f.includes('floor') && statSync(join(site, f)).isFile())
  .reduce((sum, f) => sum + compress(readFileSync(join(site, f))).length, 0);
console.log(`| measure | median of ${runs} (ms) |\n|---|---|`);
for (const [part, at] of Object.entries(parts)) console.log(`| ${part} | ${median(at).toFixed(1)} |`);
console.log(`| first problem painted | ${median(times.game).toFixed(1)} |\n| floor page painted | ${median(times.floor).toFixed(1)} |`);
console.log(`| ratio | ${(median(times.game) / median(times.floor)).toFixed(2)} |`);
console.log(`\nsite: ${size((b) => b)} B raw, ${size(gzipSync)} B gzip, ${size(brotliCompressSync)} B brotli`);
