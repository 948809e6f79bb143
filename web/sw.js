// The site's service worker: it keeps every file of the site after the first visit, so that the page
// opens and computes without a network. The build fills in the list of files and the version, which
// changes with their content and names the cache.
"use strict";

const cacheName = "tarifmaster-@VERSION@";
const files = @FILES@;

self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) => cache.addAll(files)).then(() => self.skipWaiting()));
});

// A new version drops the files of the old one.
self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name !== cacheName).map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
    if (event.request.method !== "GET")
        return;
    event.respondWith(caches.open(cacheName)
        .then((cache) => cache.match(event.request, {ignoreSearch: true}))
        .then((kept) => kept || fetch(event.request)));
});
