// Saves that travel: the three slots exported as the desktop's files 40.dat–42.dat in
// one zip, and imported from such a zip or from the files themselves, each checked as
// the slot dialog checks it; the browser asked to keep the page's storage at the first
// save; a notice when the browser keeps no saves at all.
(function () {
  'use strict';
  const $ = (id) => document.getElementById(id);
  const SLOTS = /^4[0-2]\.dat$/i;
  const DAMAGED = 'データが壊れています';  // the slot dialog's words for a slot it cannot load
  const OVERWRITE = '上書きしますか？';
  const CHECKED = '/import.dat';           // where the program looks at a file before it is taken in
  const say = (text) => { $('saves-status').textContent = text; };

  // ---- zip: stored entries written; stored and deflated ones read ----------------------
  const CRC = new Uint32Array(256).map((_, n) => {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320 ^ (c >>> 1) : c >>> 1;
    return c;
  });
  function crc32(bytes) {
    let c = 0xFFFFFFFF;
    for (const b of bytes) c = CRC[(c ^ b) & 0xFF] ^ (c >>> 8);
    return (c ^ 0xFFFFFFFF) >>> 0;
  }
  function zip(files) {
    const now = new Date();
    const time = (now.getHours() << 11) | (now.getMinutes() << 5) | (now.getSeconds() >> 1);
    const date = ((now.getFullYear() - 1980) << 9) | ((now.getMonth() + 1) << 5) | now.getDate();
    const parts = [], central = [];
    let offset = 0;
    for (const {name, bytes} of files) {
      const n = new TextEncoder().encode(name), crc = crc32(bytes);
      const local = new DataView(new ArrayBuffer(30));
      [[0, 0x04034B50, 4], [4, 20, 2], [10, time, 2], [12, date, 2], [14, crc, 4], [18, bytes.length, 4],
       [22, bytes.length, 4], [26, n.length, 2]].forEach(([at, v, size]) => (size === 4 ? local.setUint32(at, v, true) : local.setUint16(at, v, true)));
      const entry = new DataView(new ArrayBuffer(46));
      [[0, 0x02014B50, 4], [4, 20, 2], [6, 20, 2], [12, time, 2], [14, date, 2], [16, crc, 4], [20, bytes.length, 4],
       [24, bytes.length, 4], [28, n.length, 2], [42, offset, 4]].forEach(([at, v, size]) => (size === 4 ? entry.setUint32(at, v, true) : entry.setUint16(at, v, true)));
      parts.push(local, n, bytes);
      central.push(entry, n);
      offset += 30 + n.length + bytes.length;
    }
    const size = central.reduce((sum, p) => sum + p.byteLength, 0);
    const end = new DataView(new ArrayBuffer(22));
    end.setUint32(0, 0x06054B50, true);
    end.setUint16(8, files.length, true);
    end.setUint16(10, files.length, true);
    end.setUint32(12, size, true);
    end.setUint32(16, offset, true);
    return new Blob([...parts, ...central, end], {type: 'application/zip'});
  }
  // The entries of a zip as {name, bytes}; null when it is none.
  async function unzip(bytes) {
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
    let end = bytes.length - 22;
    while (end >= 0 && view.getUint32(end, true) !== 0x06054B50) end--;
    if (end < 0) return null;
    const files = [];
    let at = view.getUint32(end + 16, true);
    for (let i = view.getUint16(end + 10, true); i > 0; i--) {
      if (at + 46 > bytes.length || view.getUint32(at, true) !== 0x02014B50) return null;
      const method = view.getUint16(at + 10, true), size = view.getUint32(at + 20, true);
      const nameLength = view.getUint16(at + 28, true), local = view.getUint32(at + 42, true);
      const name = new TextDecoder().decode(bytes.subarray(at + 46, at + 46 + nameLength));
      at += 46 + nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
      if (local + 30 > bytes.length) return null;
      const start = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
      const packed = bytes.subarray(start, start + size);
      let body = null;
      if (method === 0) body = packed;
      else if (method === 8 && typeof DecompressionStream === 'function') {
        try {
          const stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
          body = new Uint8Array(await new Response(stream).arrayBuffer());
        } catch (e) { body = null; }
      }
      files.push({name: name.replace(/^.*\//, ''), bytes: body});
    }
    return files;
  }

  // ---- export -----------------------------------------------------------------------------
  function slotFiles() {
    const files = [];
    for (const name of ['40.dat', '41.dat', '42.dat']) {
      try { files.push({name, bytes: FS.readFile('/data/' + name)}); } catch (e) { /* an empty slot */ }
    }
    return files;
  }
  $('export').addEventListener('click', () => {
    if (!window.FS || !FS.readFile) return say('まだ読み込み中です (the game is still loading)');
    const files = slotFiles();
    if (!files.length) return say('セーブがありません (no saves to export)');
    const link = document.createElement('a');
    link.href = URL.createObjectURL(zip(files));
    link.download = 'dalvo-saves.zip';
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    say('書き出しました (exported): ' + files.map((f) => f.name).join(', '));
  });

  // ---- import -----------------------------------------------------------------------------
  // Whether the slot dialog would take `bytes` as a saved game; the program reads it.
  function usable(bytes) {
    FS.writeFile(CHECKED, bytes);
    try { return Module._dalvo_import_usable() === 1; } finally { FS.unlink(CHECKED); }
  }
  async function take(name, bytes) {
    if (!bytes || !usable(bytes)) return name + ': ' + DAMAGED;
    const path = '/data/' + name;
    if (FS.analyzePath(path).exists && !confirm(name + ': ' + OVERWRITE)) return name + ': そのままです (kept as it was)';
    FS.writeFile(path, bytes);
    const kept = Module.dalvoStore;
    if (kept) {
      FS.writeFile(kept.store + '/' + name, bytes);
      const err = await new Promise((done) => FS.syncfs(false, done));
      if (err) return name + ': the browser could not store it: ' + err;
      askToKeep();
    }
    return name + ': 読み込みました (imported)';
  }
  async function importFiles(list) {
    const found = [], notes = [];
    for (const file of list) {
      const bytes = new Uint8Array(await file.arrayBuffer());
      if (/\.zip$/i.test(file.name)) {
        const entries = await unzip(bytes);
        if (!entries) notes.push(file.name + ': ' + DAMAGED);
        else found.push(...entries.filter((e) => SLOTS.test(e.name)));
      } else if (SLOTS.test(file.name)) {
        found.push({name: file.name.toLowerCase(), bytes});
      } else {
        notes.push(file.name + ': 40.dat, 41.dat, 42.dat だけです (only 40.dat–42.dat)');
      }
    }
    if (!found.length && !notes.length) notes.push('セーブがありません (no saves in it)');
    for (const f of found) notes.push(await take(f.name.toLowerCase(), f.bytes));
    say(notes.join(' / '));
  }
  const picker = $('import-file');
  $('import').addEventListener('click', () => {
    if (!window.Module || !Module._dalvo_import_usable || !Module.calledRun) return say('まだ読み込み中です (the game is still loading)');
    picker.click();
  });
  picker.addEventListener('change', () => {
    const list = [...picker.files];
    picker.value = '';
    importFiles(list).catch((e) => say(String(e)));
  });
  $('saves-open').addEventListener('click', () => { say(''); $('saves').showModal(); });

  // ---- keeping the storage -------------------------------------------------------------
  // Some browsers clear a site's storage after days without a visit unless it is
  // asked to persist; asked once, at the first save.
  let asked = false;
  function askToKeep() {
    if (asked || !navigator.storage || !navigator.storage.persist) return;
    asked = true;
    navigator.storage.persist().catch(() => {});
  }
  $('notice-close').addEventListener('click', () => { $('notice').style.display = 'none'; });

  window.dalvoSaves = {
    stored: askToKeep,
    // The browser keeps nothing for this page (private mode, blocked storage): the
    // player hears it once, before the first save is lost.
    unkept() {
      $('notice-text').textContent = 'このブラウザはセーブを残せません。ページを閉じるとセーブは消えます。' +
        'ツールバーの「セーブ」から書き出してください。 (This browser keeps no saves for this page: ' +
        'they vanish when it closes. Export them with the toolbar\'s セーブ.)';
      $('notice').style.display = 'block';
    },
    importFiles,
  };
})();
