// Plays the browser edition in a real engine and reads what the pupil gets:
// texts, computed colours, the focus, places. Each check has a fresh page.
// Usage: node page_test.mjs SITE_DIR SHOTS_DIR
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { chromium } from 'playwright-core';
import { serve } from '../../web/serve.mjs';

const [site, shots] = process.argv.slice(2);
const text = (page, id) => page.$eval(`#${id}`, (e) => (e.tagName === 'INPUT' ? e.value : e.textContent));
const focus = (page) => page.evaluate(() => document.activeElement.id);
const tint = (page) => page.$eval('#Tavola', (e) => getComputedStyle(e).backgroundColor);
const scores = async (page) => [await text(page, 'lblScore'), await text(page, 'lblScore1'), await text(page, 'lblScore2')];
const problem = async (page) => [Number(await text(page, 'lblNum1')), Number(await text(page, 'lblNum2'))];
const answer = async (page) => { const [a, b] = await problem(page); return a - b; };
// The open box as title, message, buttons and focus, once it is open (or closed).
const box = (page, open = true) => page.waitForFunction((open) => box.open === open, open).then(() => page.evaluate(() => box.open && [boxTitle.textContent, boxPrompt.textContent,
  [...box.querySelectorAll('button:not([hidden])')].map((b) => b.textContent).join('/'), document.activeElement.id]));
const clockChanges = (page) => text(page, 'lblTime').then((shown) =>
  page.waitForFunction((was) => lblTime.textContent !== was, shown, { timeout: 3000 }));

// Left, top, width, height in CSS pixels: the layout's twips over 15.
const places = {
  Picture1: [640, 368, 366, 57], txtAnswer: [544, 8, 185, 80], cmdNext: [288, 408, 121, 73],
  cmdExit: [640, 272, 105, 73], Command1: [320, 424, 57, 41], Label7: [344, -8, 41, 105], Label5: [208, -8, 33, 105],
  Label4: [416, 24, 41, 65], Label2: [144, 24, 41, 65], lblMessage: [112, 136, 441, 41], Image1: [504, 88, 32, 32],
  Label3: [496, 224], Label1: [256, 224], lblScore2: [554, 272], lblScore1: [322, 272], lblTime: [560, 120],
  lblNum2: [280, 16], lblNum1: [56, 16], lblScore: [72, 272], Label6: [16, 224],
};

const checks = {
  async 'every control at its place and size, the first problem on show'(page) {
    for (const [id, place] of Object.entries(places)) {
      const box = await page.$eval(`#${id}`, (e) => { const r = e.getBoundingClientRect(), s = Tavola.getBoundingClientRect();
        return [r.left - s.left, r.top - s.top, r.width, r.height]; });
      assert.deepEqual(box.slice(0, place.length), place, id);
    }
    // Command1 lies behind Nuovo calcolo; the fonts and pictures are the page's own.
    assert.equal(await page.evaluate(() => document.elementFromPoint(...['x', 'y'].map((k, i) =>
      Command1.getBoundingClientRect()[k] + 20 * (1 - i / 2))).closest('button').id), 'cmdNext');
    assert.deepEqual(await page.evaluate(() => document.fonts.ready.then((fonts) => [...fonts].filter((f) => f.status === 'loaded')
      .map((f) => `${f.family} ${f.weight}`).sort())), ['Tavola Sans 400', 'Tavola Sans 700', 'Tavola Serif 700']);
    assert.ok(await page.$$eval('img', (images) => images.every((image) => image.naturalWidth > 0)));
    await page.keyboard.press('Tab');
    assert.equal(await focus(page), 'Command1');
    await page.keyboard.press('Shift+Tab');
    await page.keyboard.press('Shift+Tab');
    assert.equal(await focus(page), 'cmdExit');
    await page.keyboard.press('Tab');
    assert.match(await text(page, 'lblNum1') + ' ' + await text(page, 'lblNum2'), /^-?\d{1,2} -?\d{1,2}$/);
    assert.equal(await focus(page), 'txtAnswer');
    assert.equal(await page.title(), 'Vorlando');
    assert.ok(await page.$eval('#cmdNext', (e) => e.disabled));
    await page.screenshot({ path: `${shots}/page-1280x800.png` });
  },
  async 'only the minus, digits and Backspace get in, typed or not, four at most'(page) {
    await page.keyboard.type('a+.-1x2 3459');
    assert.equal(await text(page, 'txtAnswer'), '-123');
    for (const key of ['Backspace', 'Control+h', 'Backspace', 'Backspace']) await page.keyboard.press(key);
    await page.keyboard.insertText('7a-9e99');
    assert.equal(await text(page, 'txtAnswer'), '7-99');
  },
  async 'Enter scores a right answer once, Enter again draws the next problem'(page) {
    const before = await tint(page);
    await page.keyboard.type(String(await answer(page)));
    await page.keyboard.press('Enter');
    assert.equal(await text(page, 'lblMessage'), 'Esatto, è incredibile!!!');
    assert.deepEqual(await scores(page), ['1', '0', '1']);
    assert.equal(await tint(page), before);
    assert.equal(await focus(page), 'cmdNext');
    await page.keyboard.press('Enter');
    assert.deepEqual([await text(page, 'lblMessage'), await text(page, 'txtAnswer'), await focus(page)], ['', '', 'txtAnswer']);
    assert.deepEqual(await scores(page), ['1', '0', '1']);
  },
  async 'a wrong answer shows the right value on black; Esc and the button draw anew'(page) {
    // Red and blue differ only below 13, where a swap of the two would show.
    while (Math.abs((await problem(page))[0]) >= 13) await page.reload().then(() => page.waitForFunction(() => lblNum1.textContent));
    const [a, b] = await problem(page);
    const size = (n, k) => Math.min(255, k * Math.abs(n));
    assert.equal(await tint(page), `rgb(${size(a, 20)}, ${size(b, 20)}, ${size(a, 50)})`);
    await page.keyboard.type(String(a - b + 1));
    await page.keyboard.press('Enter');
    assert.equal(await text(page, 'lblMessage'), `Sbagliato!! ${a - b}`);
    assert.equal(await tint(page), 'rgb(0, 0, 0)');
    assert.deepEqual(await scores(page), ['0', '1', '1']);
    await page.keyboard.press('Escape');
    assert.equal(await focus(page), 'txtAnswer');
    await page.keyboard.type(String(await answer(page) + 1));
    await page.keyboard.press('Enter');
    await page.click('#cmdNext');
    assert.deepEqual([await text(page, 'lblMessage'), await focus(page)], ['', 'txtAnswer']);
    assert.deepEqual(await scores(page), ['0', '2', '2']);
  },
  async 'the end-time box: the clock runs behind it, a bad entry is explained and kept'(page) {
    await page.mouse.click(900, 520);
    assert.deepEqual(await box(page), ['Il gioco termina alle ore', "Immettere l'orario di fine  gioco", 'OK/Annulla', 'boxEntry']);
    await clockChanges(page);
    await page.keyboard.type('abc');
    await page.keyboard.press('Enter');
    assert.deepEqual(await box(page), ['Orario di esempio  14.22', "L'orario immesso non è valido.", 'OK', 'boxOk']);
    await page.keyboard.press('Enter');
    assert.equal(await box(page, false), false);
    await page.keyboard.press('F2');
    assert.equal(await page.inputValue('#boxEntry'), 'abc');
    await page.keyboard.press('Escape');
    assert.equal(await box(page, false), false);
    assert.equal(await focus(page), 'txtAnswer');
  },
  async 'the alarm rings once: the end, then the new-game question, No by default'(page) {
    await page.keyboard.type('5');
    await page.keyboard.press('F2');
    await page.keyboard.type((await text(page, 'lblTime')).slice(0, 5).replace(':', '.'));
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => boxTitle.textContent === 'Fine', null, { timeout: 3000 });
    assert.match((await box(page))[1], /^Gioco fino alle \d\d:\d\d:\d\d$/);
    await page.keyboard.press('Enter');
    assert.deepEqual(await box(page), ['INIZIARE NUOVA GARA', 'INIZIAMO UNA NUOVA GARA  ?', 'Sì/No', 'boxNo']);
    await page.keyboard.press('Enter');
    await clockChanges(page);
    await clockChanges(page);
    assert.equal(await box(page, false), false);
    assert.equal(await text(page, 'txtAnswer'), '5');
  },
  async 'the menu asks for a new game; Yes starts it as at first'(page) {
    await page.keyboard.type(String(await answer(page)));
    await page.keyboard.press('Enter');
    await page.click('#INFOMAZIONI');
    await page.hover('#Next', { force: true });
    assert.deepEqual(await box(page), ['INIZIARE NUOVA GARA', 'INIZIAMO UNA NUOVA GARA  ?', 'Sì/No', 'boxNo']);
    await page.click('#boxYes');
    await box(page, false);
    assert.deepEqual(await scores(page), ['0', '0', '0']);
    assert.deepEqual([await text(page, 'lblMessage'), await focus(page)], ['', 'txtAnswer']);
    assert.match(await text(page, 'lblNum1'), /^-?\d{1,2}$/);
  },
  async 'a hidden tab shows the time in its title, and Vorlando again when shown'(page) {
    const other = await page.context().newPage();
    await other.bringToFront();
    await page.waitForFunction(() => /^\d\d:\d\d [AP]M$/.test(document.title), null, { timeout: 3000 });
    await page.bringToFront();
    await page.waitForFunction(() => document.title === 'Vorlando', null, { timeout: 3000 });
    await other.close();
  },
  async 'never stuck: random keys, pastes, clicks and boxes; the counters match the answers scored'(page) {
    const keys = ['Enter', 'Enter', 'Escape', 'Backspace', 'Tab', 'F2', 'Alt+n', '-', '7', 'x', 'Space', 'Control+v'];
    const texts = ['9e99', '-'.repeat(300), '١٢٣', '😀7', '\r5\n', '0x1F', ' 12 ', 'ab.c'];
    let scored = 0, state = Number(process.env.TAVOLA_SEED) || Date.now() % 2147483646 + 1;
    const seed = state, random = () => (state = (state * 48271) % 2147483647) / 2147483647;
    for (let step = 0; step < 300; step++) {
      const pick = (list) => list[Math.floor(random() * list.length)];
      // Anything but Exit, and no clicks on a box, where one could start a new game.
      const [inBox, focused] = await page.evaluate(() => [box.open, document.activeElement.id]);
      const onAnswer = focused === 'txtAnswer';
      const action = random();
      if (action < 0.6 || inBox) {
        const key = pick(keys);
        if (key === 'Enter' && onAnswer && !inBox) scored++;
        await page.keyboard.press(focused === 'cmdExit' ? 'Tab' : key);
      } else if (action < 0.8) {
        const text = pick(texts);
        if (onAnswer && !inBox) scored += text.split('\r').length - 1;
        await page.keyboard.insertText(text);
      } else {
        const [x, y] = [random() * 1006, random() * 577];
        if (x < 640 || x > 745 || y < 295 || y > 368) await page.mouse.click(x + 137, y);
      }
    }
    while (await page.evaluate(() => box.open)) await page.keyboard.press('Escape');
    const [right, wrong, total] = (await scores(page)).map(Number);
    assert.deepEqual([right + wrong, total], [scored, scored], `seed ${seed}`);
    await clockChanges(page);
  },
  async 'Exit ends the game and says so'(page) {
    await page.keyboard.press('Alt+x');
    assert.ok(await page.isHidden('#window'));
    assert.match(await page.textContent('#ended'), /la partita è finita/);
  },
};

// Chromium started as a pupil's is, not by Playwright, whose pages never hide.
const chromiumProcess = spawn('/usr/bin/chromium', ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--remote-debugging-port=0',
  `--user-data-dir=${mkdtempSync(`${tmpdir()}/tavola-chromium-`)}`, 'about:blank']);
const endpoint = await new Promise((resolve, reject) => {
  let output = '';
  chromiumProcess.stderr.on('data', (data) => { output += data; const found = output.match(/ws:\/\/\S+/); if (found) resolve(found[0]); });
  chromiumProcess.on('exit', () => reject(new Error(`chromium ended: ${output}`)));
});
const server = await serve(site, { port: 0, base: '/giochi/tavola/' });
const browser = await chromium.connectOverCDP(endpoint, { noDefaults: true });
const context = browser.contexts()[0];
let failed = 0;
for (const [name, check] of Object.entries(checks)) {
  const page = await context.newPage();
  await page.setViewportSize({ width: 1280, height: 800 });
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  try {
    await page.goto(`http://127.0.0.1:${server.address().port}/giochi/tavola/`);
    await page.waitForFunction(() => lblNum1.textContent !== '' && lblTime.textContent !== '');
    await check(page);
    assert.deepEqual(errors, []);
    console.log(`ok - ${name}`);
  } catch (error) {
    failed++;
    console.log(`not ok - ${name}\n${error.stack}`);
  }
  await page.close();
}
await browser.close();
chromiumProcess.kill();
server.close();
console.log(`${Object.keys(checks).length - failed} of ${Object.keys(checks).length} checks passed`);
process.exit(failed ? 1 : 0);
