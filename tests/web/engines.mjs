// One small driver for three engines, so that every check is written once:
// Chromium (CDP) and Firefox (WebDriver BiDi) through puppeteer-core, WebKit
// through WebKitWebDriver's classic WebDriver. A page offers js(), key(),
// insert(), pointer(), shot(), reload(), hide(), show(), viewport() and close().
import { spawn } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import puppeteer from 'puppeteer-core';

const delay = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function viaPuppeteer(options) {
  const browser = await puppeteer.launch({ headless: true, ...options });
  return {
    async open() {
      const page = await browser.newPage();
      const errors = [];
      // Firefox's BiDi reports no page errors to puppeteer; the page's console does.
      await page.evaluateOnNewDocument(() => addEventListener('error', (event) => console.error(event.message)));
      // Firefox reports the tab icon's load, cut short by a reload while the service worker
      // answered it, as an error of the page's; it is the browser's own load.
      const ownIcon = /\/art\/icon[-\w]*\.\w+’\. A ServiceWorker intercepted the request/;
      const report = (text) => ownIcon.test(text) || errors.push(text);
      page.on('pageerror', (error) => report(error.message));
      page.on('console', (message) => message.type() === 'error' && report(message.text()));
      let other = null;
      return {
        errors,
        js: (fn, ...args) => (typeof fn === 'string' ? page.evaluate(`(${fn})(...${JSON.stringify(args)})`) : page.evaluate(fn, ...args)),
        key: (down, name) => (down ? page.keyboard.down(name) : page.keyboard.up(name)),
        // Text that comes with no key, as a paste or an on-screen keyboard's; a
        // line break is Enter, which Firefox's script insertion would turn into a blank.
        insert: async (text) => { for (const c of text) await (c === '\r' ? page.keyboard.press('Enter') : page.keyboard.sendCharacter(c)); },
        pointer: (touch, x, y, click = true) => (touch ? page.touchscreen.tap(x, y) : click ? page.mouse.click(x, y) : page.mouse.move(x, y)),
        shot: (path) => page.screenshot({ path }),
        goto: (url) => page.goto(url),
        reload: () => page.reload(),
        viewport: (width, height, scale = 1, touch = false) =>
          page.setViewport({ width, height, deviceScaleFactor: scale, hasTouch: touch, isMobile: touch }),
        hide: async () => { other = await browser.newPage(); await other.bringToFront(); },
        show: async () => { await page.bringToFront(); await other.close(); },
        closed: () => page.isClosed(),
        close: () => page.isClosed() || page.close(),
        ...(options.browser === 'chrome' && { installErrors: async () =>
          (await (await page.createCDPSession()).send('Page.getInstallabilityErrors')).installabilityErrors }),
      };
    },
    close: () => browser.close(),
  };
}

// WebDriver's codes for the keys the checks press.
const codes = { Enter: '\uE007', Escape: '\uE00C', Backspace: '\uE003', Tab: '\uE004', F2: '\uE032', F10: '\uE03A',
  Alt: '\uE00A', Control: '\uE009', Shift: '\uE008', ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015' };

async function viaWebDriver() {
  const port = await new Promise((resolve) => { const probe = createServer().listen(0, () => { const { port } = probe.address(); probe.close(() => resolve(port)); }); });
  // WebKitGTK needs a display and a session bus; it has neither here.
  // xvfb-run sees only this root's display locks, so it starts its search at a random number.
  const driver = spawn('dbus-run-session', ['--', 'xvfb-run', '-a', '-n', String(100 + Math.floor(Math.random() * 20000)), '-s', '-screen 0 3840x2160x24', 'sh', '-c',
    `openbox & exec WebKitWebDriver --port=${port}`], { stdio: 'ignore', detached: true });
  const send = async (method, path, body) => {
    const reply = await (await fetch(`http://127.0.0.1:${port}${path}`, { method, body: body && JSON.stringify(body),
      headers: { 'content-type': 'application/json' } })).json();
    if (reply.value?.error) throw new Error(`${path}: ${reply.value.error} ${reply.value.message}`);
    return reply.value;
  };
  // Its display, window manager and bus go with it, however the test ends.
  const stop = () => { try { process.kill(-driver.pid); } catch {} };
  process.on('exit', stop).on('SIGTERM', () => process.exit(1));
  for (let tries = 0; await send('GET', '/status').then(() => false, () => tries < 100); tries++) await delay(100);
  return {
    async open() {
      const { sessionId } = await send('POST', '/session', { capabilities: { alwaysMatch: { browserName: 'MiniBrowser',
        'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] } } } });
      const session = (path, body) => send(body ? 'POST' : 'GET', `/session/${sessionId}${path}`, body);
      const act = (type, parameters, actions) => session('/actions', { actions: [{ type, id: parameters?.pointerType ?? type, parameters, actions }] });
      const js = (fn, ...args) => session('/execute/sync', { script: `return (${fn}).apply(null, arguments)`, args });
      return {
        errors: [],
        js,
        key: (down, name) => act('key', undefined, [{ type: down ? 'keyDown' : 'keyUp', value: codes[name] ?? name }]),
        insert: (text) => act('key', undefined, [...text].map((key) => codes[{ '\r': 'Enter' }[key]] ?? key)
          .flatMap((value) => [{ type: 'keyDown', value }, { type: 'keyUp', value }])),
        pointer: (touch, x, y, click = true) => act('pointer', { pointerType: touch ? 'touch' : 'mouse' }, [
          { type: 'pointerMove', x: Math.round(x), y: Math.round(y) },
          ...(click ? [{ type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }] : [])]),
        // WebKitGTK's snapshot can be a frame behind: wait for two more.
        shot: async (path) => { await js(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
          await delay(200); writeFileSync(path, Buffer.from(await session('/screenshot'), 'base64')); },
        goto: (url) => session('/url', { url }),
        reload: () => session('/refresh', {}),
        async viewport(width, height) {
          // The window's size is asked for; the page's follows once the frame is known.
          await session('/window/rect', { width, height });
          const [inner, innerHeight] = await js(() => [innerWidth, innerHeight]);
          await session('/window/rect', { width: 2 * width - inner, height: 2 * height - innerHeight });
        },
        hide: () => session('/window/minimize', {}),
        show: () => session('/window/maximize', {}),
        closed: () => false,
        close: () => send('DELETE', `/session/${sessionId}`),
      };
    },
    close: stop,
  };
}

export const engines = {
  // A hidden tab's timers are slowed as on a pupil's machine.
  chromium: () => viaPuppeteer({ browser: 'chrome', executablePath: '/usr/bin/chromium',
    ignoreDefaultArgs: ['--disable-background-timer-throttling', '--disable-backgrounding-occluded-windows', '--disable-renderer-backgrounding'],
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-component-update'] }),
  firefox: () => viaPuppeteer({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr' }),
  webkit: viaWebDriver,
};
