// Keeps the game for play without the network: the first visit that reaches the title
// stores the page, the program, the fonts, the data and all the music; later visits
// are served from that store. A new build brings a new store and clears the old one.
const VERSION = 'dev';  // the build writes its own (scripts/web.sh)
const STORE = 'dalvo-' + VERSION;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const list = await (await fetch('files/manifest.json', {cache: 'no-cache'})).json();
    const packed = typeof DecompressionStream === 'function';
    const files = list.map((f) => 'files/' + f.path + (f.gz && packed ? '.gz' : ''));
    const page = ['index.html', 'page.js', 'saves.js', 'dalvo.js', packed ? 'dalvo.wasm.gz' : 'dalvo.wasm',
                  'app.webmanifest', 'icon.svg', 'files/manifest.json'];
    const store = await caches.open(STORE);
    await store.addAll([...page, ...files]);
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith('dalvo-') && name !== STORE) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The page's own files come from the store when it has them; the page's address is one
// file whatever its query.
self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith((async () => {
    const store = await caches.open(STORE);
    const page = request.mode === 'navigate';
    const kept = await store.match(page ? 'index.html' : request, {ignoreSearch: page});
    return kept || fetch(request);
  })());
});
