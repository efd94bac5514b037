// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The browser build against the bare-Qt floor (bench/floor.cpp built for the
// browser with the same toolchain and link flags), in headless Chromium from
// a server on localhost:
//   size            every file of each page, raw, gzip -9 and brotli -q 11
//   first frame     ms from the start of navigation to the first frame that
//                   shows the number's segments
//   CPU per tick    main-thread task time of the page over ten seconds of
//                   rolling, divided by the frames it drew meanwhile; for
//                   Lukimo also the script time with its settings open, and
//                   once they are closed again (a tick then traces the
//                   limits it asks them for)
// Each sample loads its page cold, in a browser context of its own (no HTTP
// cache, no service worker, no compiled code kept), the two pages in
// alternation.
//
//   node bench/web.mjs BUILD-WEB [--rounds N] [--results bench/RESULTS.md]
//
// BUILD-WEB is scripts/web-build.sh's folder, configured with
// -DLUKIMO_WEB_FLOOR=ON: page/ holds Lukimo, page-floor/ the floor.

import { readdirSync, readFileSync, statSync } from 'node:fs';
import { cpus, loadavg } from 'node:os';
import { join, relative } from 'node:path';
import { constants, brotliCompressSync, gzipSync } from 'node:zlib';
import { frameProbe } from '../tests/web/frames.mjs';
import { startServer } from '../tests/web/server.mjs';
import { benchArgs, chromium, chromiumArgs, chromiumPath, fmt, refreshBlock, pageFolders, revision, spread } from './pages.mjs';

const MARK_BEGIN = '<!-- web bench figures begin -->';
const MARK_END = '<!-- web bench figures end -->';
const WARM_UP_MS = 2000;
const WINDOW_MS = 10000;
const BUDGET = 4.5e6;

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

const args = () => benchArgs('web.mjs', 10);

function files(folder) {
  const out = [];
  const walk = (dir) => {
    for (const name of readdirSync(dir).sort()) {
      const path = join(dir, name);
      if (statSync(path).isDirectory())
        walk(path);
      else
        out.push(path);
    }
  };
  walk(folder);
  return out;
}

function compressed(data) {
  return {
    raw: data.length,
    gzip: gzipSync(data, { level: 9 }).length,
    brotli: brotliCompressSync(data, {
      params: {
        [constants.BROTLI_PARAM_QUALITY]: 11,
        [constants.BROTLI_PARAM_LGWIN]: 24,
        [constants.BROTLI_PARAM_SIZE_HINT]: data.length,
      },
    }).length,
  };
}

// The sections of a WebAssembly module with their bytes: code, data, and the
// rest (types, imports, tables, exports...).
function wasmSections(data) {
  const read = (at) => {
    let value = 0;
    let shift = 0;
    for (;;) {
      const byte = data[at++];
      value += (byte & 0x7f) * 2 ** shift;
      shift += 7;
      if (!(byte & 0x80))
        return [value, at];
    }
  };
  const parts = { code: [], data: [], other: [] };
  let at = 8;
  while (at < data.length) {
    const id = data[at];
    const [size, start] = read(at + 1);
    const kind = id === 10 ? 'code' : id === 11 ? 'data' : 'other';
    parts[kind].push(data.subarray(at, start + size));
    at = start + size;
  }
  return Object.fromEntries(Object.entries(parts).map(([k, v]) => [k, compressed(Buffer.concat(v))]));
}

// Every file of a page by size; the floor's page is Qt's own shell page
// with the picture it shows while loading.
function sizes(folder) {
  return files(folder).map((f) => ({ file: relative(folder, f), ...compressed(readFileSync(f)) }));
}

async function sample(browser, url, viewport, settings = false) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: 1 });
  await context.addInitScript(frameProbe);
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send('Performance.enable');
  await page.goto(url);
  const handle = await page.waitForFunction(() => window.__lukimoFrames?.firstInk, null,
    { timeout: 120000, polling: 20 });
  const firstFrame = await handle.jsonValue();
  // The number window's size, for the floor to match.
  const size = await page.locator('canvas.qt-window-content').first().boundingBox();
  await sleep(WARM_UP_MS);
  const metric = async () => {
    const { metrics } = await cdp.send('Performance.getMetrics');
    const get = (name) => metrics.find((m) => m.name === name).value;
    const frames = await page.evaluate(() => window.__lukimoFrames.frames);
    return { task: get('TaskDuration'), script: get('ScriptDuration'), frames };
  };
  const scriptPerTick = async () => {
    const before = await metric();
    await sleep(WINDOW_MS);
    const after = await metric();
    const frames = after.frames - before.frames;
    return { frames, task: ((after.task - before.task) / frames) * 1e6, script: ((after.script - before.script) / frames) * 1e6 };
  };
  const rolling = await scriptPerTick();
  const got = {
    firstFrame,
    frames: rolling.frames,
    taskPerTick: rolling.task,
    scriptPerTick: rolling.script,
    size: { width: Math.round(size.width), height: Math.round(size.height) },
  };
  if (settings) {
    // Opened by a right click on the number, closed by Escape.
    await page.mouse.click(size.x + size.width / 2, size.y + size.height / 2, { button: 'right' });
    await sleep(WARM_UP_MS);
    got.settingsOpen = (await scriptPerTick()).script;
    await page.keyboard.press('Escape');
    await sleep(WARM_UP_MS);
    got.settingsClosed = (await scriptPerTick()).script;
  }
  await context.close();
  return got;
}

function summary(pairs) {
  const f = spread;
  return {
    ours: f(pairs.map((p) => p[0])),
    floor: f(pairs.map((p) => p[1])),
    ratio: f(pairs.map((p) => p[0] / p[1])),
  };
}

const kb = (bytes) => (bytes / 1000).toFixed(1);

async function main() {
  const { build, rounds, results } = args();
  const { lukimoFolder, floorFolder } = pageFolders(build);
  const floorPage = readdirSync(floorFolder).find((f) => f.endsWith('.html'));

  const lukimoSizes = sizes(lukimoFolder);
  const floorSizes = sizes(floorFolder);
  const total = (list) => list.reduce((sum, f) => ({
    raw: sum.raw + f.raw, gzip: sum.gzip + f.gzip, brotli: sum.brotli + f.brotli,
  }), { raw: 0, gzip: 0, brotli: 0 });
  const lukimoTotal = total(lukimoSizes);
  const floorTotal = total(floorSizes);
  const wasm = (folder) => wasmSections(readFileSync(join(folder,
    readdirSync(folder).find((f) => f.endsWith('.wasm')))));
  const lukimoWasm = wasm(lukimoFolder);
  const floorWasm = wasm(floorFolder);

  const loadBefore = loadavg()[0];
  const lukimoServer = await startServer(lukimoFolder);
  const floorServer = await startServer(floorFolder);
  const browser = await chromium.launch({ executablePath: chromiumPath, headless: true, args: chromiumArgs });
  const version = browser.version();
  const samples = { firstFrame: [], task: [], script: [], settingsOpen: [], settingsClosed: [] };
  let viewport = { width: 1280, height: 800 };
  try {
    // The floor is a window of the number window's size: Qt for the browser
    // makes a lone top-level window fill its screen, so the floor's screen is
    // that size.
    const probe = await sample(browser, lukimoServer.url, viewport);
    const floorViewport = probe.size;
    console.error(`number window ${floorViewport.width} × ${floorViewport.height}`);
    for (let round = 0; round < rounds; round += 1) {
      const order = round % 2 === 0 ? ['floor', 'lukimo'] : ['lukimo', 'floor'];
      const got = {};
      for (const name of order) {
        got[name] = name === 'floor'
          ? await sample(browser, floorServer.url + floorPage, floorViewport)
          : await sample(browser, lukimoServer.url, viewport, true);
      }
      samples.firstFrame.push([got.lukimo.firstFrame, got.floor.firstFrame]);
      samples.task.push([got.lukimo.taskPerTick, got.floor.taskPerTick]);
      samples.script.push([got.lukimo.scriptPerTick, got.floor.scriptPerTick]);
      samples.settingsOpen.push([got.lukimo.settingsOpen, got.floor.scriptPerTick]);
      samples.settingsClosed.push([got.lukimo.settingsClosed, got.floor.scriptPerTick]);
      console.error(`round ${round + 1} of ${rounds}: first frame ${got.lukimo.firstFrame.toFixed(0)} / ` +
        `${got.floor.firstFrame.toFixed(0)} ms, CPU per tick ${got.lukimo.taskPerTick.toFixed(0)} / ` +
        `${got.floor.taskPerTick.toFixed(0)} us (${got.lukimo.frames} / ${got.floor.frames} frames)`);
    }
    viewport = floorViewport;
  } finally {
    await browser.close();
    await lukimoServer.close();
    await floorServer.close();
  }
  const loadAfter = loadavg()[0];

  const header = `Run of ${new Date().toISOString().slice(0, 10)} on ${revision()}: ${rounds} rounds, ` +
    `${cpus().length} CPUs (${cpus()[0]?.model ?? 'unknown'}), Chromium ${version}, ` +
    `number window ${viewport.width} × ${viewport.height} CSS pixels; ` +
    `load average ${loadBefore.toFixed(2)} before, ${loadAfter.toFixed(2)} after.`;
  const timed = [
    ['first frame (ms)', summary(samples.firstFrame), 1.3, 0],
    ['CPU per tick, main thread (us)', summary(samples.task), 1.1, 0],
    ['of which script (us)', summary(samples.script), null, 0],
    ['script per tick, settings open (us)', summary(samples.settingsOpen), null, 0],
    ['script per tick, settings opened and closed (us)', summary(samples.settingsClosed), null, 0],
  ];
  const lines = [header, '',
    '| figure | Lukimo (middle half) | floor (middle half) | ratio (middle half) | goal |',
    '|---|---:|---:|---:|---|'];
  for (const [label, s, goal, digits] of timed) {
    const verdict = goal === null ? '' : `≤ ${goal.toFixed(2)}${s.ratio[0] <= goal ? '' : ' MISSED'}`;
    lines.push(`| ${label} | ${fmt(s.ours, digits)} | ${fmt(s.floor, digits)} | ${fmt(s.ratio, 3)} | ${verdict} |`);
  }
  lines.push('', `Sizes in kB (1000 bytes); the goal is all of Lukimo's files at most ${BUDGET / 1e6} MB brotli:`, '',
    '| file | raw | gzip -9 | brotli -q 11 |', '|---|---:|---:|---:|');
  for (const f of lukimoSizes)
    lines.push(`| ${f.file} | ${kb(f.raw)} | ${kb(f.gzip)} | ${kb(f.brotli)} |`);
  lines.push(`| **Lukimo, all files** | ${kb(lukimoTotal.raw)} | ${kb(lukimoTotal.gzip)} | ` +
    `**${kb(lukimoTotal.brotli)}** ${lukimoTotal.brotli <= BUDGET ? '≤' : '> (MISSED)'} ${kb(BUDGET)} |`);
  for (const f of floorSizes)
    lines.push(`| floor: ${f.file} | ${kb(f.raw)} | ${kb(f.gzip)} | ${kb(f.brotli)} |`);
  lines.push(`| **floor, all files** | ${kb(floorTotal.raw)} | ${kb(floorTotal.gzip)} | **${kb(floorTotal.brotli)}** |`);
  lines.push('', 'The two `.wasm` files by section (each section compressed alone):', '',
    '| section | Lukimo raw | floor raw | Lukimo brotli | floor brotli | difference, brotli |',
    '|---|---:|---:|---:|---:|---:|');
  for (const part of ['code', 'data', 'other']) {
    lines.push(`| ${part} | ${kb(lukimoWasm[part].raw)} | ${kb(floorWasm[part].raw)} | ` +
      `${kb(lukimoWasm[part].brotli)} | ${kb(floorWasm[part].brotli)} | ` +
      `${kb(lukimoWasm[part].brotli - floorWasm[part].brotli)} |`);
  }
  const block = lines.join('\n');
  console.log(block);
  if (results)
    refreshBlock(results, MARK_BEGIN, MARK_END, block);
}

await main();
process.exit(0);
