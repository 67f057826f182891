// Keeps the whole site for play without a network. The build writes in the
// files and a version that changes with any of them; a new version's cache
// takes over at the next visit and the old one is deleted.
const version = '@VERSION@';
const files = [@FILES@];
const cache = `tavola-${version}`;

self.addEventListener('install', (event) => event.waitUntil(caches.open(cache)
  .then((store) => store.addAll(files.map((file) => new Request(file, { cache: 'reload' }))))
  .then(() => self.skipWaiting())));
self.addEventListener('activate', (event) => event.waitUntil(caches.keys().then((names) =>
  Promise.all(names.filter((name) => name.startsWith('tavola-') && name !== cache).map((name) => caches.delete(name))))));
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  // A request that fails (no network, or the page went away) fails as on the network, never as a rejection.
  event.respondWith(caches.open(cache).then((store) => store.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept ?? fetch(event.request)).catch(() => Response.error()));
});
