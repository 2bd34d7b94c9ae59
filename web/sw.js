// The page's service worker: keeps the page's own files, so that a page loaded once opens again
// without a network. web/build.mjs names the cache after the files' content, so a new build
// replaces the old files at once rather than serving them forever.
const cacheName = "iconwright-__BUILD__";
const files = ["./", "index.html", "app.js", "iconwright.wasm"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("iconwright-") && name !== cacheName).map((name) => caches.delete(name))))
      .then(() => self.clients.claim()),
  );
});

// The network first, so that a page on a server is always the server's; the kept files when
// there is no network.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith(fetch(event.request).catch(() => caches.match(event.request, { ignoreSearch: true })));
});
