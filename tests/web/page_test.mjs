// Plays the browser edition in a real engine and reads what the pupil gets:
// texts, computed colours, the focus, places. One table of checks, each on a
// fresh page, run in each engine. Usage: node page_test.mjs ENGINE SITE_DIR SHOTS_DIR
import assert from 'node:assert/strict';
import { cpSync, mkdirSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { engines } from './engines.mjs';
import { serve } from '../../web/serve.mjs';

const [engineName, site, shots] = process.argv.slice(2);
const delay = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const waitFor = async (page, fn, arg, timeout = 5000) => {
  for (const end = Date.now() + timeout; ; await delay(50)) {
    const value = await page.js(fn, arg).catch(() => null);
    if (value) return value;
    if (Date.now() > end) throw new Error(`waited in vain for ${fn}`);
  }
};
const press = async (page, combo) => {
  const keys = combo.split('+');
  for (const key of keys) await page.key(true, key);
  for (const key of keys.reverse()) await page.key(false, key);
};
const type = async (page, text) => { for (const key of text) { await page.key(true, key); await page.key(false, key); } };
const text = (page, id) => page.js((id) => { const e = document.getElementById(id); return e.tagName === 'INPUT' ? e.value : e.textContent; }, id);
const focus = (page) => page.js(() => document.activeElement.id);
const tint = (page) => page.js(() => getComputedStyle(Tavola).backgroundColor);
const scores = (page) => page.js(() => [lblScore, lblScore1, lblScore2].map((e) => e.textContent));
const problem = (page) => page.js(() => [Number(lblNum1.textContent), Number(lblNum2.textContent)]);
const answer = async (page) => { const [a, b] = await problem(page); return a - b; };
// A point of the surface, in the layout's pixels, as a point of the screen.
const at = (page, x, y) => page.js(([x, y]) => { const r = Tavola.getBoundingClientRect();
  return [r.left + x * r.width / 1006, r.top + y * r.height / 554]; }, [x, y]);
const tap = async (page, selector, touch = true) => {
  const [x, y] = await page.js((selector) => { const r = document.querySelector(selector).getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2]; }, selector);
  await page.pointer(touch, x, y);
};
// The open box as title, message, buttons and focus, once it is open (or closed).
const box = (page, open = true) => waitFor(page, (open) => box.open === open && [box.open && boxTitle.textContent,
  boxPrompt.textContent, [...box.querySelectorAll('button:not([hidden])')].map((b) => b.textContent).join('/'),
  document.activeElement.id], open).then((state) => (open ? state : false));
// axe's WCAG 2 A and AA rules on the page as it shows. The texts on the random
// tint and Exit's caption keep the layout's colours, as the README lists: only
// their contrast is left out.
const axeSource = readFileSync(new URL('node_modules/axe-core/axe.min.js', import.meta.url), 'utf8');
const fixedColours = ['#Label5', '#Label7', '#Label1', '#Label3', '#Label6', '#lblScore', '#lblScore1', '#lblScore2',
  '#lblMessage', '#lblTime', '#cmdExit > span:nth-child(2)'];
const accessible = async (page, when) => assert.deepEqual(await page.js(`async (fixed) => { if (!window.axe) { ${axeSource} }
  const { violations } = await axe.run(document, { runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'] });
  return violations.flatMap((v) => v.nodes.map((n) => [v.id, n.target.join(' ')]))
    .filter(([id, target]) => id !== 'color-contrast' || !fixed.includes(target)).map((v) => v.join(' ')); }`, fixedColours), [], when);
const clockChanges = async (page) => waitFor(page, (was) => lblTime.textContent !== was, await text(page, 'lblTime'), 3000);

// Left, top, width, height in the layout's pixels: its twips over 15.
const places = {
  Picture1: [640, 368, 366, 57], txtAnswer: [544, 8, 185, 80], cmdNext: [288, 408, 121, 73],
  cmdExit: [640, 272, 105, 73], Command1: [320, 424, 57, 41], Label7: [344, -8, 41, 105], Label5: [208, -8, 33, 105],
  Label4: [416, 24, 41, 65], Label2: [144, 24, 41, 65], lblMessage: [112, 136, 441, 41], Image1: [504, 88, 32, 32],
  Label3: [496, 224], Label1: [256, 224], lblScore2: [554, 272], lblScore1: [322, 272], lblTime: [560, 120],
  lblNum2: [280, 16], lblNum1: [56, 16], lblScore: [72, 272], Label6: [16, 224],
};
// Phone, tablet, lab PC and whiteboard: size, pixel ratio, touch.
const screens = [[360, 640, 3, true], [1024, 768, 2, true], [1920, 1080, 1, false], [3840, 2160, 1, true]];

const checks = {
  async 'every control at its place and size, the first problem on show'(page) {
    const found = await page.js((ids) => ids.map((id) => { const r = document.getElementById(id).getBoundingClientRect(),
      s = Tavola.getBoundingClientRect(), k = 1006 / s.width;
    return [r.left - s.left, r.top - s.top, r.width, r.height].map((v) => Math.round(v * k)); }), Object.keys(places));
    Object.values(places).forEach((place, i) => assert.deepEqual(found[i].slice(0, place.length), place, Object.keys(places)[i]));
    // Command1 lies behind Nuovo calcolo; the fonts and pictures are the page's own.
    assert.equal(await page.js(() => { const r = Command1.getBoundingClientRect();
      return document.elementFromPoint(r.left + r.width / 2, r.top + 5).closest('button').id; }), 'cmdNext');
    assert.deepEqual(await page.js(() => document.fonts.ready.then((fonts) => [...new Set([...fonts].filter((f) => f.status === 'loaded')
      .map((f) => `${f.family.replace(/"/g, '')} ${f.weight}`))].sort())), ['Tavola Sans 400', 'Tavola Sans 700', 'Tavola Serif 700']);
    assert.ok(await page.js(() => [...document.images].every((image) => image.naturalWidth > 0)));
    const order = [];
    for (const key of ['Shift+Tab', 'Tab', 'Tab', 'Shift+Tab']) order.push(await press(page, key).then(() => focus(page)));
    assert.deepEqual(order, ['cmdExit', 'txtAnswer', 'Command1', 'txtAnswer']);
    assert.match(await text(page, 'lblNum1') + ' ' + await text(page, 'lblNum2'), /^-?\d{1,2} -?\d{1,2}$/);
    assert.equal(await focus(page), 'txtAnswer');
    assert.equal(await page.js(() => document.title), 'Vorlando');
    assert.ok(await page.js(() => cmdNext.disabled));
    await accessible(page, 'at start');
  },
  async 'only the minus, digits and Backspace get in, typed or not, four at most'(page) {
    await type(page, 'a+.-1x2 3459');
    assert.equal(await text(page, 'txtAnswer'), '-123');
    for (const key of ['Backspace', 'Control+h', 'Backspace', 'Backspace']) await press(page, key);
    await page.insert('7a-9e99');
    assert.equal(await text(page, 'txtAnswer'), '7-99');
  },
  async 'Enter scores a right answer once, Enter again draws the next problem'(page) {
    const before = await tint(page);
    await type(page, String(await answer(page)));
    await press(page, 'Enter');
    assert.equal(await text(page, 'lblMessage'), 'Esatto, è incredibile!!!');
    assert.deepEqual(await scores(page), ['1', '0', '1']);
    assert.equal(await tint(page), before);
    assert.equal(await focus(page), 'cmdNext');
    await accessible(page, 'after a right answer');
    await press(page, 'Enter');
    assert.deepEqual([await text(page, 'lblMessage'), await text(page, 'txtAnswer'), await focus(page)], ['', '', 'txtAnswer']);
    assert.deepEqual(await scores(page), ['1', '0', '1']);
  },
  async 'a wrong answer shows the right value on black; Esc and the button draw anew'(page) {
    // Red and blue differ only below 13, where a swap of the two would show.
    while (Math.abs((await problem(page))[0]) >= 13) await page.reload().then(() => waitFor(page, () => lblNum1.textContent));
    const [a, b] = await problem(page);
    const size = (n, k) => Math.min(255, k * Math.abs(n));
    assert.equal(await tint(page), `rgb(${size(a, 20)}, ${size(b, 20)}, ${size(a, 50)})`);
    await type(page, String(a - b + 1));
    await press(page, 'Enter');
    assert.equal(await text(page, 'lblMessage'), `Sbagliato!! ${a - b}`);
    assert.equal(await tint(page), 'rgb(0, 0, 0)');
    assert.deepEqual(await scores(page), ['0', '1', '1']);
    await accessible(page, 'after a wrong answer');
    await press(page, 'Escape');
    assert.equal(await focus(page), 'txtAnswer');
    await type(page, String(await answer(page) + 1));
    await press(page, 'Enter');
    await tap(page, '#cmdNext', false);
    assert.deepEqual([await text(page, 'lblMessage'), await focus(page)], ['', 'txtAnswer']);
    assert.deepEqual(await scores(page), ['0', '2', '2']);
  },
  async 'the end-time box: the clock runs behind it, a bad entry is explained and kept'(page) {
    await page.pointer(false, ...await at(page, 763, 496));
    assert.deepEqual(await box(page), ['Il gioco termina alle ore', "Immettere l'orario di fine  gioco", 'OK/Annulla', 'boxEntry']);
    await clockChanges(page);
    await accessible(page, 'the end-time box');
    await type(page, 'abc');
    await press(page, 'Enter');
    assert.deepEqual(await box(page), ['Orario di esempio  14.22', "L'orario immesso non è valido.", 'OK', 'boxOk']);
    await accessible(page, 'the bad end time box');
    await press(page, 'Enter');
    await box(page, false);
    await press(page, 'F2');
    assert.equal((await box(page))[3], 'boxEntry');
    assert.equal(await text(page, 'boxEntry'), 'abc');
    await press(page, 'Escape');
    await box(page, false);
    assert.equal(await focus(page), 'txtAnswer');
  },
  async 'the alarm rings once: the end, then the new-game question, No by default'(page) {
    await type(page, '5');
    await press(page, 'F2');
    await box(page);
    await type(page, (await text(page, 'lblTime')).slice(0, 5).replace(':', '.'));
    await press(page, 'Enter');
    await waitFor(page, () => boxTitle.textContent === 'Fine', null, 3000);
    assert.match((await box(page))[1], /^Gioco fino alle \d\d:\d\d:\d\d$/);
    await accessible(page, 'the end box');
    await press(page, 'Enter');
    await waitFor(page, () => boxTitle.textContent !== 'Fine');
    assert.deepEqual(await box(page), ['INIZIARE NUOVA GARA', 'INIZIAMO UNA NUOVA GARA  ?', 'Sì/No', 'boxNo']);
    await accessible(page, 'the new-game box');
    await press(page, 'Enter');
    await clockChanges(page);
    await clockChanges(page);
    assert.equal(await box(page, false), false);
    assert.equal(await text(page, 'txtAnswer'), '5');
  },
  async 'the menu asks for a new game; No leaves it open, Yes starts the game as at first'(page) {
    // By keys: after No the focus stays in the menu, and Esc walks back out of it.
    for (const key of ['F10', 'ArrowDown', 'ArrowDown', 'ArrowRight']) await press(page, key);
    assert.equal((await box(page))[0], 'INIZIARE NUOVA GARA');
    await press(page, 'Enter');
    assert.equal(await box(page, false), false);
    assert.equal(await focus(page), 'web');
    for (const key of ['Escape', 'Escape', 'Escape']) await press(page, key);
    assert.equal(await focus(page), 'txtAnswer');
    await type(page, String(await answer(page)));
    await press(page, 'Enter');
    await tap(page, '#INFOMAZIONI', false);
    const [x, y] = await page.js(() => { const r = Next.getBoundingClientRect(); return [r.left + 5, r.top + 5]; });
    await page.pointer(false, x, y, false);
    assert.deepEqual(await box(page), ['INIZIARE NUOVA GARA', 'INIZIAMO UNA NUOVA GARA  ?', 'Sì/No', 'boxNo']);
    await tap(page, '#boxYes', false);
    await box(page, false);
    assert.deepEqual(await scores(page), ['0', '0', '0']);
    assert.deepEqual([await text(page, 'lblMessage'), await focus(page)], ['', 'txtAnswer']);
    assert.match(await text(page, 'lblNum1'), /^-?\d{1,2}$/);
  },
  async 'a tab hidden for minutes shows each minute in its title and rings on time; Vorlando again when shown'(page) {
    // What the pupil would see, and when, as the page records it.
    await page.js(() => { window.seen = [];
      const note = () => seen.push([Date.now(), document.title, box.open ? boxTitle.textContent : '']);
      new MutationObserver(note).observe(document.querySelector('title'), { childList: true });
      new MutationObserver(note).observe(box, { attributes: true, attributeFilter: ['open'] }); });
    const pad = (n) => String(n).padStart(2, '0');
    const end = Math.ceil((Date.now() + 120e3) / 60e3) * 60e3, at = new Date(end);
    await press(page, 'F2');
    await box(page);
    // With its date, so that it holds across midnight.
    await type(page, `${pad(at.getDate())}/${pad(at.getMonth() + 1)}/${at.getFullYear()} ${pad(at.getHours())}.${pad(at.getMinutes())}`);
    await press(page, 'Enter');
    await box(page, false);
    const hidden = Date.now();
    await page.hide();
    await delay(end + 3000 - Date.now());
    const seen = await page.js(() => seen);
    await page.show();
    const shown = (time, what) => (seen.find(([at, ...texts]) => at >= time && texts.includes(what))?.[0] ?? Infinity) - time;
    const minutes = Array.from({ length: Math.ceil((end - hidden) / 60e3) }, (_, i) => end - i * 60e3);
    const titles = minutes.map((minute) => { const t = new Date(minute), h = t.getHours();
      return shown(minute, `${pad(h % 12 || 12)}:${pad(t.getMinutes())} ${h < 12 ? 'AM' : 'PM'}`); });
    const lateness = [shown(end, 'Fine'), ...titles];
    console.log(`# hidden ${Math.round((end - hidden) / 1000)} s: the alarm ${lateness[0]} ms late, the title's minutes ${titles.join(', ')} ms late`);
    // The end's minute reaches the title at the first tick behind the alarm's box.
    assert.ok(lateness.every((late, i) => late >= 0 && late <= (i === 1 ? 1500 : 1000)), lateness.join());
    await waitFor(page, () => document.title === 'Vorlando', null, 3000);
    await press(page, 'Enter');
    assert.deepEqual((await box(page))[0], 'INIZIARE NUOVA GARA');
    await press(page, 'Enter');
  },
  async 'never stuck: random keys, pastes, clicks and boxes; the counters match the answers scored'(page) {
    // No Tab, which can take the keys out of the page to the browser's own controls.
    const keys = ['Enter', 'Enter', 'Escape', 'Backspace', 'F2', 'Alt+n', '-', '7', 'x', ' ', 'Control+v'];
    const texts = ['9e99', '-'.repeat(300), '١٢٣', '😀7', '\r5', '0x1F', ' 12 ', 'ab.c'];
    let scored = 0, state = Number(process.env.TAVOLA_SEED) || Date.now() % 2147483646 + 1;
    const seed = state, random = () => (state = (state * 48271) % 2147483647) / 2147483647;
    console.log(`# seed ${seed}`);
    for (let step = 0; step < 300; step++) {
      const pick = (list) => list[Math.floor(random() * list.length)];
      // Anything but Exit, and no clicks on a box, where one could start a new game.
      const [inBox, focused] = await page.js(() => [box.open, document.activeElement.id]);
      const onAnswer = focused === 'txtAnswer';
      const action = random();
      // Enter or a blank, typed or pasted, would press Exit.
      if (focused === 'cmdExit') await press(page, 'Tab');
      else if (action < 0.6 || inBox) {
        const key = pick(keys);
        if (key === 'Enter' && onAnswer && !inBox) scored++;
        await press(page, key);
      } else if (action < 0.8) {
        const text = pick(texts);
        if (onAnswer && !inBox) scored += text.split('\r').length - 1;
        await page.insert(text);
      } else {
        const [x, y] = [random() * 1006, random() * 578 - 24];
        // Exit, with a margin: a click on its edge rounds onto it.
        if (x < 636 || x > 749 || y < 268 || y > 349) await page.pointer(false, ...await at(page, x, y));
      }
    }
    while (await page.js(() => box.open)) await press(page, 'Escape');
    const [right, wrong, total] = (await scores(page)).map(Number);
    assert.deepEqual([right + wrong, total], [scored, scored], `seed ${seed}`);
    await clockChanges(page);
  },
  async 'every screen: the window fits beside or above the keypad, nothing covered; a game by touch'(page) {
    const keys = async (text) => { for (const key of text) await tap(page, `#keypad [value="${key}"]`); };
    for (const [width, height, scale, touch] of screens) await (async () => {
      await page.viewport(width, height, scale, touch);
      await page.reload();
      await waitFor(page, () => lblNum1.textContent !== '');
      if (touch !== await page.js(() => matchMedia('(pointer: coarse)').matches)) await tap(page, '#keypadToggle', false);
      const [screen, frame, pad, ratio, small, covered, inputMode] = await page.js(() => {
        const box = (e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom].map(Math.round); };
        const targets = [...document.querySelectorAll('#Tavola button:not(#Command1), #txtAnswer, #INFOMAZIONI, #keypadToggle, #keypad:not([hidden]) button')];
        const least = (e, r) => Math.min(r.width, r.height) >= (e.closest('#keypad') ? 44 : 24);
        const seen = (e, r) => e.contains(document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2));
        const rects = targets.map((e) => e.getBoundingClientRect()), s = Tavola.getBoundingClientRect();
        return [[0, 0, innerWidth, innerHeight], box(document.getElementById('window')), box(keypad), s.width / s.height,
          targets.filter((e, i) => !least(e, rects[i])).map((e) => e.id || e.value),
          targets.filter((e, i) => !seen(e, rects[i])).map((e) => e.id || e.value), txtAnswer.inputMode];
      });
      const where = `window ${frame}, keypad ${pad}`;
      const [beside, below, inside] = [frame[2] <= pad[0], frame[3] <= pad[1], (r) => r[0] >= 0 && r[1] >= 0 && r[2] <= screen[2] && r[3] <= screen[3]];
      assert.deepEqual([pad[2] > pad[0], inputMode, small, covered], [touch, touch ? 'none' : '', [], []]);
      assert.ok(inside(frame) && inside(pad) && (beside || below || !touch), where);
      // As large as the screen less the keypad allows, in the window's proportions.
      const free = [screen[2] - (beside ? pad[2] - pad[0] : 0), screen[3] - (below ? pad[3] - pad[1] : 0)];
      assert.ok(Math.abs(ratio - 1006 / 554) < 0.01 && (frame[2] - frame[0] > 0.95 * free[0] || frame[3] - frame[1] > 0.9 * free[1]), where);
      await page.shot(`${shots}/${engineName}-${width}x${height}.png`);
      if (!touch) return;
      // Right, the next problem, then wrong: the keypad's keys act as the keyboard's.
      const right = await answer(page);
      await keys(['9', 'Backspace', ...String(right), 'Enter']);
      assert.deepEqual([await text(page, 'lblMessage'), await focus(page)], ['Esatto, è incredibile!!!', 'cmdNext']);
      await keys(['Enter']);
      await keys([...String(await answer(page) + 1), 'Enter']);
      assert.match(await text(page, 'lblMessage'), /^Sbagliato!! -?\d+$/);
      await tap(page, '#cmdNext');
      assert.deepEqual([await scores(page), await text(page, 'lblMessage')], [['1', '1', '2'], '']);
    })().catch((error) => { error.message = `${width}×${height}: ${error.message}`; throw error; });
    // An end time, by touch: the box's entry takes the device's keyboard.
    await page.pointer(true, ...await at(page, 900, 200));
    assert.deepEqual(await box(page), ['Il gioco termina alle ore', "Immettere l'orario di fine  gioco", 'OK/Annulla', 'boxEntry']);
    await type(page, '23.59');
    await tap(page, '#boxOk');
    assert.deepEqual([await box(page, false), await page.js(() => boxEntry.inputMode)], [false, '']);
  },
  async 'offline after the first visit; a new version takes over at the next'(page) {
    const copy = mkdtempSync(`${tmpdir()}/tavola-site-`);
    cpSync(site, copy, { recursive: true });
    let server = await serve(copy, { port: 0, base: '/giochi/tavola/' });
    const { port } = server.address(), url = `http://127.0.0.1:${port}/giochi/tavola/`;
    await page.goto(url);
    await waitFor(page, () => navigator.serviceWorker.ready.then((worker) => caches.keys().then((keys) => keys.length === 1 && Boolean(worker.active))));
    if (page.installErrors) assert.deepEqual(await page.installErrors(), []);
    server.closeAllConnections();
    await new Promise((resolve) => server.close(resolve));
    await page.reload();
    await waitFor(page, () => lblNum1.textContent !== '');
    await type(page, String(await answer(page)));
    await press(page, 'Enter');
    assert.equal(await text(page, 'lblMessage'), 'Esatto, è incredibile!!!');
    // The next build: another colour around the window, and so another worker.
    for (const file of ['tavola.css', 'sw.js']) writeFileSync(`${copy}/${file}`, readFileSync(`${copy}/${file}`, 'utf8')
      .replace('#c0c0c0', '#c0c0c1').replace(/const version = '(\w+)'/, "const version = '$1-next'"));
    server = await serve(copy, { port, base: '/giochi/tavola/' });
    await page.reload();
    await waitFor(page, () => caches.keys().then((keys) => keys.length === 1 && keys[0].endsWith('-next')));
    await page.reload();
    await waitFor(page, () => getComputedStyle(document.body).backgroundColor === 'rgb(192, 192, 193)');
    server.close();
  },
  async 'Exit ends the game and says so'(page) {
    await press(page, 'Alt+x').catch((error) => { if (!page.closed()) throw error; });
    // Firefox lets a page close a tab that a script opened, and the test's tabs are such.
    if (!page.closed()) assert.match(await page.js(() => document.getElementById('window').hidden && ended.textContent), /la partita è finita/);
  },
};

mkdirSync(shots, { recursive: true });
const engine = await engines[engineName]();
const server = await serve(site, { port: 0, base: '/giochi/tavola/' });
let failed = 0;
// TAVOLA_CHECKS=REGEX runs only the checks it matches.
const chosen = Object.entries(checks).filter(([name]) => new RegExp(process.env.TAVOLA_CHECKS ?? '').test(name));
for (const [name, check] of chosen) {
  const page = await engine.open();
  try {
    await page.viewport(1280, 800);
    await page.goto(`http://127.0.0.1:${server.address().port}/giochi/tavola/`);
    await waitFor(page, () => lblNum1.textContent !== '' && lblTime.textContent !== '');
    await check(page);
    assert.deepEqual(page.errors, []);
    console.log(`ok - ${engineName}: ${name}`);
  } catch (error) {
    failed++;
    console.log(`not ok - ${engineName}: ${name}\n${error.stack}`);
    await page.shot(`${shots}/${engineName}-failed.png`).catch(() => {});
  }
  await page.close();
}
await engine.close();
server.close();
console.log(`${engineName}: ${chosen.length - failed} of ${chosen.length} checks passed`);
process.exit(failed ? 1 : 0);
