// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Keeps published versions of the page for use offline, each as one set:
// every file of it, checked against the hash listed below and cached under
// a name that carries the version and a hash of all the files. A set is
// used only once all of it is in (a mark stored last says so), so that a
// server caught halfway through an update, or a download cut short, never
// leaves half of one version mixed with another.
//
// Which set answers: a start of the page gets the newest whole set (so a
// version fetched in the background is taken at the next start), and every
// later request of that page comes from the set it started with, whatever
// worker runs by then. With no whole set at hand the page runs from the
// network, and the page asks for its set to be fetched again. This worker
// never takes over pages by itself: the page asks it to once the user
// agreed, or it takes over when no page of the old one is left.
'use strict';

const CACHE = 'lukimo-@LUKIMO_VERSION@-@LUKIMO_CACHE_HASH@';
const FILES = {
    @LUKIMO_FILES@
};

const scope = new URL(self.registration.scope);
// The cache of this version's set for this page's folder: a site may
// publish the page in several folders, whose caches share one list.
const IN_FOLDER = ' ' + scope.pathname;
const STORE = CACHE + IN_FOLDER;
// Stored last in a set's cache: when it was complete.
const COMPLETE = './.lukimo-complete';
// Tells the page, on each file of a set, which set it came from.
const SET_HEADER = 'X-Lukimo-Set';
// What a page that ran from the network hands over of what it fetched, so
// that it is not downloaded again where the worker cannot reach the
// browser's own cache.
const HANDED = 'lukimo-fetched' + IN_FOLDER;

function hex(buffer) {
    return Array.from(new Uint8Array(buffer), b => b.toString(16).padStart(2, '0')).join('');
}

// The cache of the set each page started with, by its client id.
const setOfClient = new Map();

// When the set in that cache was complete, or 0. caches.match with a cache
// name does not create the cache, as caches.open would.
async function completedAt(name) {
    const mark = await caches.match(COMPLETE, { cacheName: name });
    return mark ? Number(await mark.text()) || 1 : 0;
}

async function newestSet() {
    let newest = null;
    let when = 0;
    for (const name of await caches.keys()) {
        if (!name.startsWith('lukimo-') || !name.endsWith(IN_FOLDER) || name === HANDED)
            continue;
        const at = await completedAt(name);
        if (at > when) {
            newest = name;
            when = at;
        }
    }
    return newest;
}

// One file of this version, checked: first as the page handed it over or
// the browser already holds it (a first visit's page has just downloaded
// it), then from the server without asking it to validate, since a server
// that compares dates may call a file of a new version unchanged.
async function fetchChecked(path, sum) {
    let why = '';
    for (const cache of ['handed', 'force-cache', 'reload']) {
        let response;
        let body;
        try {
            response = cache === 'handed'
                ? await caches.match(path, { cacheName: HANDED })
                : await fetch(new Request(path, { cache }));
            if (!response?.ok) {
                why = response ? `${path}: ${response.status}` : why;
                continue;
            }
            body = await response.arrayBuffer();
        } catch (e) {
            why = `${path}: ${e.message}`;
            continue;
        }
        if (hex(await crypto.subtle.digest('SHA-256', body)) !== sum) {
            why = `${path} is not of this version`;
            continue;
        }
        const headers = new Headers(response.headers);
        headers.set(SET_HEADER, CACHE);
        return new Response(body, { status: 200, statusText: 'OK', headers });
    }
    throw new Error(why);
}

// Fetches and checks this version's whole set, unless it is complete.
let keeping = null;
function keepSet() {
    keeping ??= (async () => {
        if (await completedAt(STORE))
            return;
        await caches.delete(STORE);
        try {
            const cache = await caches.open(STORE);
            await Promise.all(Object.entries(FILES).map(async ([path, sum]) =>
                cache.put(path, await fetchChecked(path, sum))));
            await cache.put(COMPLETE, new Response(String(Date.now())));
            await caches.delete(HANDED);
        } catch (e) {
            await caches.delete(STORE);
            throw e;
        }
    })().finally(() => { keeping = null; });
    return keeping;
}

// The open pages of this folder (the site's other folders have their own).
async function pagesHere() {
    const pages = await self.clients.matchAll({ type: 'window', includeUncontrolled: true });
    return pages.filter(page => page.url.startsWith(scope.href));
}

// Removes the sets of this folder no page needs any more: older whole ones
// once every open page runs this worker's set, and unfinished ones no
// worker is filling.
async function tidy() {
    const pages = await pagesHere();
    const allOnMine = pages.every(page => setOfClient.get(page.id) === STORE);
    const mine = await completedAt(STORE);
    for (const name of await caches.keys()) {
        if (!name.startsWith('lukimo-') || !name.endsWith(IN_FOLDER) || name === STORE || name === HANDED)
            continue;
        const at = await completedAt(name);
        if ((at && at < mine && allOnMine) || (!at && !self.registration.installing))
            await caches.delete(name);
    }
    const ids = new Set(pages.map(page => page.id));
    for (const id of setOfClient.keys()) {
        if (!ids.has(id))
            setOfClient.delete(id);
    }
}

self.addEventListener('install', event => event.waitUntil(keepSet()));

self.addEventListener('activate', event => event.waitUntil(tidy()));

self.addEventListener('message', event => {
    const { type, set } = event.data ?? {};
    if (type === 'running') {
        // The set a page runs, as its files said.
        setOfClient.set(event.source.id, set ? set + IN_FOLDER : null);
        event.waitUntil(tidy());
    } else if (type === 'keep') {
        event.waitUntil(keepSet().catch(e => console.warn('Lukimo keeps no offline copy now:', e.message)));
    } else if (type === 'activate-if-alone') {
        // Only over one page: another one may be starting from the old set.
        event.waitUntil(pagesHere().then(pages => {
            if (pages.length <= 1 && self.registration.waiting?.scriptURL === self.location.href)
                return self.skipWaiting();
        }));
    }
});

// The page itself: its folder's address or index.html, with any query.
function isPage(url) {
    return url.pathname === scope.pathname || url.pathname === scope.pathname + 'index.html';
}

async function fromSet(name, key, request) {
    const found = name && await caches.match(key, { cacheName: name, ignoreSearch: true });
    if (found)
        return found;
    return fetch(request);
}

self.addEventListener('fetch', event => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname))
        return;
    // The page's check for a new version, and the browser's own, go to the
    // server.
    if (url.pathname === scope.pathname + 'sw.js')
        return;
    if (request.mode === 'navigate' && isPage(url)) {
        event.respondWith((async () => {
            const name = await newestSet();
            if (event.resultingClientId)
                setOfClient.set(event.resultingClientId, name);
            return fromSet(name, './', request);
        })());
        return;
    }
    // Every other file as itself, from the set its page started with.
    event.respondWith((async () => {
        const name = setOfClient.has(event.clientId) ? setOfClient.get(event.clientId) : await newestSet();
        const key = isPage(url) ? './' : '.' + url.pathname.slice(scope.pathname.length - 1);
        return fromSet(name, key, request);
    })());
});
