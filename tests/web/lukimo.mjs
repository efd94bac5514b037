// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the browser tests share: a fresh browser of each engine (engines.mjs),
// the page served from a sub-folder, and the watch every test keeps on what
// the page asks for and what the browser complains about. Everything is read
// from the page as the user (or a screen reader) gets it: the windows' title
// bars, the canvas, the console, and the hidden HTML that Qt mirrors its
// widgets into once its screen-reader support is switched on.

import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import {
  cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, utimesSync, writeFileSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import { join, relative, resolve } from 'node:path';
import { test } from 'node:test';
import { engines, lacks, launch, needsProbe } from './engines.mjs';
import { frameProbe } from './frames.mjs';
import { defaultPrefix, startServer } from './server.mjs';

// The unpacked zip.
export const pageFolder = process.env.LUKIMO_WEB_PAGE;

export const desktop = { width: 1280, height: 800 };
export const phone = { width: 390, height: 844, scale: 3 };

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Defines the test once for every engine under test, named with the engine,
// so that a failure says where. options.needs: what the test cannot do
// without ('phone', 'touch'); an engine that lacks it skips the test and
// says why. options.fault: { engine: why }, a fault of the page known in
// that engine: the test runs there and shows, but fails no run.
export function each(name, options, fn = options) {
  const { needs = [], fault = {} } = fn === options ? {} : options;
  for (const engine of engines) {
    const skip = needs.map((need) => lacks[engine][need]).find(Boolean);
    const todo = fault[engine];
    test(`${name} [${engine}]`, skip ? { skip } : todo ? { todo } : {}, (t) => fn(t, engine));
  }
}

// --- What the page does, as the browser's own objects see it -------------
// Scripts that run in every document before the page's own: they wrap the
// browser's objects, not the program's.

// What the watches below keep, for the test to read.
const recorder = () => {
  window.__lukimoRecord = { violations: [], console: [], errors: [] };
};

// Every violation of the page's Content-Security-Policy, as the browser
// reports it to the page.
const violationWatch = () => {
  document.addEventListener('securitypolicyviolation', (event) => {
    window.__lukimoRecord.violations.push(
      `${event.violatedDirective} blocked ${event.blockedURI || 'inline'} ` +
      `(${event.sourceFile}:${event.lineNumber})`);
  });
};

// The console and uncaught errors, for an engine whose driver does not
// hand them over (WebKitWebDriver): each console call as one message, its
// arguments joined by spaces as the browsers' own consoles show them.
const consoleWatch = () => {
  const record = window.__lukimoRecord;
  for (const type of ['log', 'info', 'warn', 'error', 'debug']) {
    const original = console[type];
    console[type] = function (...args) {
      record.console.push({ type: type === 'warn' ? 'warning' : type, text: args.map(String).join(' ') });
      return original.apply(this, args);
    };
  }
  addEventListener('error', (event) => record.errors.push(String(event.message)));
  addEventListener('unhandledrejection', (event) => record.errors.push(String(event.reason)));
};

// Counts what the page starts playing, in the browser's own audio: every
// Web Audio source node started and every media element played.
const soundCounter = () => {
  window.__lukimoSounds = 0;
  const count = (proto, name) => {
    const original = proto[name];
    proto[name] = function (...args) {
      window.__lukimoSounds += 1;
      return original.apply(this, args);
    };
  };
  // A buffer source has a start() of its own, over the one of every source.
  for (const node of ['AudioScheduledSourceNode', 'AudioBufferSourceNode']) {
    if (window[node] && Object.hasOwn(window[node].prototype, 'start'))
      count(window[node].prototype, 'start');
  }
  count(HTMLMediaElement.prototype, 'play');
};

// When the page first registered a service worker.
const workerRegistration = () => {
  window.__lukimoWorkerRegistered = null;
  const container = window.ServiceWorkerContainer?.prototype;
  if (container) {
    const register = container.register;
    container.register = function (...args) {
      window.__lukimoWorkerRegistered ??= performance.now();
      return register.apply(this, args);
    };
  }
};

const watches = [recorder, violationWatch, soundCounter, frameProbe, workerRegistration];
const probeFile = 'lukimo-test-probe.js';

// Makes a folder of the page (a copy: this changes it) run the watches
// before anything of its own, for an engine that cannot add scripts to a
// document: a script of the page's own folder, which its policy allows,
// first after the policy, listed in the service worker like every file so
// that it runs offline too, and the page published anew.
export function instrument(folder, scripts = []) {
  const probe = [...watches, consoleWatch, ...scripts].map((watch) => `(${watch})();`).join('\n');
  writeFileSync(join(folder, probeFile), `'use strict';\n${probe}\n`);
  const index = join(folder, 'index.html');
  const html = readFileSync(index, 'utf8');
  const withProbe = html.replace(/(<meta http-equiv="Content-Security-Policy"[^>]*>)/,
    `$1\n<script src="${probeFile}"></script>`);
  assert.notEqual(withProbe, html, 'index.html states no Content-Security-Policy');
  writeFileSync(index, withProbe);
  const worker = join(folder, 'sw.js');
  const listed = readFileSync(worker, 'utf8').replace(/(const FILES = \{)/,
    `$1\n    './${probeFile}': '${'0'.repeat(64)}',`);
  writeFileSync(worker, listed);
  republish(folder, 'probe');
}

// Publishes a folder to the session's server, instrumented for an engine
// that needs it.
export function publish(session, folder) {
  if (needsProbe(session.engine) && !statSync(join(folder, probeFile), { throwIfNoEntry: false }))
    instrument(folder, session.initScripts);
  session.server.setRoot(folder);
}

// Takes what the page's watches recorded since the last look (a new
// document starts afresh, so the layer looks before every load).
async function drain(session) {
  const taken = await session.evaluate((origin) => {
    const record = window.__lukimoRecord;
    if (!record)
      return null;
    const foreign = performance.getEntriesByType('resource').map((e) => e.name)
      .filter((url) => !/^(data|blob):/.test(url) && new URL(url).origin !== origin);
    return {
      violations: record.violations.splice(0), console: record.console.splice(0),
      errors: record.errors.splice(0), foreign,
    };
  }, session.server.origin);
  if (!taken)
    return;
  session.violations.push(...taken.violations);
  for (const url of taken.foreign) {
    if (!session.foreign.includes(url))
      session.foreign.push(url);
  }
  if (needsProbe(session.engine)) {
    session.console.push(...taken.console);
    session.errors.push(...taken.errors);
  }
}

// Starts a fresh browser of the engine with a profile of its own and a
// server for folder (the unpacked zip by default). options: { phone: true,
// locale: 'ja-JP' }. Returns a session: the driver's calls (evaluate, click,
// type, press, tap, hold, goto, reload) and the console, whose close()
// asserts that no request left the page's origin, no policy was violated
// and no script failed.
export async function open(t, engine, options = {}, folder = pageFolder) {
  assert.ok(folder, 'LUKIMO_WEB_PAGE names no unpacked page');
  // options.initScripts: more scripts to run first in every document.
  const initScripts = options.initScripts ?? [];
  let served = folder;
  if (needsProbe(engine)) {
    served = mkdtempSync(join(tmpdir(), 'lukimo-page-'));
    cpSync(folder, served, { recursive: true });
    instrument(served, initScripts);
  }
  // options.server: how the server validates and compresses (server.mjs).
  const server = await startServer(served, undefined, options.server);
  const launched = Date.now();
  const driver = await launch(engine, {
    phone: options.phone ? phone : undefined, viewport: desktop,
    locale: options.locale ?? 'en-US', initScripts: [...watches, ...initScripts],
  });
  const session = {
    ...driver, server, served, initScripts, launchMs: Date.now() - launched,
    console: driver.console ?? [], errors: driver.errors ?? [], violations: [], foreign: [],
    goto: async (url) => { await drain(session).catch(() => {}); await driver.goto(url); },
    reload: async () => { await drain(session).catch(() => {}); await driver.reload(); },
    title: () => driver.evaluate(() => document.title),
  };
  let closed;
  session.close = () => (closed ??= closeSession());
  const closeSession = async () => {
    await drain(session).catch(() => {});
    await driver.close().catch(() => {});
    await server.close();
    if (served !== folder)
      rmSync(served, { recursive: true, force: true });
    // Chromium and Firefox also report a violation on the console.
    session.violations.push(...session.console
      .filter((m) => m.type === 'error' && /Content.Security.Policy/i.test(m.text)).map((m) => m.text));
    assert.deepEqual(session.foreign, [], 'requests to another origin');
    const outside = server.requests.filter((r) => !r.path.startsWith(defaultPrefix));
    assert.deepEqual(outside, [], 'requests outside the page\'s folder (absolute URLs)');
    const failed = server.requests.filter((r) => r.status >= 400);
    assert.deepEqual(failed, [], 'requests for files the page does not have');
    assert.deepEqual(session.violations, [], 'Content-Security-Policy violations');
    assert.deepEqual(session.errors, [], 'uncaught errors in the page');
  };
  if (t) {
    sessionsOf.set(t, [...(sessionsOf.get(t) ?? []), session]);
    t.after(() => session.close());
  }
  return session;
}

// Where the console stands now, to read what comes after.
export async function consoleMark(session) {
  await drain(session);
  return session.console.length;
}

// The console lines the program wrote, in order, from message index `from`.
export async function consoleLines(session, from = 0) {
  await drain(session);
  return session.console.slice(from).map((m) => m.text);
}

// Waits until fn, run in the page with args, gives something true; returns
// it. A look that fails counts as not yet: the page may be loading anew (the
// page reloads itself when a new version takes over).
export async function waitFor(session, fn, args = [], { timeout = 10000, polling = 100, what } = {}) {
  const end = Date.now() + timeout;
  let failure = '';
  for (;;) {
    const value = await session.evaluate(fn, ...args).catch((error) => { failure = `: ${error.message}`; });
    if (value)
      return value;
    if (Date.now() > end)
      throw new Error(`timed out after ${timeout} ms waiting for ${what ?? fn}${failure}`);
    await sleep(polling);
  }
}

// The sessions each test opened.
const sessionsOf = new Map();

// A copy of the unpacked page to change, removed when the test ends, once
// the test's browsers are closed: a service worker may still be fetching
// from it.
export function copyOfPage(t, folder = pageFolder) {
  const copy = mkdtempSync(join(tmpdir(), 'lukimo-page-'));
  cpSync(folder, copy, { recursive: true });
  t.after(async () => {
    await Promise.allSettled((sessionsOf.get(t) ?? []).map((session) => session.close()));
    rmSync(copy, { recursive: true, force: true });
  });
  return copy;
}

export function pageFiles(folder = pageFolder) {
  const out = [];
  const walk = (dir) => {
    for (const name of readdirSync(dir)) {
      const path = join(dir, name);
      if (statSync(path).isDirectory())
        walk(path);
      else
        out.push(path);
    }
  };
  walk(resolve(folder));
  return out;
}

export { readFileSync };

const sha256 = (data) => createHash('sha256').update(data).digest('hex');

// The files the loader unpacks from lukimo.data, with their places in it, as
// the .js that loads it lists them.
export function dataEntries(folder) {
  const js = readFileSync(join(folder, 'lukimo.js'), 'utf8');
  const entries = {};
  for (const [, name, start, end] of js.matchAll(/filename:"([^"]+)",start:(\d+),end:(\d+)/g))
    entries[name] = { start: Number(start), end: Number(end) };
  return entries;
}

// Publishes the changed files of a copy of the page as a build does: the
// service worker carries each file's hash and names its cache after them,
// so each hash it lists is made anew, and the cache gets a new name.
export function republish(folder, suffix) {
  const worker = join(folder, 'sw.js');
  let text = readFileSync(worker, 'utf8');
  const files = pageFiles(folder).filter((f) => f !== worker);
  let replaced = 0;
  for (const file of files) {
    const path = relative(folder, file);
    const key = path === 'index.html' ? './' : `./${path}`;
    const pattern = new RegExp(`(['"]${key.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')}['"]\\s*:\\s*['"])[0-9a-f]{64}`);
    if (pattern.test(text)) {
      text = text.replace(pattern, `$1${sha256(readFileSync(file))}`);
      replaced += 1;
    }
  }
  assert.ok(replaced > 0, 'the service worker lists no file by its hash');
  const named = text.replace(/(const CACHE = ['"])([^'"]+)/, `$1$2-${suffix}`);
  assert.notEqual(named, text, 'the service worker names no cache');
  writeFileSync(worker, named);
}

// Waits until the active worker's set (that one, if named) is complete in
// the browser's caches, and returns its name. (WebKitGTK 2.50 may show a
// worker that took over as activating to the page until its next load;
// Chromium 156 sometimes activates a worker 30 s after it asked to take
// over a page that already runs its set, one idle timeout of the worker it
// replaces: the limit leaves room for that. The first copy in WebKitGTK
// took over a minute once, on two cores busy with a Qt build.)
export const copyComplete = (page, expected = null) => waitFor(page, async (wanted) => {
  const registration = await navigator.serviceWorker.getRegistration();
  const active = registration?.active;
  const set = ['activating', 'activated'].includes(active?.state) &&
    new URL(active.scriptURL).searchParams.get('set');
  const cacheName = `${set} ${new URL(registration?.scope ?? location.href).pathname}`;
  return !!set && (!wanted || set === wanted) &&
    !!(await caches.match('./.lukimo-complete', { cacheName })) && set;
}, [expected], { timeout: 180000, polling: 250, what: `the offline copy ${expected ?? ''} to be complete` });

// The next version: another page and other data (its help page says so),
// published into the session's server. As unpacked from a zip, every file
// keeps the zip's date, and sw.js its size, so that a server validating by
// date or by nginx's ETag calls it unchanged.
export function nextVersion(t, page, name) {
  const next = copyOfPage(t);
  const index = join(next, 'index.html');
  writeFileSync(index, readFileSync(index, 'utf8').replace('<head>', `<head>\n<meta name="lukimo-test-version" content="${name}">`));
  const data = readFileSync(join(next, 'lukimo.data'));
  const help = dataEntries(next)['/html/index.html'];
  assert.ok(help, 'lukimo.data holds no help page');
  const at = data.indexOf('Lukimo', help.start);
  assert.ok(at >= 0 && at < help.end, 'the help page does not name Lukimo');
  data.write(name.slice(0, 6).padEnd(6, '_'), at, 'latin1');
  writeFileSync(join(next, 'lukimo.data'), data);
  republish(next, name);
  publish(page, next);
  const worker = join(next, 'sw.js');
  const current = readFileSync(join(page.served, 'sw.js'), 'utf8');
  const [, old] = /const CACHE = '([^']+)'/.exec(current);
  const hash = sha256(name + readFileSync(worker)).slice(0, 16);
  const set = old.replace(/-[0-9a-f]{16}(?=-|$)/, `-${hash}`);
  writeFileSync(worker, readFileSync(worker, 'utf8').replace(/const CACHE = '[^']+'/, `const CACHE = '${set}'`));
  assert.equal(statSync(worker).size, Buffer.byteLength(current), 'sw.js changed its size');
  const date = statSync(join(pageFolder, 'sw.js')).mtime;
  for (const file of pageFiles(next))
    utimesSync(file, date, date);
  return { folder: next, set };
}

// --- Qt's page, as the user gets it -------------------------------------
// Qt draws each window into a canvas of its own inside a .qt-window element
// of its screen (in an open shadow root), under a title bar of HTML
// (.title-bar .window-name) when the window has one. A window is known to
// the tests by its title; every look finds it anew, as the user does.

// What every look at the page starts from, in the page.
const qtLook = `
  const qtWindows = () => {
    const found = [];
    const roots = [document];
    while (roots.length) {
      for (const e of roots.pop().querySelectorAll('*')) {
        if (e.shadowRoot)
          roots.push(e.shadowRoot);
        if (e.classList.contains('qt-window'))
          found.push(e);
      }
    }
    return found;
  };
  const titleOf = (w) => w.querySelector('.window-name')?.innerText ?? '';
  const isShown = (e) => {
    const box = e.getBoundingClientRect();
    const style = getComputedStyle(e);
    return style.display !== 'none' && style.visibility !== 'hidden' && box.width > 0 && box.height > 0;
  };
  const shownTitled = (title) => qtWindows().find((w) => isShown(w) && titleOf(w) === title);
  const rect = (e) => {
    const b = e.getBoundingClientRect();
    return { x: b.x, y: b.y, width: b.width, height: b.height };
  };`;

// fn, run in the page with the look above at hand.
export const inQt = (fn) => `(...args) => {${qtLook}\n  return (${fn})(...args);\n}`;

// The windows the user can see, by title, front first.
export async function shownTitles(session) {
  return session.evaluate(inQt(() => qtWindows().filter((w) => getComputedStyle(w).display !== 'none')
    .sort((a, b) => Number(getComputedStyle(b).zIndex) - Number(getComputedStyle(a).zIndex))
    .map(titleOf)));
}

// Waits until a window of that title is shown; returns it.
export async function shownWindow(session, title, timeout = 10000) {
  await waitFor(session, inQt((t) => !!shownTitled(t)), [title], { timeout, what: `the window "${title}"` });
  return { session, title };
}

// The number window: the one the page is named after (the program names
// the page once it runs).
export async function numberWindow(session) {
  const title = await waitFor(session, inQt(() => (shownTitled(document.title) ? document.title : false)),
    [], { timeout: 30000, what: 'the number window' });
  return { session, title };
}

// Where a window is (its canvas), and its close control, in page
// coordinates; null where there is none shown.
export async function boxes(window) {
  return window.session.evaluate(inQt((title) => {
    const w = shownTitled(title);
    const close = [...(w?.querySelectorAll('.title-bar .action-button') ?? [])].pop();
    return w && {
      window: rect(w), canvas: rect(w.querySelector('canvas')),
      close: close && isShown(close) ? rect(close) : null,
    };
  }), window.title);
}

// Closes a window with the close button of its title bar, as a user does
// (how: 'click' or 'tap'): the last of the title bar's buttons that Qt
// shows.
export async function closeByTitleBar(window, how = 'click') {
  const { close } = await boxes(window);
  assert.ok(close, `the window "${window.title}" shows no close button`);
  await window.session[how](close.x + close.width / 2, close.y + close.height / 2);
}

// A window by its title, shown or not.
export const windowTitled = (session, title) => ({ session, title });

// The sentence the page shows over the program, if any.
export const statusText = (session) =>
  session.evaluate(() => document.getElementById('status')?.textContent ?? null);

// The uncaught errors of the page so far.
export async function pageErrors(session) {
  await drain(session);
  return session.errors;
}

// Waits until no window of that title is shown, and the page has drawn two
// frames since: Qt finishes closing a window in its next turns of the
// browser's event loop, and a click before that (no user is that quick) is
// lost in Chromium.
export async function windowGone(window, timeout = 5000) {
  await waitFor(window.session, inQt((t) => !shownTitled(t)), [window.title],
    { timeout, what: `the window "${window.title}" to close` });
  await window.session.evaluate(() => new Promise((drawn) =>
    requestAnimationFrame(() => requestAnimationFrame(drawn))));
}

// What a window's canvas shows now, as a hash of its pixels, with how many
// are ink (dark) and what share is the blue Qt draws a selection on. The
// pixels are read from the canvas itself, so that a tooltip or another
// window over it changes nothing.
export async function windowPicture(session, title) {
  return session.evaluate(inQt((t) => {
    const canvas = shownTitled(t).querySelector('canvas');
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    let hash = 2166136261;
    let ink = 0;
    let blue = 0;
    for (let i = 0; i < data.length; i += 4) {
      hash = Math.imul(hash ^ data[i] ^ (data[i + 1] << 8) ^ (data[i + 2] << 16), 16777619);
      if (data[i] + data[i + 1] + data[i + 2] < 192)
        ink += 1;
      if (data[i + 2] > 150 && data[i] < 100)
        blue += 1;
    }
    return { hash: hash >>> 0, ink, selected: blue / (data.length / 4), width: canvas.width, height: canvas.height };
  }), title);
}

// What the number window's canvas shows now.
export async function numberPicture(session) {
  return windowPicture(session, (await numberWindow(session)).title);
}

// The number rolls: its picture changes twice within a few seconds, so it is
// drawn again and again, not once.
export async function rolls(session, changes = 2, within = 5000) {
  let last = (await numberPicture(session)).hash;
  const end = Date.now() + within;
  let seen = 0;
  while (seen < changes && Date.now() < end) {
    await sleep(150);
    const now = (await numberPicture(session)).hash;
    if (now !== last)
      seen += 1;
    last = now;
  }
  return seen >= changes;
}

// The number stands: once what a stop draws is out, two looks 0.8 s apart
// (eight ticks) agree.
export async function stands(session) {
  await sleep(300);
  const first = await numberPicture(session);
  await sleep(800);
  const second = await numberPicture(session);
  return first.hash === second.hash && first.ink > 0;
}

// Opens the page in a fresh browser as open() does, waits for the number
// window and, unless told not to, switches Qt's screen-reader support on
// first thing, as a screen-reader user does.
export async function start(t, engine, { folder = pageFolder, screenReader = true, ...options } = {}) {
  const session = await open(t, engine, options, folder);
  await session.goto(session.server.url);
  await numberWindow(session).catch(async (error) => {
    // Why the program never showed, as far as the browser told.
    await drain(session).catch(() => {});
    const told = [...session.violations, ...session.errors];
    throw told.length ? new Error(`${error.message}; the page reported: ${told.join('; ')}`) : error;
  });
  if (screenReader)
    await enableScreenReader(session);
  return session;
}

// The text the screen reader gives the number window (its announcements,
// a live region of their own, left out).
export async function numberName(session) {
  const window = await numberWindow(session);
  const texts = (await mirrored(window)).filter((e) => !e.hidden && e.role !== 'status').map((e) => e.text);
  return texts.join(' ');
}

// The middle of the number window's canvas, in page coordinates.
export async function numberCentre(session) {
  const { canvas } = await boxes(await numberWindow(session));
  return { x: canvas.x + canvas.width / 2, y: canvas.y + canvas.height / 2 };
}

// The shapes Qt drew in a window: each connected patch of ink (dark
// pixels) of glyph size, as its width, height and bitmap, with how often it
// occurs. A glyph the fonts lack is drawn as one hollow box, the same for
// every such character, so boxes for text show up as one shape many times.
export async function inkShapes(window) {
  return window.session.evaluate(inQt((title) => {
    const canvas = shownTitled(title).querySelector('canvas');
    const { width, height } = canvas;
    const { data } = canvas.getContext('2d').getImageData(0, 0, width, height);
    const ink = new Uint8Array(width * height);
    for (let i = 0; i < width * height; i += 1)
      ink[i] = data[4 * i] * 0.3 + data[4 * i + 1] * 0.59 + data[4 * i + 2] * 0.11 < 128 ? 1 : 0;
    const seen = new Uint8Array(width * height);
    const shapes = new Map();
    for (let start = 0; start < width * height; start += 1) {
      if (!ink[start] || seen[start])
        continue;
      const pixels = [start];
      seen[start] = 1;
      for (let k = 0; k < pixels.length; k += 1) {
        const x = pixels[k] % width;
        const y = (pixels[k] - x) / width;
        for (let dy = -1; dy <= 1; dy += 1) {
          for (let dx = -1; dx <= 1; dx += 1) {
            const nx = x + dx;
            const ny = y + dy;
            const n = ny * width + nx;
            if (nx >= 0 && ny >= 0 && nx < width && ny < height && ink[n] && !seen[n]) {
              seen[n] = 1;
              pixels.push(n);
            }
          }
        }
      }
      // A large patch (a picture, a selection) has too many pixels to
      // spread into Math.min's arguments.
      let [left, top, right, bottom] = [width, height, 0, 0];
      for (const p of pixels) {
        const px = p % width;
        const py = Math.floor(p / width);
        [left, top] = [Math.min(left, px), Math.min(top, py)];
        [right, bottom] = [Math.max(right, px), Math.max(bottom, py)];
      }
      const w = right - left + 1;
      const h = bottom - top + 1;
      if (w < 4 || h < 4 || w > 64 || h > 64)
        continue;
      const bits = new Array(w * h).fill('0');
      for (const p of pixels)
        bits[(Math.floor(p / width) - top) * w + (p % width) - left] = '1';
      const key = `${w}x${h}:${bits.join('')}`;
      shapes.set(key, (shapes.get(key) ?? 0) + 1);
    }
    return [...shapes].map(([key, count]) => ({ key, count }));
  }), window.title);
}

// --- Qt's screen-reader support -----------------------------------------
// Qt 6.8 puts a visually hidden "Enable Screen Reader" button into each
// window; a screen reader presses it as it presses any button (a click on
// the element), and Qt then mirrors every widget into hidden HTML elements
// with their roles and names.
export async function enableScreenReader(session) {
  const press = inQt(() => {
    const button = qtWindows().flatMap((w) => [...w.querySelectorAll('.qt-window-a11y-container button')])
      .find((b) => /Enable Screen Reader|スクリーンリーダー/.test(b.textContent));
    button?.click();
    window.__lukimoPressed = button;
    return !!button;
  });
  await waitFor(session, press, [], { timeout: 30000, what: 'the "Enable Screen Reader" button' });
  await waitFor(session, () => !window.__lukimoPressed.isConnected, [],
    { timeout: 5000, what: 'the screen-reader mode' });
}

// The mirrored elements of a window: tag, role, text, description, and where
// the widget is in page coordinates (the mirror lies over the widget).
export async function mirrored(window) {
  return window.session.evaluate(inQt((title) => {
    const w = shownTitled(title);
    return [...(w?.querySelectorAll('.qt-window-a11y-container *') ?? [])].map((e) => {
      const box = e.getBoundingClientRect();
      return {
        tag: e.tagName.toLowerCase(),
        type: e.getAttribute('type') ?? '',
        role: e.getAttribute('role') ?? '',
        text: e.tagName === 'INPUT' ? '' : e.textContent,
        description: e.getAttribute('aria-description') ?? '',
        hidden: e.getAttribute('aria-hidden') === 'true',
        left: box.left, top: box.top, right: box.right, bottom: box.bottom,
        x: box.x + box.width / 2,
        y: box.y + box.height / 2,
      };
    });
  }), window.title);
}

// The texts a screen reader finds in a window, in one string.
export async function windowText(window) {
  return (await mirrored(window)).filter((e) => !e.hidden).map((e) => e.text).join('\n');
}

// Waits until the window's mirror holds an element whose text matches;
// returns that element.
export async function waitForText(window, pattern, timeout = 10000) {
  const end = Date.now() + timeout;
  for (;;) {
    const found = (await mirrored(window)).find((e) => !e.hidden && pattern.test(e.text));
    if (found)
      return found;
    if (Date.now() > end)
      throw new Error(`no ${pattern} in the window; it reads:\n${await windowText(window)}`);
    await sleep(100);
  }
}

// The shown radio buttons inside the group box of that title, in the order
// the eye reads them: row by row from the top, each row from the left.
export async function radiosIn(window, groupTitle) {
  const all = (await mirrored(window)).filter((e) => !e.hidden);
  const group = all.find((e) => e.tag === 'div' && e.text === groupTitle);
  assert.ok(group, `no group "${groupTitle}" in the window`);
  const inside = all.filter((e) => e.tag === 'input' && e.type === 'radio' &&
    e.x > group.left && e.x < group.right && e.y > group.top && e.y < group.bottom);
  // Buttons of one row lie within a few pixels of each other.
  return inside.sort((a, b) => (Math.abs(a.y - b.y) > 5 ? a.y - b.y : a.x - b.x));
}

// Presses the window's button of that text as a screen reader does: a
// click on its mirror, wherever the mirror lies.
export async function pressButton(window, text) {
  const pressed = await window.session.evaluate(inQt((title, label) => {
    const found = [...(shownTitled(title)?.querySelectorAll('.qt-window-a11y-container button') ?? [])]
      .find((b) => b.textContent.includes(label));
    found?.click();
    return !!found;
  }), window.title, text);
  assert.ok(pressed, `no button "${text}" in the window "${window.title}"`);
}

// The button of that text.
export async function button(window, text) {
  const found = (await mirrored(window)).find((e) => !e.hidden && e.tag === 'button' && e.text === text);
  assert.ok(found, `no button "${text}" in the window`);
  return found;
}

// A click of the mouse button on an element of the mirror.
export async function click(session, element, button = 'left') {
  await session.click(element.x, element.y, button);
}
