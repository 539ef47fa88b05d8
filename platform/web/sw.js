// The page's service worker: keeps every file of the page for playing without the network, under
// a cache named for this build (its version and a hash of its files, written in by
// scripts/build-web), so that a new release replaces the old files whole. The sounds need no
// files: the page makes them.
'use strict';
const CACHE = 'zorvex-@BUILD@';
const FILES = ['./', 'index.html', 'page.js', 'sounds.js', 'sounds_worker.js', 'touch.js',
               'audio_out.js', 'audio_worklet.js', 'keep.js', 'gamepad.js',
               'zorvex.js', 'zorvex.wasm', 'zorvex-sounds.js', 'zorvex-sounds.wasm', 'data/gfx.bmp',
               'data/ui.bmp', 'manifest.webmanifest', 'icons/zorvex-192.png',
               'icons/zorvex-512.png'];

self.addEventListener('install', (e) => {
  e.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (e) => {
  e.waitUntil(caches.keys()
      .then((keys) => Promise.all(keys.filter((k) => k.startsWith('zorvex-') && k !== CACHE)
                                      .map((k) => caches.delete(k))))
      .then(() => self.clients.claim()));
});

// The page's own files from the cache (the address's query aside); anything else, such as the
// files the headless runner hands over, from the network.
self.addEventListener('fetch', (e) => {
  if (e.request.method !== 'GET') return;
  e.respondWith(caches.open(CACHE)
      .then((cache) => cache.match(e.request, {ignoreSearch: true}))
      .then((kept) => kept || fetch(e.request)));
});
