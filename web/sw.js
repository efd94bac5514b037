// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps one published version of the page for use offline: every file of
// it, cached together under a name that carries the version and a hash of
// all the files, and checked against that hash file by file, so that a
// server caught halfway through an update never leaves half of one version
// mixed with the other.
'use strict';

const CACHE = 'lukimo-@LUKIMO_VERSION@-@LUKIMO_CACHE_HASH@';
const FILES = {
    @LUKIMO_FILES@
};

function hex(buffer) {
    return Array.from(new Uint8Array(buffer), b => b.toString(16).padStart(2, '0')).join('');
}

self.addEventListener('install', event => {
    event.waitUntil((async () => {
        const cache = await caches.open(CACHE);
        try {
            await Promise.all(Object.entries(FILES).map(async ([path, sum]) => {
                const response = await fetch(new Request(path, { cache: 'reload' }));
                if (!response.ok)
                    throw new Error(path + ': ' + response.status);
                const body = await response.clone().arrayBuffer();
                if (hex(await crypto.subtle.digest('SHA-256', body)) !== sum)
                    throw new Error(path + ' is not of this version');
                await cache.put(path, response);
            }));
        } catch (e) {
            await caches.delete(CACHE);
            throw e;
        }
        await self.skipWaiting();
    })());
});

self.addEventListener('activate', event => {
    event.waitUntil((async () => {
        for (const name of await caches.keys()) {
            if (name.startsWith('lukimo-') && name !== CACHE)
                await caches.delete(name);
        }
        await self.clients.claim();
    })());
});

self.addEventListener('fetch', event => {
    const request = event.request;
    if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin)
        return;
    event.respondWith((async () => {
        const cache = await caches.open(CACHE);
        const key = request.mode === 'navigate' ? new URL('./', self.registration.scope).href : request;
        return (await cache.match(key, { ignoreSearch: true })) || fetch(request);
    })());
});
