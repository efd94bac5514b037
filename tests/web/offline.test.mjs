// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo as an installed web app: after the first visit it runs with the
// network off, and a version published later is the one the next load
// shows, whole.

import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { join, relative } from 'node:path';
import {
  copyOfPage, dataEntries, each, numberWindow, pageFiles, publish, republish, rolls, sleep, start, waitFor,
} from './lukimo.mjs';

// Waits until the service worker has taken the page over: from then on the
// page's files come from its cache. A worker still activating counts: the
// browser holds the page's requests until it is done, and WebKitGTK 2.50
// leaves a worker that claimed a page which then reloaded itself activating
// until the next load. For a moment after a worker activates, Chromium may
// still send a navigation to the network (a bare page with a five-line
// worker fails a reload at once 3 times in 12, and none in 15 a third of a
// second later), so the test gives it a second.
async function offlineReady(page) {
  await waitFor(page, async () => {
    const registration = await navigator.serviceWorker?.getRegistration();
    const { controller } = navigator.serviceWorker ?? {};
    return !!controller && registration?.active?.scriptURL === controller.scriptURL &&
      ['activating', 'activated'].includes(registration.active.state);
  }, [], { timeout: 60000, polling: 250, what: 'the service worker to take the page over' });
  await sleep(1000);
}

// Waits until the version the test published is the page shown.
const nextShown = (page, timeout) => waitFor(page,
  () => !!document.querySelector('meta[name="lukimo-test-version"]'), [],
  { timeout, what: 'the next version' });

// Cuts the network to the server, and returns what tells which files were
// asked of it since, but the browser's own checks of the worker's script for
// updates, which fail with the network gone and are no use to the page.
async function goOffline(page, server) {
  server.setOffline(true);
  const from = server.requests.length;
  return async () => {
    const worker = await page.evaluate(async () =>
      new URL((await navigator.serviceWorker.getRegistration()).active.scriptURL).pathname);
    return server.requests.slice(from).map((r) => r.path).filter((path) => path !== worker);
  };
}

// What each file of the page is, by hash, in the browser's caches, as a
// fetch from the page gets it.
async function servedHashes(page, names) {
  return page.evaluate(async (paths) => {
    const out = {};
    for (const path of paths) {
      const response = await fetch(path);
      const digest = await crypto.subtle.digest('SHA-256', await response.arrayBuffer());
      out[path] = [...new Uint8Array(digest)].map((b) => b.toString(16).padStart(2, '0')).join('');
    }
    return out;
  }, names);
}

// Firefox ESR 153 may resolve the update check after the new worker has
// already taken over; the page then finds no new worker, starts the old
// index.html and lukimo.js, and gets the rest from the new version's cache.
const firefoxLateUpdate = 'the page misses a new version when Firefox reports it after its worker took over';
// WebKitGTK 2.50 shows the new version in some runs and not in others (2 of
// 3 failed on a quiet machine); the page's own steps, traced alone, showed
// it every time, so the cause is not known yet.
const webkitSometimes = 'WebKitGTK sometimes keeps showing the old version after an update; cause not found';

each('after the first visit the page runs offline, and a new version replaces it whole',
  { fault: { firefox: firefoxLateUpdate, webkit: webkitSometimes } }, async (t, engine) => {
  const page = await start(t, engine, { screenReader: false });
  const { server } = page;
  await offlineReady(page);
  // Keeping the files fetches all of them again: on a first visit that waits
  // until the number is on the screen.
  const order = await page.evaluate(() => ({
    firstInk: window.__lukimoFrames.firstInk, workerRegistered: window.__lukimoWorkerRegistered,
  }));
  assert.ok(order.firstInk !== null && order.workerRegistered > order.firstInk,
    `the offline copy was started before the number was drawn (${JSON.stringify(order)})`);

  let asked = await goOffline(page, server);
  await page.reload();
  await numberWindow(page);
  assert.ok(await rolls(page), 'offline, the reloaded page does not roll');
  assert.deepEqual(await asked(), [], 'offline, the page still asked the network');
  server.setOffline(false);

  // The next version: another page and other data (its help page says so),
  // published as a build publishes it.
  const next = copyOfPage(t);
  const index = join(next, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace('<head>', '<head>\n<meta name="lukimo-test-version" content="next">'));
  const data = readFileSync(join(next, 'lukimo.data'));
  const help = dataEntries(next)['/html/index.html'];
  assert.ok(help, 'lukimo.data holds no help page');
  const before = data.subarray(help.start, help.end).toString('latin1');
  const at = before.indexOf('Lukimo');
  assert.ok(at >= 0);
  data.write('LUKIMO', help.start + at, 'latin1');
  writeFileSync(join(next, 'lukimo.data'), data);
  republish(next, 'next');
  publish(page, next);

  // The page finds the new version, takes all of it, and shows it.
  await page.reload();
  await nextShown(page, 30000);
  await numberWindow(page);
  assert.ok(await rolls(page), 'the new version does not roll');
  await offlineReady(page);

  // And so it stays with the network off, from a cache that holds the new
  // version's files and no others.
  asked = await goOffline(page, server);
  await page.reload();
  await nextShown(page, 30000);
  await numberWindow(page);
  assert.ok(await rolls(page), 'offline, the new version does not roll');
  // The page is asked for by its folder's URL.
  const files = pageFiles(next).map((f) => relative(next, f)).filter((f) => f !== 'sw.js');
  const urls = files.map((f) => (f === 'index.html' ? './' : f));
  const served = await servedHashes(page, urls);
  files.forEach((file, i) => {
    const expected = createHash('sha256').update(readFileSync(join(next, file))).digest('hex');
    assert.equal(served[urls[i]], expected, `offline, ${file} is not the new version's`);
  });
  assert.deepEqual(await asked(), [], 'offline, the new version still asked the network');
  server.setOffline(false);
});
