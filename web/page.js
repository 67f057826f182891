// The page's side of the game: it shows what the module writes and hands
// the pupil's keys, clicks and the clock's ticks to the module's handlers.
// No rule of the game is here. The module is called one event at a time;
// while one of its boxes is open it waits inside that box, and whatever
// comes meanwhile (ticks, the tab hidden or shown) is handed to that wait.
import createCore from './core.js';

const $ = (id) => document.getElementById(id);
let box = $('box');
const events = { tick: 0, resize: 3 };
const answers = { yesOrOk: 1, noOrCancel: 2 };

let core = null;
let busy = false;      // the module waits inside a box
let waiter = null;     // resolves that wait
let boxSerial = 0;     // the boxes opened so far
let answeredSerial = 0; // the last of them that was answered
let ended = false;
let audio = null;
let pristine = null;   // the window as the page first showed it
let lastControl = null;
let answerKept = '';   // the answer box as the key handler left it
let boxClosedAt = -Infinity;
let focusWanted = null; // what the module focused before the page showed

// Runs one handler of the module; a handler that opens a box returns later.
function call(name) {
  if (busy || ended || !core) return Promise.resolve();
  const done = core.ccall(name, null, [], [], { async: true });
  if (!waiter) return done;
  busy = true;
  return done.finally(() => { busy = false; });
}

// An event for the module: straight in, or to the open box's wait.
function deliver(event, handler) {
  if (!busy) { if (handler) call(handler); }
  else if (waiter) { const wake = waiter; waiter = null; wake(event); }
}

// The answer box's key handler: the character as it leaves it (0: discarded).
function press(code) { return busy || ended || !core ? 0 : core._tv_keyPress(code); }

const answerBox = () => $('txtAnswer');

function erase() {
  const input = answerBox();
  const start = input.selectionStart, end = input.selectionEnd;
  if (start !== end) input.setRangeText('', start, end, 'end');
  else if (start > 0) input.setRangeText('', start - 1, start, 'end');
  answerKept = input.value;
}

// Text that arrives without a key (a paste, an on-screen keyboard, an input
// method) goes through the key handler a character at a time, as if typed.
function typeText(text) {
  for (const character of text) {
    const kept = press(character.codePointAt(0));
    const input = answerBox();
    if (kept === 8) erase();
    else if (kept !== 0 && kept !== 13 && input.value.length - (input.selectionEnd - input.selectionStart) < input.maxLength)
      input.setRangeText(String.fromCharCode(kept), input.selectionStart, input.selectionEnd, 'end');
  }
  answerKept = answerBox().value;
}

const page = {
  text(id) {
    const element = id && $(id);
    if (!element) return document.title;
    return element.tagName === 'INPUT' ? element.value : element.textContent;
  },
  setText(id, text) {
    const element = $(id);
    if (element.tagName === 'INPUT') element.value = text;
    else element.textContent = text;
    if (id === 'txtAnswer') answerKept = text;
  },
  setEnabled: (id, enabled) => { $(id).disabled = !enabled; },
  setFocus: (id) => { focusWanted = id; $(id).focus(); },
  setBackColor: (red, green, blue) => { $('Tavola').style.backgroundColor = `rgb(${red}, ${green}, ${blue})`; },
  setCaption: (caption) => { document.title = caption; },
  setAccessible(id, description, text) {
    const element = $(id);
    if (description) element.setAttribute('aria-description', text);
    else {
      // A button's caption stays in its name, for those who speak to the page.
      const caption = element.tagName === 'BUTTON' ? element.textContent.trim() : '';
      const name = text.includes(caption) ? text : `${text} ${caption}`;
      element.dataset.name = name;
      element.setAttribute('aria-label', name);
    }
  },
  // Said with the name of the focused control, until the game names it anew.
  announce(message) {
    const element = document.activeElement;
    if (!element || element === document.body) return;
    element.dataset.name ??= element.getAttribute('aria-label') ?? element.textContent;
    element.setAttribute('aria-label', `${element.dataset.name} ${message}`);
  },
  // A new game builds every control afresh, as the page first showed them.
  load() {
    const frame = $('window');
    if (!pristine) pristine = frame.cloneNode(true);
    else frame.replaceChildren(...pristine.cloneNode(true).childNodes);
    answerKept = '';
    showKeypad(!$('keypad').hidden);
  },
  unload() { closeMenus(); },
  beep() {
    if (!audio) return;
    const tone = audio.createOscillator(), level = audio.createGain();
    tone.frequency.value = 880;
    level.gain.setValueAtTime(0.2, audio.currentTime);
    level.gain.exponentialRampToValueAtTime(0.001, audio.currentTime + 0.25);
    tone.connect(level).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.25);
  },
  openBox(kind, title, prompt, entry) {
    closeMenus();
    // A box that follows another at once is a new one, or a screen reader
    // would take it for the same box and say nothing.
    if (performance.now() - boxClosedAt < 100) {
      const fresh = box.cloneNode(true);
      box.replaceWith(fresh);
      box = fresh;
      listenToBox(box);
    }
    const shown = { boxOk: kind !== 1, boxYes: kind === 1, boxNo: kind === 1, boxCancel: kind === 2,
                    boxEntry: kind === 2, boxIcon: kind === 1 };
    for (const [id, show] of Object.entries(shown)) $(id).hidden = !show;
    $('boxTitle').textContent = title;
    $('boxPrompt').textContent = prompt;
    $('boxEntry').value = entry;
    boxSerial++;
    // A screen reader tells an alert as it comes, whatever brought it.
    box.setAttribute('role', kind === 2 ? 'dialog' : 'alertdialog');
    box.showModal();
    $({ 0: 'boxOk', 1: 'boxNo', 2: 'boxEntry' }[kind]).focus();
    if (kind === 2) $('boxEntry').select();
  },
  waitEvent: () => new Promise((resolve) => { waiter = resolve; }),
  boxEntry: () => $('boxEntry').value,
  end() {
    ended = true;
    $('window').hidden = true;
    $('keypad').hidden = true;
    $('ended').hidden = false;
    // The ending is an alert, and the focus goes to it: a screen reader reads it.
    $('ended').focus();
    // Only a tab that a script opened can be closed by one.
    window.close();
  },
};

// The answer goes to the module at once, so that whatever the module does
// next (another box, say) is done before the next key or click comes.
function answerBoxWith(value) {
  if (!box.open) return;
  answeredSerial = boxSerial;
  box.close();
  boxClosedAt = performance.now();
  deliver(value);
}

function listenToBox(dialog) {
  dialog.addEventListener('click', (event) => {
    const button = event.target.closest('button');
    if (button) answerBoxWith(Number(button.value));
  });
  dialog.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && event.target.id === 'boxEntry') {
      event.preventDefault();
      answerBoxWith(answers.yesOrOk);
    }
  });
  dialog.addEventListener('cancel', (event) => {
    event.preventDefault();
    answerBoxWith(answers.noOrCancel);
  });
  // A box the browser closed by itself (Esc pressed twice, say) answers as Esc.
  dialog.addEventListener('close', () => {
    if (box.open || answeredSerial === boxSerial) return;
    answeredSerial = boxSerial;
    deliver(answers.noOrCancel);
  });
}
listenToBox(box);

// The menu bar: entries open their submenus; opening "nuovo" asks first.
function closeMenus(except) {
  for (const open of document.querySelectorAll('#menubar li.open')) {
    if (except && open.contains(except)) continue;
    open.classList.remove('open');
    open.firstElementChild.setAttribute('aria-expanded', 'false');
  }
}

async function openMenu(item, focusFirst) {
  closeMenus(item);
  if (item.id === 'Next' && !item.closest('li').classList.contains('open')) {
    await call('tv_newGame');
    if (!item.isConnected) return;  // a new game has built the menus anew
  }
  // Open as the pupil left it, even after a box closed the menus.
  for (let li = item.closest('li'); li; li = li.parentElement.closest('li')) {
    li.classList.add('open');
    li.firstElementChild.setAttribute('aria-expanded', 'true');
  }
  if (focusFirst) item.nextElementSibling.querySelector('button').focus();
}

function leaveMenus() {
  closeMenus();
  (lastControl?.isConnected ? lastControl : answerBox())?.focus();
}

document.addEventListener('click', (event) => {
  // A click that answered a box has been dealt with; by now the menu it came from may be open again.
  if (busy || ended || event.target.closest('dialog')) return;
  const target = event.target;
  const item = target.closest('#menubar button');
  if (item) {
    if (item.hasAttribute('aria-haspopup')) openMenu(item, false);
    else leaveMenus();
    return;
  }
  closeMenus();
  if (target.closest('#keypadToggle')) showKeypad($('keypad').hidden);
  const button = target.closest('#Tavola button');
  if (button?.id === 'cmdNext') call('tv_next');
  else if (button?.id === 'cmdExit') call('tv_exit');
  else if (target.id === 'Tavola') call('tv_surfaceClick');
});
document.addEventListener('mouseover', (event) => {
  const item = event.target.closest('#menubar ul button');
  if (!busy && item && document.querySelector('#menubar li.open')) {
    if (item.hasAttribute('aria-haspopup')) openMenu(item, false);
    else closeMenus(item);
  }
});
// The surface and its pictures and labels take no focus, as on the desktop:
// a click there leaves it where it was.
document.addEventListener('mousedown', (event) => {
  if (event.target.closest('#Tavola') && !event.target.closest('button, input')) event.preventDefault();
});
document.addEventListener('focusin', (event) => {
  if (event.target.closest('#Tavola')) lastControl = event.target;
});

function menuKey(event, item) {
  const siblings = [...item.closest('ul').children].map((li) => li.firstElementChild);
  const step = (by) => siblings[(siblings.indexOf(item) + by + siblings.length) % siblings.length].focus();
  const top = item.id === 'INFOMAZIONI';
  switch (event.key) {
    case 'ArrowDown': top ? openMenu(item, true) : step(1); break;
    case 'ArrowUp': if (!top) step(-1); break;
    case 'ArrowRight': if (!top && item.hasAttribute('aria-haspopup')) openMenu(item, true); break;
    case 'ArrowLeft': case 'Escape': {
      const parent = item.closest('ul[role=menu]')?.previousElementSibling;
      if (!parent) { leaveMenus(); break; }
      closeMenus(parent.closest('ul[role=menu]') ? parent : null);
      parent.focus();
      break;
    }
    case 'F10': leaveMenus(); break;
    default: return;
  }
  event.preventDefault();
}

// Alt pressed and let go alone takes the keyboard to the menu bar, as F10 does.
let altAlone = false;
document.addEventListener('keyup', (event) => {
  if (event.key === 'Alt' && altAlone && !busy && !ended) {
    event.preventDefault();
    const bar = $('INFOMAZIONI');
    if (document.activeElement === bar) leaveMenus(); else bar.focus();
  }
});

// Browsers start sound only from the pupil's own key or tap.
function startAudio() {
  audio ??= new AudioContext();
  if (audio.state === 'suspended') audio.resume();
}

document.addEventListener('keydown', (event) => {
  altAlone = event.key === 'Alt';
  startAudio();
  if (busy || ended) return;
  const target = event.target;
  const item = target.closest?.('#menubar button');
  if (item) return menuKey(event, item);
  if (target.id === 'txtAnswer' && !event.altKey) {
    if (event.key === 'Enter') {
      // The same Enter must not also click the button that takes the focus.
      event.preventDefault();
      press(13);
      return;
    }
    if (event.key === 'Backspace' && press(8) === 0) event.preventDefault();
    if (event.ctrlKey && event.key.toLowerCase() === 'h') {
      event.preventDefault();
      if (press(8) === 8) erase();
    }
    if (event.key === 'Backspace' || event.ctrlKey) return;
  }
  if (event.key === 'Escape') {
    if (!$('cmdNext').disabled) call('tv_next');
  } else if (event.key === 'F2') {
    event.preventDefault();
    call('tv_surfaceClick');
  } else if (event.key === 'F10') {
    event.preventDefault();
    $('INFOMAZIONI').focus();
  } else if (event.altKey && !event.ctrlKey) {
    const button = document.querySelector(`#Tavola button[data-key="${event.key.toLowerCase()}"]`);
    if (button) {
      event.preventDefault();
      if (!button.disabled) button.click();
    }
  }
});
document.addEventListener('pointerdown', startAudio);

let composing = null;
document.addEventListener('beforeinput', (event) => {
  if (event.target.id !== 'txtAnswer' || !event.inputType.startsWith('insert') || event.isComposing) return;
  event.preventDefault();
  typeText(event.data ?? event.dataTransfer?.getData('text/plain') ?? '');
});
// Composed text cannot be refused while it is composed: the box goes back
// to what it held and takes the result through the key handler.
document.addEventListener('compositionstart', (event) => {
  const input = event.target;
  if (input.id === 'txtAnswer') composing = [input.value, input.selectionStart, input.selectionEnd];
});
document.addEventListener('compositionend', (event) => {
  const input = event.target;
  if (input.id !== 'txtAnswer' || !composing) return;
  [input.value, input.selectionStart, input.selectionEnd] = composing;
  composing = null;
  typeText(event.data ?? '');
});

// Text that got in with no cancelable beforeinput (a script's insertText,
// some input methods) is taken out again and goes through the key handler.
document.addEventListener('input', (event) => {
  const input = event.target;
  if (input.id !== 'txtAnswer' || composing) return;
  if (event.inputType.startsWith('insert')) {
    const added = event.data ?? event.dataTransfer?.getData('text/plain') ?? '';
    input.value = answerKept;
    typeText(added);
  }
  answerKept = input.value;
});

document.addEventListener('visibilitychange', () => deliver(events.resize, 'tv_resize'));

// The window's scale: the largest that fits the screen, beside the keypad or
// below it. The menu bar and the boxes never shrink below their own size.
function fit() {
  const size = (name) => Number(getComputedStyle(document.documentElement).getPropertyValue(name));
  const [width, height, bar] = ['--form-width', '--form-height', '--bar'].map(size);
  const scaleFor = (across, down) => {
    const grown = Math.min(across / width, down / (height + bar));
    return grown >= 1 ? grown : Math.min(across / width, (down - bar) / height);
  };
  const keypad = $('keypad'), gap = 8;
  const { clientWidth: across, clientHeight: down } = document.documentElement;
  let scale = scaleFor(across, down), below = false;
  if (!keypad.hidden) {
    const beside = scaleFor(across - keypad.offsetWidth - gap, down);
    const under = scaleFor(across, down - keypad.offsetHeight - gap);
    [scale, below] = under > beside ? [under, true] : [beside, false];
  }
  document.body.classList.toggle('below', below);
  document.documentElement.style.setProperty('--scale', Math.max(scale, 0.1));
}
function showKeypad(shown) {
  $('keypad').hidden = !shown;
  $('keypadToggle').setAttribute('aria-pressed', shown);
  // The system keyboard stays down while the page has its own.
  answerBox().inputMode = shown ? 'none' : '';
  fit();
}
addEventListener('resize', fit);
$('keypad').addEventListener('mousedown', (event) => event.preventDefault());
// A key of the keypad acts as the same key of a keyboard would.
$('keypad').addEventListener('click', (event) => {
  const key = event.target.closest('button')?.value;
  const focused = document.activeElement;
  if (!key || busy || ended) return;
  if (focused.id === 'txtAnswer' || !focused.closest('#Tavola')) {
    answerBox().focus();
    typeText({ Backspace: '\b', Enter: '\r' }[key] ?? key);
  } else if (key === 'Enter' && focused.matches('button:enabled')) focused.click();
});
showKeypad(matchMedia('(pointer: coarse)').matches);

// The page shows once the first problem is drawn (or the module failed), so
// the browser lays out and rasters the window once, and not first empty.
try {
  core = await createCore({ page });
  performance.mark('tavola:instantiated');
  await call('tv_start');
  performance.mark('tavola:first-problem');
} finally {
  document.body.classList.add('drawn');
  fit();
  if (focusWanted) $(focusWanted).focus();
}
// Both workers start once the first problem is on screen: started sooner,
// they take the processor from its first frame.
setTimeout(() => {
  // Offline after the first visit; the worker's cache is named by the site's version.
  navigator.serviceWorker?.register('sw.js').catch(() => {});
  // A worker's clock keeps its pace in a hidden tab.
  new Worker('tick.js').addEventListener('message', () => deliver(events.tick, 'tv_tick'));
}, 700);
