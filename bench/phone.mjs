// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser build's start on a phone, against the bare-Qt floor (see
// web.mjs): headless Chromium with a phone's screen (390 × 844 CSS pixels at
// 3 device pixels each, touch), its CPU slowed four times through the
// DevTools protocol, and the test server's line slowed to 1.6 Mbit/s with
// 150 ms before each answer, sending brotli or gzip as a static host does.
//   cold   ms from the start of navigation to the first frame that shows the
//          number's segments, in a fresh browser context (nothing kept)
//   warm   the same for the next start in that context, once the first has
//          finished: from the offline copy for Lukimo, from the HTTP cache
//          for the floor, which has no service worker
// The two pages are measured in alternation.
//
//   node bench/phone.mjs BUILD-WEB [--rounds N] [--results bench/RESULTS.md]
//
// BUILD-WEB as for web.mjs: page/ holds Lukimo, page-floor/ the floor
// (scripts/web-build.sh BUILD-WEB -DLUKIMO_WEB_FLOOR=ON).

import { readdirSync, statSync } from 'node:fs';
import { cpus, loadavg } from 'node:os';
import { join } from 'node:path';
import { frameProbe } from '../tests/web/frames.mjs';
import { startServer } from '../tests/web/server.mjs';
import { benchArgs, chromium, chromiumArgs, chromiumPath, fmt, refreshBlock, pageFolders, revision, spread } from './pages.mjs';

const MARK_BEGIN = '<!-- phone bench figures begin -->';
const MARK_END = '<!-- phone bench figures end -->';
const LINE = { bytesPerSecond: 200000, latencyMs: 150 };
const CPU_SLOWDOWN = 4;
const PHONE = { width: 390, height: 844 };
const GOALS = { cold: 1.3, warm: 1.2 };

const args = () => benchArgs('phone.mjs', 5);

// One start in a page of its own: the ms to the first frame with ink.
async function firstFrame(context, url) {
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: CPU_SLOWDOWN });
  await page.goto(url, { timeout: 300000 });
  const handle = await page.waitForFunction(() => window.__lukimoFrames?.firstInk, null,
    { timeout: 300000, polling: 50 });
  return { page, ms: await handle.jsonValue() };
}

// A cold start and then a warm one of a page in a fresh context. ready(page)
// waits, after the cold start, until what the warm one needs is kept.
async function coldAndWarm(browser, url, viewport, ready) {
  const context = await browser.newContext({
    viewport, deviceScaleFactor: 3, isMobile: true, hasTouch: true, serviceWorkers: 'allow',
  });
  try {
    await context.addInitScript(frameProbe);
    const cold = await firstFrame(context, url);
    await ready(cold.page);
    await cold.page.close();
    const warm = await firstFrame(context, url);
    const size = await warm.page.locator('canvas.qt-window-content').first().boundingBox();
    return { cold: cold.ms, warm: warm.ms, size };
  } finally {
    await context.close();
  }
}

// Lukimo's next start runs from its copy once the copy is complete.
const copyKept = (page) => page.waitForFunction(async () => {
  const registration = await navigator.serviceWorker.getRegistration();
  const set = registration?.active && new URL(registration.active.scriptURL).searchParams.get('set');
  const cacheName = `${set} ${new URL(registration?.scope ?? location.href).pathname}`;
  return !!set && !!(await caches.match('./.lukimo-complete', { cacheName }));
}, null, { timeout: 600000, polling: 500 });
// The floor's from the browser's cache, which holds its files as they came.
const nothing = async () => {};

async function main() {
  const { build, rounds, results } = args();
  const { lukimoFolder, floorFolder } = pageFolders(build);
  const floorPage = readdirSync(floorFolder).find((f) => f.endsWith('.html'));

  const loadBefore = loadavg()[0];
  const lukimoServer = await startServer(lukimoFolder, undefined, { compress: true });
  const floorServer = await startServer(floorFolder, undefined, { compress: true });
  lukimoServer.setLine(LINE);
  floorServer.setLine(LINE);
  // Every file compressed once before anything is timed (brotli -q 11 of
  // the .wasm takes seconds), as a static host has them ready.
  for (const [server, folder] of [[lukimoServer, lukimoFolder], [floorServer, floorFolder]]) {
    server.setLine(null);
    for (const file of readdirSync(folder, { recursive: true })) {
      if (statSync(join(folder, file)).isFile()) {
        for (const encoding of ['br', 'gzip'])
          await (await fetch(server.url + file, { headers: { 'Accept-Encoding': encoding } })).arrayBuffer();
      }
    }
    server.setLine(LINE);
  }
  const browser = await chromium.launch({ executablePath: chromiumPath, headless: true, args: chromiumArgs });
  const version = browser.version();
  const samples = { cold: [], warm: [] };
  let floorViewport;
  try {
    // The floor is a window of the number window's size on the phone: Qt for
    // the browser makes a lone top-level window fill its screen.
    const probe = await coldAndWarm(browser, lukimoServer.url, PHONE, copyKept);
    floorViewport = { width: Math.round(probe.size.width), height: Math.round(probe.size.height) };
    console.error(`number window ${floorViewport.width} × ${floorViewport.height}; ` +
      `a first round, not counted: ${probe.cold.toFixed(0)} / ${probe.warm.toFixed(0)} ms`);
    for (let round = 0; round < rounds; round += 1) {
      const order = round % 2 === 0 ? ['floor', 'lukimo'] : ['lukimo', 'floor'];
      const got = {};
      for (const name of order) {
        got[name] = name === 'floor'
          ? await coldAndWarm(browser, floorServer.url + floorPage, floorViewport, nothing)
          : await coldAndWarm(browser, lukimoServer.url, PHONE, copyKept);
      }
      for (const kind of ['cold', 'warm'])
        samples[kind].push([got.lukimo[kind], got.floor[kind]]);
      console.error(`round ${round + 1} of ${rounds}: cold ${got.lukimo.cold.toFixed(0)} / ` +
        `${got.floor.cold.toFixed(0)} ms, warm ${got.lukimo.warm.toFixed(0)} / ${got.floor.warm.toFixed(0)} ms`);
    }
    const wasm = lukimoServer.requests.find((r) => r.path.endsWith('.wasm') && r.status === 200);
    console.error(`lukimo.wasm was sent ${wasm?.encoding ?? 'uncompressed'}`);
  } finally {
    await browser.close();
    await lukimoServer.close();
    await floorServer.close();
  }
  const loadAfter = loadavg()[0];

  const header = `Run of ${new Date().toISOString().slice(0, 10)} on ${revision()}: ${rounds} rounds, ` +
    `${cpus().length} CPUs (${cpus()[0]?.model ?? 'unknown'}), Chromium ${version}, CPU slowed ${CPU_SLOWDOWN}×, ` +
    `line ${(LINE.bytesPerSecond * 8) / 1e6} Mbit/s with ${LINE.latencyMs} ms per answer, brotli; ` +
    `phone screen ${PHONE.width} × ${PHONE.height} at 3×; ` +
    `load average ${loadBefore.toFixed(2)} before, ${loadAfter.toFixed(2)} after.`;
  const lines = [header, '',
    '| first frame of the number (ms) | Lukimo (middle half) | floor (middle half) | ratio (middle half) | goal |',
    '|---|---:|---:|---:|---|'];
  for (const kind of ['cold', 'warm']) {
    const pairs = samples[kind];
    const ratio = spread(pairs.map(([ours, floor]) => ours / floor));
    const verdict = `≤ ${GOALS[kind].toFixed(2)}${ratio[0] <= GOALS[kind] ? '' : ' MISSED'}`;
    lines.push(`| ${kind} | ${fmt(spread(pairs.map((p) => p[0])), 0)} | ${fmt(spread(pairs.map((p) => p[1])), 0)} | ` +
      `${fmt(ratio, 3)} | ${verdict} |`);
  }
  const block = lines.join('\n');
  console.log(block);
  if (results)
    refreshBlock(results, MARK_BEGIN, MARK_END, block);
}

await main();
process.exit(0);
