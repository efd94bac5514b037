// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo as an installed web app on a network that is slow, stalls or is
// gone, and on a server updated the way people publish the zip: from the
// second visit on it starts from its copy without waiting for the network,
// a new version arrives whole in the background and is taken on a tap, a
// set that is not whole is refused, and a lost copy is made again. Every
// wait is on a state of the page, with a limit.

import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { copyFileSync, readFileSync, statSync, utimesSync, writeFileSync } from 'node:fs';
import { join, relative } from 'node:path';
import {
  copyComplete, each, nextVersion, numberCentre, numberWindow, open, pageFiles, pageFolder, rolls, sleep,
  start, waitFor,
} from './lukimo.mjs';

const sha256 = (data) => createHash('sha256').update(data).digest('hex');

// Counts the page's requests to keep its storage.
const persistWatch = () => {
  window.__lukimoPersistAsked = 0;
  const storage = window.StorageManager?.prototype;
  if (storage?.persist) {
    const persist = storage.persist;
    storage.persist = function (...args) {
      window.__lukimoPersistAsked += 1;
      const answer = persist.apply(this, args);
      answer.then((kept) => { window.__lukimoPersistAnswer = kept; });
      return answer;
    };
  }
};

// The name of a set's cache for the folder of the page shown.
const stored = (page, set) => page.evaluate((name) => `${name} ${new URL('./', location.href).pathname}`, set);

const nextShown = (page) => waitFor(page,
  () => !!document.querySelector('meta[name="lukimo-test-version"]'), [], { timeout: 30000, what: 'the next version' });

// The page's files as a fetch of the page gets them, by hash.
const servedHashes = (page, paths) => page.evaluate(async (list) => {
  const out = {};
  for (const path of list) {
    const digest = await crypto.subtle.digest('SHA-256', await (await fetch(path)).arrayBuffer());
    out[path] = [...new Uint8Array(digest)].map((b) => b.toString(16).padStart(2, '0')).join('');
  }
  return out;
}, paths);

// Waits until the page loaded last asked the server for its version (once
// it drew the number), so that the ask is not taken for the next load's.
async function versionAsked(server, from) {
  for (const end = Date.now() + 30000; ;) {
    if (server.requests.slice(from).some((r) => r.path.endsWith('/sw.js') && !r.query))
      return;
    assert.ok(Date.now() < end, 'the page never asked for a new version');
    await sleep(100);
  }
}

// The network as a phone may meet it, from a second visit on.
const networks = {
  online: () => {},
  offline: (server) => server.setOffline(true),
  'held back': (server) => server.hold(true),
  'slow (100 kB/s, 150 ms)': (server) => server.setLine({ bytesPerSecond: 100000, latencyMs: 150 }),
};

each('a kept copy starts at once however the network behaves, and each of its files opens as itself',
  async (t, engine) => {
    const page = await open(t, engine, { initScripts: [persistWatch] });
    const { server } = page;
    await page.goto(server.url);
    await numberWindow(page);
    // Storage is asked to be kept after the user did something, not before.
    assert.equal(await page.evaluate(() => window.__lukimoPersistAsked), 0);
    const centre = await numberCentre(page);
    await page.click(centre.x, centre.y);
    if (await page.evaluate(() => !!window.StorageManager?.prototype.persist)) {
      await waitFor(page, () => window.__lukimoPersistAsked > 0, [],
        { timeout: 5000, what: 'the page to ask to keep its storage' });
      // What the browser answered is its own choice (a browser may ask the
      // user, who may never answer): shown, not checked.
      const answer = await waitFor(page, () => window.__lukimoPersistAnswer !== undefined &&
        String(window.__lukimoPersistAnswer), [], { timeout: 2000 }).catch(() => 'nothing within 2 s');
      t.diagnostic(`asked to keep the storage, the browser answered ${answer}`);
    }
    const set = await copyComplete(page);
    await versionAsked(server, 0);
    // The copy is made once the number is drawn, of what the page already
    // fetched.
    const order = await page.evaluate(() => ({
      firstInk: window.__lukimoFrames.firstInk, workerRegistered: window.__lukimoWorkerRegistered,
    }));
    assert.ok(order.firstInk !== null && order.workerRegistered > order.firstInk,
      `the offline copy was started before the number was drawn (${JSON.stringify(order)})`);
    const counts = {};
    for (const { path } of server.requests)
      counts[path] = (counts[path] ?? 0) + 1;
    // The program's .wasm and .data, almost all of it, are handed over by
    // the page; the rest the worker finds in the browser's cache, where it
    // reaches it (WebKitGTK's worker does not: its small files come twice).
    const twice = Object.entries(counts).filter(([path, n]) => n > 1 && !path.endsWith('/sw.js') &&
      (engine !== 'webkit' || /\/lukimo\.(wasm|data)$/.test(path)));
    t.diagnostic(`first visit: ${server.requests.length} requests; ${JSON.stringify(counts)}`);
    assert.deepEqual(twice, [], 'a file was downloaded twice on the first visit');

    const starts = {};
    for (const [name, network] of Object.entries(networks)) {
      // What the page before still had on its way (Chromium sends a request
      // that met a cut connection again) is not the next page's.
      for (let seen = -1, i = 0; seen !== server.requests.length && i < 20; i += 1) {
        seen = server.requests.length;
        await sleep(500);
      }
      network(server);
      const from = server.requests.length;
      await page.reload();
      await numberWindow(page);
      const { firstInk, wasm, origin } = await waitFor(page, () => window.__lukimoFrames.firstInk !== null && ({
        firstInk: window.__lukimoFrames.firstInk, origin: performance.timeOrigin,
        wasm: performance.getEntriesByName(new URL('lukimo.wasm', location.href).href)[0]?.startTime,
      }), [], { what: 'the first frame of the number' });
      starts[name] = Math.round(firstInk);
      // Nothing was waited for: the server was asked nothing before the
      // program was loaded but the browser's own check of the worker.
      assert.ok(wasm > 0, `${name}: no lukimo.wasm was loaded`);
      const early = server.requests.slice(from)
        .filter((r) => r.at < origin + wasm && !(r.path.endsWith('/sw.js') && r.query))
        .map((r) => r.path);
      assert.deepEqual(early, [], `${name}: the page asked the server before it loaded the program`);
      assert.ok(await rolls(page), `${name}: the number does not roll`);
      await versionAsked(server, from);
      // The licences and the icons open as themselves, from the copy too.
      if (name !== 'slow (100 kB/s, 150 ms)') {
        for (const [file, type] of [['LICENSE.txt', 'text/plain'], ['icon-192.png', 'image/png']]) {
          await page.goto(server.url + file);
          const shown = await waitFor(page, () => document.readyState === 'complete' && document.contentType,
            [], { what: file });
          assert.equal(shown, type, `${name}: ${file} opens as ${shown}`);
        }
        // The browser's own look for an icon of a document with none.
        for (let i = server.requests.length - 1; i >= 0; i -= 1) {
          if (server.requests[i].path === '/favicon.ico')
            server.requests.splice(i, 1);
        }
        const back = server.requests.length;
        await page.goto(server.url);
        await numberWindow(page);
        await versionAsked(server, back);
      }
      server.setOffline(false);
      server.setLine(null);
      server.release();
    }
    t.diagnostic(`first frame of the number, ms from the start of the load: ${JSON.stringify(starts)}`);
    assert.equal(await copyComplete(page), set);

    // A second copy of the page in another folder of the site keeps a copy
    // of its own and leaves this one's whole.
    server.mirror('second');
    await page.goto(`${server.url}second/`);
    await numberWindow(page);
    await copyComplete(page);
    assert.ok(await page.evaluate(async (name, first) => !!await caches.match(first, { cacheName: name }),
      `${set} ${new URL(server.url).pathname}`, server.url), 'the second copy deleted the first one\'s');
  });

each('a new version published as a zip is fetched whole while the old one runs, and taken on a tap', async (t, engine) => {
  // Every file dated as the zip dates it, as unpacked.
  const page = await open(t, engine, { server: { etag: true } });
  const date = statSync(join(pageFolder, 'sw.js')).mtime;
  for (const file of pageFiles(page.served))
    utimesSync(file, date, date);
  await page.goto(page.server.url);
  await numberWindow(page);
  const old = await copyComplete(page);
  const next = nextVersion(t, page, 'next');

  // The running version finds it after drawing, keeps running whole, and
  // says that the new one is ready.
  await page.reload();
  await numberWindow(page);
  await waitFor(page, () => !!document.getElementById('update'), [],
    { timeout: 60000, what: 'the offer of the new version' });
  assert.ok(await page.evaluate(() => !document.querySelector('meta[name="lukimo-test-version"]')),
    'the page changed version by itself');
  const served = await servedHashes(page, ['lukimo.data', './']);
  assert.equal(served['lukimo.data'], sha256(readFileSync(join(page.served, 'lukimo.data'))),
    'the running page now gets the new version\'s lukimo.data');
  assert.equal(served['./'], sha256(readFileSync(join(page.served, 'index.html'))),
    'the running page now gets the new version\'s index.html');
  const oldStore = await stored(page, old);
  assert.ok(await page.evaluate((name) => caches.has(name), oldStore), 'the running version\'s copy was deleted');
  assert.ok(await rolls(page), 'the old version stopped rolling');

  // A tap restarts into it, which then runs offline, every file of it.
  const offer = await waitFor(page, () => {
    const box = document.getElementById('update-restart').getBoundingClientRect();
    return box.width > 0 && { x: box.x + box.width / 2, y: box.y + box.height / 2 };
  }, [], { what: 'the offer shown' });
  await sleep(1000);
  await page.click(offer.x, offer.y);
  await nextShown(page);
  await numberWindow(page);
  await copyComplete(page, next.set);
  page.server.setOffline(true);
  await page.reload();
  await nextShown(page);
  await numberWindow(page);
  assert.ok(await rolls(page), 'offline, the new version does not roll');
  const files = pageFiles(next.folder).map((f) => relative(next.folder, f)).filter((f) => f !== 'sw.js');
  const urls = files.map((f) => (f === 'index.html' ? './' : f));
  const hashes = await servedHashes(page, urls);
  files.forEach((file, i) => assert.equal(hashes[urls[i]], sha256(readFileSync(join(next.folder, file))),
    `offline, ${file} is not the new version's`));
  page.server.setOffline(false);
  // The old copy goes once no page runs it.
  await waitFor(page, async (name) => !(await caches.has(name)), [oldStore],
    { timeout: 10000, what: 'the old copy to go' });
});

each('a set of two versions or cut off is refused, and a lost copy is made again', async (t, engine) => {
  const page = await start(t, engine, { screenReader: false });
  const { server } = page;
  const old = await copyComplete(page);
  const damages = {
    'two versions': (next) => copyFileSync(join(page.served, 'lukimo.data'), join(next.folder, 'lukimo.data')),
    'cut off mid-file': () => server.cutOff((path) => path.endsWith('/lukimo.data')),
  };
  for (const [name, damage] of Object.entries(damages)) {
    const next = nextVersion(t, page, name.replace(/\W/g, ''));
    damage(next);
    const from = server.requests.length;
    await page.reload();
    await numberWindow(page);
    // The new version's worker asked for lukimo.data, and then gave up.
    const tried = () => {
      const asked = server.requests.slice(from);
      const at = asked.findIndex((r) => r.query.includes(encodeURIComponent(next.set)));
      return at >= 0 && asked.slice(at).some((r) => r.path.endsWith('/lukimo.data') && r.status !== 'held');
    };
    await waitFor(page, () => true, [], { timeout: 100 });
    for (const end = Date.now() + 60000; !tried();) {
      assert.ok(Date.now() < end, `${name}: the new version was never tried`);
      await sleep(250);
    }
    await waitFor(page, async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      return !registration.installing && !registration.waiting;
    }, [], { timeout: 60000, polling: 250, what: 'the new worker to give up' });
    assert.ok(await page.evaluate(async (set) => !(await caches.has(set)) && !document.getElementById('update'),
      await stored(page, next.set)), `${name}: the set was kept or offered`);
    assert.equal(await copyComplete(page), old, `${name}: the old copy is gone`);
    server.cutOff(null);
  }

  // The browser drops the copy and keeps the worker: the page runs from the
  // network and keeps a whole copy again.
  server.setRoot(page.served);
  await page.evaluate(async () => Promise.all((await caches.keys()).map((name) => caches.delete(name))));
  await page.reload();
  await numberWindow(page);
  assert.equal(await copyComplete(page), old);
  server.setOffline(true);
  await page.reload();
  await numberWindow(page);
  assert.ok(await rolls(page), 'offline, the copy made again does not roll');
  server.setOffline(false);
});
