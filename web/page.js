// The page around the game: loading with progress, the game fitted to the screen, the
// toolbar and the touch gestures (both sent as the desktop's keys and mouse), the input
// method's box, the end of the game. Saves that travel are in saves.js.
(function () {
  'use strict';
  const $ = (id) => document.getElementById(id);
  const canvas = $('canvas'), stage = $('stage'), ime = $('ime'), toolbar = $('toolbar');
  const trace = $('trace');
  const automated = new URLSearchParams(location.search).has('input');

  // What each button and gesture sends: the events the desktop's keys and mouse give
  // SDL, so that one path in the game serves keyboard, mouse, toolbar and touch.
  const INPUTS = {
    history: {button: 2},       // right click: opens the history, closes it again
    historyUp: {wheel: -1},     // wheel up: into the history
    historyDown: {wheel: 1},    // wheel down: back out of it
    skip: {key: 'Control', code: 'ControlLeft', keyCode: 17, hold: true},
    auto: {key: 'a', code: 'KeyA', keyCode: 65},
    hide: {key: 'h', code: 'KeyH', keyCode: 72},
  };
  const LONG_PRESS_MS = 500;
  const MOVE_PX = 24;          // a touch that moves further is a swipe, not a tap
  const TWO_FINGER_MS = 400;

  // ---- Sending inputs ----------------------------------------------------------
  let pointer = null;  // where the player last touched, in page pixels
  function mouse(type, button, at) {
    const init = {bubbles: true, cancelable: true, clientX: at.x, clientY: at.y, button,
                  buttons: type === 'mousedown' ? (button === 2 ? 2 : 1) : 0};
    canvas.dispatchEvent(new MouseEvent(type, init));
  }
  function key(type, k) {
    window.dispatchEvent(new KeyboardEvent(type, {bubbles: true, cancelable: true, key: k.key, code: k.code,
                                                  keyCode: k.keyCode, which: k.keyCode, ctrlKey: k.keyCode === 17 && type === 'keydown'}));
  }
  // A click of `button` where the player touched (SDL takes the place from the move).
  function click(button, at) {
    pointer = at;
    mouse('mousemove', 0, at);
    mouse('mousedown', button, at);
    mouse('mouseup', button, at);
  }
  function send(name, at) {
    const input = INPUTS[name];
    if (input.button !== undefined) click(input.button, at || centre());
    else if (input.wheel) {
      const p = pointer || centre();
      canvas.dispatchEvent(new WheelEvent('wheel', {bubbles: true, cancelable: true, deltaY: input.wheel * 100,
                                                    deltaMode: 0, clientX: p.x, clientY: p.y}));
    } else {
      key('keydown', input);
      if (!input.hold) key('keyup', input);
    }
  }
  function release(name) {
    const input = INPUTS[name];
    if (input.hold) key('keyup', input);
  }
  function centre() {
    const r = canvas.getBoundingClientRect();
    return {x: r.left + r.width / 2, y: r.top + r.height / 2};
  }

  // ---- Loading -----------------------------------------------------------------
  const progress = {got: 0, total: 0, bar: $('progress'), text: $('progress-text')};
  function counted(response, expected) {
    const length = Number(response.headers.get('Content-Length')) || expected || 0;
    progress.total += length;
    showProgress();
    const count = new TransformStream({
      transform(chunk, out) { progress.got += chunk.byteLength; showProgress(); out.enqueue(chunk); },
    });
    return response.body.pipeThrough(count);
  }
  function showProgress() {
    if (!progress.total) return;
    const part = Math.min(1, progress.got / progress.total);
    progress.bar.value = part;
    progress.text.textContent = '読み込み中… (loading) ' + Math.round(part * 100) + ' %';
  }
  const unpacks = typeof DecompressionStream === 'function';
  // The program, sent gzip-compressed and unpacked as it comes; compiled while the rest
  // loads. Without the packed file or the browser's unpacker, the program as it is.
  async function program() {
    const r = unpacks ? await fetch('dalvo.wasm.gz') : {ok: false};
    if (r.ok) {
      const body = counted(r).pipeThrough(new DecompressionStream('gzip'));
      return WebAssembly.compileStreaming(new Response(body, {headers: {'Content-Type': 'application/wasm'}}));
    }
    const plain = await fetch('dalvo.wasm');
    if (!plain.ok) throw new Error('dalvo.wasm: ' + plain.status);
    return WebAssembly.compile(await new Response(counted(plain)).arrayBuffer());
  }
  const wasm = program().then((module) => { document.body.dataset.wasmMs = performance.now().toFixed(0); return module; });

  // The data folder (one pack), the fonts and the music, unpacked into the program's
  // files. What the manifest marks "later" is not needed for the title: the whole
  // Japanese font (the game starts with a small first cut of it) comes once the title
  // is up, or sooner if the game asks for it; a piece of music comes when the game first
  // asks for it, and the piece the scenario starts after it comes next.
  async function fetchBytes(entry) {
    const gz = entry.gz && unpacks;
    const r = await fetch('files/' + entry.path + (gz ? '.gz' : ''));
    if (!r.ok) throw new Error(entry.path + ': ' + r.status);
    const body = counted(r, entry.gz ? 0 : entry.size);
    return new Uint8Array(await new Response(gz ? body.pipeThrough(new DecompressionStream('gzip')) : body).arrayBuffer());
  }
  function writeFile(path, bytes) {
    const at = '/' + path;
    FS.mkdirTree(at.slice(0, at.lastIndexOf('/')));
    // Written under another name and renamed: the game never sees half a file. The
    // file keeps the fetched bytes rather than a copy.
    FS.writeFile(at + '.part', bytes, {canOwn: true});
    FS.rename(at + '.part', at);
  }
  async function load(entry) {
    const bytes = await fetchBytes(entry);
    return () => {
      if (!entry.pack) return writeFile(entry.path, bytes);
      let at = 0;
      for (const [name, size] of entry.pack) {
        writeFile(entry.path.replace(/[^/]*$/, '') + name, bytes.subarray(at, at + size));
        at += size;
      }
    };
  }
  const failed = (e) => {
    progress.text.textContent = 'ゲームを始められません (the game cannot start): ' + e;
    document.title = 'dalvo: error';
  };
  // The build writes the list of files into the page, which saves a round trip.
  const listed = $('manifest').textContent.trim();
  const manifest = listed ? Promise.resolve(JSON.parse(listed)) : fetch('files/manifest.json').then((r) => r.json());
  const first = manifest.then((list) => Promise.all(list.filter((f) => !f.later).map(load)));
  const later = new Map();
  function fetchLater(path) {
    if (!later.has(path)) {
      const coming = manifest.then((list) => {
        const entry = list.find((f) => f.path === path);
        return entry ? load(entry).then((write) => { write(); return entry; }) : undefined;
      });
      // A fetch that failed is tried again when the game asks again.
      coming.catch(() => later.delete(path));
      later.set(path, coming);
    }
    return later.get(path);
  }
  // What the game asks for, then the piece after it (only one ahead).
  function loadLater(path) {
    const coming = fetchLater(path);
    coming.then((entry) => { if (entry && entry.next) fetchLater(entry.next).catch(() => {}); }, () => {});
    return coming;
  }
  // Saves kept in the browser's database: read while the program compiles and the files
  // load, copied into the data folder with them.
  const stored = '/stored';
  function openStore() {
    FS.mkdir(stored);
    FS.mount(IDBFS, {}, stored);
    return new Promise((done, fail) => FS.syncfs(true, (err) => (err ? fail(err) : done())));
  }
  function restoreSaves() {
    for (const name of FS.readdir(stored)) {
      if (name !== '.' && name !== '..') FS.writeFile('/data/' + name, FS.readFile(stored + '/' + name));
    }
    Module.dalvoStore = {dir: '/data', store: stored};
  }
  let store = null;
  window.Module = {
    // As soon as the program's files exist, while it compiles: the browser's database
    // may take a while to open.
    preInit: [() => {
      // A browser that refuses its database may throw at once, or later.
      store = new Promise((done) => done(openStore())).then(() => true, (e) => {
        console.warn('dalvo: saves are not kept across reloads:', e);
        window.dalvoSaves.unkept();
        return false;
      });
    }],
    preRun: [() => {
      Module.addRunDependency('dalvo-files');
      const fetched = first.then((writes) => { document.body.dataset.fetchedMs = performance.now().toFixed(0); return writes; });
      Promise.all([fetched, store]).then(([writes, kept]) => {
        writes.forEach((write) => write());
        if (kept) restoreSaves();
        document.body.dataset.filesMs = performance.now().toFixed(0);
        Module.removeRunDependency('dalvo-files');
      }).catch(failed);
    }],
    instantiateWasm(imports, done) {
      wasm.then((module) => WebAssembly.instantiate(module, imports).then((instance) => done(instance, module)))
        .catch(failed);
      return {};
    },
    canvas,
    print: (t) => console.log(t),
    printErr: (t) => console.warn(t),
  };

  // ---- Fitting the game to the screen --------------------------------------------
  // The largest size that fits with the game's shape kept. "Sharp" keeps to whole
  // multiples of the screen's pixels where one fits, drawn nearest; otherwise the
  // picture fills the space, smoothed.
  const BAR = 48;  // the toolbar's thickness
  let sharp = false;
  try { sharp = localStorage.getItem('dalvo-sharp') === '1'; } catch (e) {}
  function fit() {
    const vw = document.documentElement.clientWidth, vh = document.documentElement.clientHeight;
    const w = canvas.width, h = canvas.height;
    // The toolbar goes under the game or beside it, where the game loses less; when
    // either would cost a tenth of the game's size, it floats over the game's top edge
    // and shows when the pointer comes near.
    const below = Math.min(vw / w, (vh - BAR) / h), side = Math.min((vw - BAR * 2) / w, vh / h);
    const full = Math.min(vw / w, vh / h);
    let mode = below >= side ? 'below' : 'side', s = Math.max(below, side);
    if (s < full * 0.9) { mode = 'float'; s = full; }
    const dpr = window.devicePixelRatio || 1;
    const whole = Math.floor(s * dpr + 0.01);
    if (sharp && whole >= 1) s = whole / dpr;
    canvas.classList.toggle('sharp', Math.abs(s * dpr - Math.round(s * dpr)) < 0.01);
    const cw = Math.floor(w * s), ch = Math.floor(h * s);
    canvas.style.width = cw + 'px';
    canvas.style.height = ch + 'px';
    const room = mode === 'below' ? vh - BAR : vh, roomW = mode === 'side' ? vw - BAR * 2 : vw;
    const left = Math.max(0, Math.floor((roomW - cw) / 2)), top = Math.max(0, Math.floor((room - ch) / 2));
    stage.style.left = left + 'px';
    stage.style.top = top + 'px';
    toolbar.className = mode;
    const t = toolbar.style;
    if (mode === 'below') Object.assign(t, {left: '0', top: (top + ch) + 'px', width: vw + 'px', height: BAR + 'px'});
    else if (mode === 'side') Object.assign(t, {left: (left + cw) + 'px', top: '0', width: BAR * 2 + 'px', height: vh + 'px'});
    else Object.assign(t, {left: left + 'px', top: top + 'px', width: cw + 'px', height: BAR + 'px'});
    placeBox();
  }
  // A phone turning round reports its new size over a few frames: fitted again once
  // it has settled.
  let settle = 0;
  function refit() {
    fit();
    clearTimeout(settle);
    settle = setTimeout(fit, 300);
  }
  window.addEventListener('resize', refit);
  window.addEventListener('orientationchange', refit);
  document.addEventListener('fullscreenchange', refit);
  new MutationObserver(fit).observe(canvas, {attributes: true, attributeFilter: ['width', 'height']});
  document.addEventListener('mousemove', (e) => {
    if (toolbar.classList.contains('float')) toolbar.classList.toggle('near', e.clientY < stage.offsetTop + BAR);
  });
  $('sharp').checked = sharp;
  $('sharp').addEventListener('change', () => {
    sharp = $('sharp').checked;
    try { localStorage.setItem('dalvo-sharp', sharp ? '1' : '0'); } catch (e) {}
    fit();
  });

  // ---- Full screen ------------------------------------------------------------------
  function toggleFullScreen() {
    if (document.fullscreenElement) return document.exitFullscreen().catch(() => {});
    const page = document.documentElement;
    if (!page.requestFullscreen) return;
    page.requestFullscreen().then(() => {
      // A phone turns to landscape, where the game is largest.
      if (matchMedia('(pointer: coarse)').matches && screen.orientation && screen.orientation.lock) screen.orientation.lock('landscape').catch(() => {});
    }).catch(() => {});
  }
  window.addEventListener('keydown', (e) => {
    if (e.key !== 'F11') return;
    e.preventDefault();
    e.stopImmediatePropagation();
    toggleFullScreen();
  }, true);

  // ---- Toolbar ------------------------------------------------------------------------
  for (const button of toolbar.querySelectorAll('button[data-input]')) {
    const name = button.dataset.input;
    // A held input (skip) lasts as long as the button is pressed.
    button.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      button.setPointerCapture(e.pointerId);
      if (INPUTS[name].hold) { button.classList.add('on'); send(name); }
    });
    const up = (e) => {
      if (!INPUTS[name].hold) { if (e.type === 'pointerup') send(name); return; }
      button.classList.remove('on');
      release(name);
    };
    button.addEventListener('pointerup', up);
    button.addEventListener('pointercancel', up);
  }
  $('full').addEventListener('click', toggleFullScreen);
  $('help-open').addEventListener('click', () => $('help').showModal());
  // The toolbar's buttons never keep the focus: the keyboard stays with the game.
  toolbar.addEventListener('mousedown', (e) => e.preventDefault());

  // ---- The input method's box -------------------------------------------------------
  let box = null;       // the game's text box, in game pixels
  const typed = [];     // ['e', composition] or ['c', committed text], with its time, for the game to take
  // The time lets the game put the typing in order with the keys and clicks it was
  // between.
  const type = (kind, text) => typed.push([kind, text, performance.now()]);
  let composing = null; // the composition under way, or null
  function placeBox() {
    if (!box) return;
    const s = canvas.getBoundingClientRect().width / canvas.width;
    ime.style.left = (box.x * s) + 'px';
    ime.style.top = (box.y * s) + 'px';
    ime.style.width = (box.w * s) + 'px';
    ime.style.height = (box.h * s) + 'px';
    ime.style.fontSize = Math.round(15 * s) + 'px';
  }
  // The input method composes in the page's box; the game shows the composition as it
  // changes and takes what is committed. Keys that type stay with the box: SDL, which
  // listens on the window, would take the character away from it.
  ime.addEventListener('keydown', (e) => { if (e.isComposing || e.keyCode === 229) e.stopPropagation(); });
  ime.addEventListener('keypress', (e) => e.stopPropagation());
  ime.addEventListener('compositionstart', () => { composing = ''; });
  ime.addEventListener('compositionupdate', (e) => { composing = e.data || ''; type('e', composing); });
  ime.addEventListener('compositionend', (e) => {
    // Already committed when the player clicked elsewhere.
    if (composing === null) return;
    composing = null;
    type('c', e.data || '');
    ime.value = '';
  });
  ime.addEventListener('input', (e) => {
    if (e.isComposing || composing !== null) return;
    if (e.inputType === 'insertText' && e.data) type('c', e.data);
    ime.value = '';
  });
  // A click or tap elsewhere commits the composition first, as a desktop input method
  // does when the focus moves: the game sees the text before the click.
  function commitComposition() {
    if (composing === null) return;
    const text = composing;
    composing = null;
    type('c', text);
    ime.blur();
    ime.value = '';
  }
  // While a text box is open the typing stays in the page's box; focused here, in the
  // player's own event, so that a phone opens its keyboard.
  function keepTyping() {
    if (box && document.activeElement !== ime) ime.focus({preventScroll: true});
  }
  // The box lies over the game's text box: a click on it is the game's.
  ime.addEventListener('mousedown', (e) => {
    commitComposition();
    e.preventDefault();
    keepTyping();
    click(0, {x: e.clientX, y: e.clientY});
  });
  stage.addEventListener('mousedown', (e) => {
    if (!e.isTrusted || e.target !== canvas) return;
    commitComposition();
    if (!box) return canvas.focus();
    e.preventDefault();
    keepTyping();
  }, true);

  // ---- Touch --------------------------------------------------------------------------
  // Touches on the game become the desktop's clicks: a tap a click, a long press or a
  // two-finger tap a right click, a swipe up or down the history. The page's own events
  // are taken before SDL's, which would block the page's zoom and see every touch as
  // a click.
  let touch = null;
  function onTouch(e) {
    e.stopPropagation();
    const t = e.changedTouches[0];
    if (e.type === 'touchstart') {
      if (!touch) {
        touch = {x: t.clientX, y: t.clientY, at: e.timeStamp, fingers: 1, moved: false, done: false};
        touch.timer = setTimeout(() => { if (!touch.moved && touch.fingers === 1) { touch.done = true; send('history', touch); } },
                                 LONG_PRESS_MS);
      } else {
        touch.fingers = Math.max(touch.fingers, e.touches.length);
      }
      return;
    }
    if (!touch) return;
    if (e.type === 'touchmove') {
      if (Math.hypot(t.clientX - touch.x, t.clientY - touch.y) > MOVE_PX) touch.moved = true;
      return;
    }
    if (e.touches.length > 0 && e.type !== 'touchcancel') return;  // the last finger ends the gesture
    const g = touch;
    touch = null;
    clearTimeout(g.timer);
    // Without this the browser follows the touch with mouse events of its own.
    if (e.cancelable) e.preventDefault();
    if (e.type === 'touchcancel' || g.done) return;
    const dy = t.clientY - g.y, dx = t.clientX - g.x;
    const at = {x: t.clientX, y: t.clientY};
    if (g.fingers >= 2) {
      if (!g.moved && e.timeStamp - g.at < TWO_FINGER_MS + LONG_PRESS_MS) send('history', at);
    } else if (g.moved) {
      if (Math.abs(dy) > Math.abs(dx)) send(dy < 0 ? 'historyUp' : 'historyDown');
    } else {
      commitComposition();
      if (e.target === ime || box) keepTyping();
      click(0, at);
    }
  }
  for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
    stage.addEventListener(type, onTouch, {capture: true, passive: type === 'touchstart' || type === 'touchmove'});
  }

  // ---- Hidden tab, end of the game --------------------------------------------------
  // The sound stops while the tab is hidden and goes on where it was when it shows.
  let paused = false;
  document.addEventListener('visibilitychange', () => {
    const audio = window.Module && Module.SDL2 && Module.SDL2.audioContext;
    if (!audio) return;
    if (document.hidden && audio.state === 'running') { paused = true; audio.suspend().catch(() => {}); }
    else if (!document.hidden && paused) { paused = false; audio.resume().catch(() => {}); }
  });
  $('again').addEventListener('click', () => location.reload());

  window.dalvoPage = {
    showTextBox(x, y, w, h) {
      box = {x, y, w, h};
      ime.value = '';
      ime.style.display = 'block';
      placeBox();
      ime.focus({preventScroll: true});
    },
    hideTextBox() {
      box = null;
      composing = null;
      ime.style.display = 'none';
      ime.blur();
      canvas.focus({preventScroll: true});
    },
    takeTyping() { return typed.splice(0); },
    // The canvas stays in the page, hidden: the program's shutdown still reaches it.
    ended() {
      box = null;
      stage.style.display = 'none';
      toolbar.style.display = 'none';
      $('ended').style.display = 'flex';
    },
    trace(line) {
      trace.appendChild(document.createTextNode(line + '\n'));
      // The program could not start (a file missing or damaged): the player reads why
      // where the progress was.
      if (!document.body.dataset.titleMs && line.includes('"ev":"error"')) {
        try { failed(JSON.parse(line).message); } catch (e) { failed(line); }
      }
    },
    // Asked for by the game's music (platform/web/web_audio.cpp) and, when a text needs
    // a character the first cut of the font lacks, by its fonts (web_font_files.cpp).
    loadLater,
    marked(name) {
      if (name !== 'titleMs') return;
      $('loading').style.display = 'none';
      toolbar.style.display = 'flex';
      fit();
      manifest.then((list) => Promise.all(list.filter((f) => f.later && !f.path.startsWith('music/')).map((f) => fetchLater(f.path))))
        .then(() => { document.body.dataset.fontsMs = performance.now().toFixed(0); }, () => {});
      // Kept for play without the network, once the game is up and not before the
      // player needs it; an automated run keeps to the network.
      if (!automated && 'serviceWorker' in navigator && location.protocol !== 'file:') {
        navigator.serviceWorker.register('sw.js').catch((e) => console.warn('dalvo: offline play:', e));
      }
    },
    stored(name) { window.dalvoSaves.stored(name); },
  };
  fit();
})();
