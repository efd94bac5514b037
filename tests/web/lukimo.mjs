// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the browser tests share: Debian's Chromium with a profile of its own,
// the page served from a sub-folder, and the watch every test keeps on what
// the page asks for and what the browser complains about. Everything is read
// from the page as the user (or a screen reader) gets it: the windows' title
// bars, the canvas, the console, and the hidden HTML that Qt mirrors its
// widgets into once its screen-reader support is switched on.

import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import {
  cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync,
} from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, relative, resolve } from 'node:path';
import { frameProbe } from './frames.mjs';
import { defaultPrefix, startServer } from './server.mjs';

const here = new URL('.', import.meta.url).pathname;
// run.sh installs playwright-core from the lock file into a cache folder
// outside the source tree and names it here; a plain `npm ci` in this folder
// works too.
const modules = process.env.LUKIMO_WEB_NODE_MODULES ?? join(here, 'node_modules');
export const { chromium } = createRequire(join(modules, 'noop.js'))('playwright-core');

// The unpacked zip.
export const pageFolder = process.env.LUKIMO_WEB_PAGE;
export const chromiumPath = process.env.LUKIMO_CHROMIUM ?? '/usr/bin/chromium';
export const chromiumArgs = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export const desktop = { viewport: { width: 1280, height: 800 } };
export const phone = {
  viewport: { width: 390, height: 844 }, isMobile: true, hasTouch: true, deviceScaleFactor: 3,
};

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Counts what the page starts playing, in the browser's own audio: every
// Web Audio source node started and every media element played. This
// instruments the browser, not the program.
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

// Every violation of the page's Content-Security-Policy, as the browser
// reports it to the page.
const violationWatch = () => {
  document.addEventListener('securitypolicyviolation', (event) => {
    window.__lukimoReportViolation?.(
      `${event.violatedDirective} blocked ${event.blockedURI || 'inline'} ` +
      `(${event.sourceFile}:${event.lineNumber})`);
  });
};

// Starts Chromium with a fresh profile and the given context options, and a
// server for folder (the unpacked zip by default). Returns a session whose
// console and violations every test reads and whose close() asserts that no
// request left the page's origin, no policy was violated and no script
// failed.
export async function open(t, options = {}, folder = pageFolder) {
  assert.ok(folder, 'LUKIMO_WEB_PAGE names no unpacked page');
  const server = await startServer(folder);
  const profile = mkdtempSync(join(tmpdir(), 'lukimo-chromium-'));
  const launched = Date.now();
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: chromiumArgs,
    ...desktop,
    ...options,
  });
  const session = {
    server, context, profile,
    launchMs: Date.now() - launched,
    console: [], errors: [], violations: [], foreign: [],
  };
  await context.exposeBinding('__lukimoReportViolation', (_, text) => session.violations.push(text));
  await context.addInitScript(violationWatch);
  await context.addInitScript(soundCounter);
  await context.addInitScript(frameProbe);
  await context.addInitScript(workerRegistration);
  const allowed = new Set([server.origin]);
  context.on('request', (request) => {
    const url = new URL(request.url());
    if (url.protocol === 'data:' || url.protocol === 'blob:')
      return;
    if (!allowed.has(url.origin))
      session.foreign.push(request.url());
  });
  const watch = (page) => {
    page.on('console', (message) => {
      session.console.push({ type: message.type(), text: message.text(), at: Date.now() });
      if (message.type() === 'error' && /Content.Security.Policy/i.test(message.text()))
        session.violations.push(message.text());
    });
    page.on('pageerror', (error) => session.errors.push(String(error)));
  };
  context.pages().forEach(watch);
  context.on('page', watch);
  session.page = context.pages()[0] ?? await context.newPage();
  let closed;
  session.close = () => (closed ??= closeSession());
  const closeSession = async () => {
    await context.close().catch(() => {});
    await server.close();
    rmSync(profile, { recursive: true, force: true });
    assert.deepEqual(session.foreign, [], 'requests to another origin');
    const outside = server.requests.filter((r) => !r.path.startsWith(defaultPrefix));
    assert.deepEqual(outside, [], 'requests outside the page\'s folder (absolute URLs)');
    const failed = server.requests.filter((r) => r.status >= 400);
    assert.deepEqual(failed, [], 'requests for files the page does not have');
    assert.deepEqual(session.violations, [], 'Content-Security-Policy violations');
    assert.deepEqual(session.errors, [], 'uncaught errors in the page');
  };
  t?.after?.(() => session.close());
  return session;
}

// The console lines the program wrote, in order, from message index `from`.
export function consoleLines(session, from = 0) {
  return session.console.slice(from).map((m) => m.text);
}

// A copy of the unpacked page to change, removed when the test ends.
export function copyOfPage(t, folder = pageFolder) {
  const copy = mkdtempSync(join(tmpdir(), 'lukimo-page-'));
  cpSync(folder, copy, { recursive: true });
  t.after(() => rmSync(copy, { recursive: true, force: true }));
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

// --- Qt's page, as the user gets it -------------------------------------
// Qt draws each window into a canvas of its own inside a .qt-window element
// of its screen, under a title bar of HTML (.title-bar .window-name) when
// the window has one. Playwright's CSS selectors pierce the screen's open
// shadow root.

// Closes a window with the close button of its title bar, as a user does:
// the last of the title bar's buttons that Qt shows.
export async function closeByTitleBar(window) {
  await window.locator('.title-bar .action-button:visible').last().click();
}

// The windows the user can see, by title, front first.
export async function shownTitles(page) {
  return page.locator('.qt-window').evaluateAll((windows) => windows
    .filter((w) => getComputedStyle(w).display !== 'none')
    .sort((a, b) => Number(getComputedStyle(b).zIndex) - Number(getComputedStyle(a).zIndex))
    .map((w) => w.querySelector('.window-name')?.innerText ?? ''));
}

export function windowTitled(page, title) {
  return page.locator('.qt-window').filter({
    has: page.locator('.window-name').getByText(title, { exact: true }),
  });
}

// Waits until a window of that title is shown; returns its locator.
export async function shownWindow(page, title, timeout = 10000) {
  const window = windowTitled(page, title);
  await window.waitFor({ state: 'visible', timeout });
  return window;
}

// The number window: the one the page is named after (the program names
// the page once it runs).
export async function numberWindow(page) {
  const handle = await page.waitForFunction(() => {
    const roots = [document];
    while (roots.length) {
      for (const e of roots.pop().querySelectorAll('*')) {
        if (e.shadowRoot)
          roots.push(e.shadowRoot);
        if (e.classList.contains('qt-window') && getComputedStyle(e).display !== 'none' &&
            e.querySelector('.window-name')?.innerText === document.title)
          return document.title;
      }
    }
    return false;
  }, null, { timeout: 30000, polling: 100 });
  return windowTitled(page, await handle.jsonValue());
}

// What the number window's canvas shows now, as a hash of its pixels. The
// pixels are read from the canvas itself, so that a tooltip or another
// window over it changes nothing.
export async function numberPicture(page) {
  const window = await numberWindow(page);
  return window.locator('canvas').first().evaluate((canvas) => {
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    let hash = 2166136261;
    let ink = 0;
    for (let i = 0; i < data.length; i += 4) {
      hash = Math.imul(hash ^ data[i] ^ (data[i + 1] << 8) ^ (data[i + 2] << 16), 16777619);
      if (data[i] + data[i + 1] + data[i + 2] < 192)
        ink += 1;
    }
    return { hash: hash >>> 0, ink, width: canvas.width, height: canvas.height };
  });
}

// The number rolls: its picture changes twice within a few seconds, so it is
// drawn again and again, not once.
export async function rolls(page, changes = 2, within = 5000) {
  let last = (await numberPicture(page)).hash;
  const end = Date.now() + within;
  let seen = 0;
  while (seen < changes && Date.now() < end) {
    await sleep(150);
    const now = (await numberPicture(page)).hash;
    if (now !== last)
      seen += 1;
    last = now;
  }
  return seen >= changes;
}

// The number stands: once what a stop draws is out, two looks 0.8 s apart
// (eight ticks) agree.
export async function stands(page) {
  await sleep(300);
  const first = await numberPicture(page);
  await sleep(800);
  const second = await numberPicture(page);
  return first.hash === second.hash && first.ink > 0;
}

// Opens the page in a fresh browser as open() does, waits for the number
// window and, unless told not to, switches Qt's screen-reader support on
// first thing, as a screen-reader user does.
export async function start(t, { context = {}, folder = pageFolder, screenReader = true } = {}) {
  const session = await open(t, context, folder);
  await session.page.goto(session.server.url);
  await numberWindow(session.page);
  if (screenReader)
    await enableScreenReader(session.page);
  return session;
}

// The text the screen reader gives the number window.
export async function numberName(page) {
  const window = await numberWindow(page);
  const texts = (await mirrored(window)).filter((e) => !e.hidden).map((e) => e.text);
  return texts.join(' ');
}

// The middle of the number window's canvas, in page coordinates.
export async function numberCentre(page) {
  const box = await (await numberWindow(page)).locator('canvas').first().boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}

// The shapes Qt drew in a window: each connected patch of ink (dark
// pixels) of glyph size, as its width, height and bitmap, with how often it
// occurs. A glyph the fonts lack is drawn as one hollow box, the same for
// every such character, so boxes for text show up as one shape many times.
export async function inkShapes(window) {
  return window.locator('canvas').first().evaluate((canvas) => {
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
  });
}

// --- Qt's screen-reader support -----------------------------------------
// Qt 6.8 puts a visually hidden "Enable Screen Reader" button into each
// window; a screen reader presses it as it presses any button (a click on
// the element), and Qt then mirrors every widget into hidden HTML elements
// with their roles and names.
export async function enableScreenReader(page) {
  const button = page.locator('.qt-window-a11y-container button', { hasText: 'Enable Screen Reader' });
  await button.first().waitFor({ state: 'attached', timeout: 30000 });
  await button.first().dispatchEvent('click');
  await button.first().waitFor({ state: 'detached', timeout: 5000 });
}

// The mirrored elements of a window: tag, role, text, description, and where
// the widget is in page coordinates (the mirror lies over the widget).
export async function mirrored(window) {
  return window.locator('.qt-window-a11y-container *').evaluateAll((elements) => elements.map((e) => {
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
  }));
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
// the eye reads them: row by row from the top, each row from the left. Qt
// 6.8 mirrors a radio button without its text, so its place is what tells.
export async function radiosIn(window, groupTitle) {
  const all = (await mirrored(window)).filter((e) => !e.hidden);
  const group = all.find((e) => e.tag === 'div' && e.text === groupTitle);
  assert.ok(group, `no group "${groupTitle}" in the window`);
  const inside = all.filter((e) => e.tag === 'input' && e.type === 'radio' &&
    e.x > group.left && e.x < group.right && e.y > group.top && e.y < group.bottom);
  // Buttons of one row lie within a few pixels of each other.
  return inside.sort((a, b) => (Math.abs(a.y - b.y) > 5 ? a.y - b.y : a.x - b.x));
}

// The button of that text.
export async function button(window, text) {
  const found = (await mirrored(window)).find((e) => !e.hidden && e.tag === 'button' && e.text === text);
  assert.ok(found, `no button "${text}" in the window`);
  return found;
}

export async function click(page, element, options) {
  await page.mouse.click(element.x, element.y, options);
}
