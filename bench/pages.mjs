// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the two page benchmarks (web.mjs, phone.mjs) share: the figures of
// a set of rounds, the sources measured, and the two pages of a build.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync, statSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join, resolve } from 'node:path';

const here = new URL('.', import.meta.url).pathname;
const modules = process.env.LUKIMO_WEB_NODE_MODULES ?? join(here, '../tests/web/node_modules');

// Debian's Chromium, as the browser tests drive it.
export const { chromium } = createRequire(join(modules, 'noop.js'))('playwright-core');
export const chromiumPath = process.env.LUKIMO_CHROMIUM ?? '/usr/bin/chromium';
export const chromiumArgs = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export function median(values) {
  const s = [...values].sort((a, b) => a - b);
  const m = s.length >> 1;
  return s.length % 2 ? s[m] : (s[m - 1] + s[m]) / 2;
}

export function quartiles(values) {
  const s = [...values].sort((a, b) => a - b);
  const at = (q) => {
    const pos = (s.length - 1) * q;
    const lo = Math.floor(pos);
    return s[lo] + (s[Math.min(lo + 1, s.length - 1)] - s[lo]) * (pos - lo);
  };
  return [at(0.25), at(0.75)];
}

export const spread = (values) => [median(values), ...quartiles(values)];
export const fmt = ([m, lo, hi], digits) => `${m.toFixed(digits)} (${lo.toFixed(digits)}–${hi.toFixed(digits)})`;

export function revision() {
  try {
    const commit = execFileSync('git', ['-C', here, 'rev-parse', '--short', 'HEAD']).toString().trim();
    const changed = execFileSync('git', ['-C', here, 'status', '--porcelain', '--untracked-files=no',
      '--', ':/', ':!*.md']).toString().trim();
    return changed ? `${commit} with local changes` : commit;
  } catch {
    return 'unknown sources';
  }
}

// The folders of Lukimo's page and of the bare page in a build.
export function pageFolders(build) {
  const lukimoFolder = resolve(build, 'page');
  const floorFolder = resolve(build, 'page-floor');
  for (const folder of [lukimoFolder, floorFolder])
    assert.ok(statSync(folder, { throwIfNoEntry: false })?.isDirectory(),
      `${folder} is missing: build with scripts/web-build.sh ${build} -DLUKIMO_WEB_FLOOR=ON`);
  return { lukimoFolder, floorFolder };
}

// The command line of a page benchmark: BUILD-WEB [--rounds N] [--results FILE].
export function benchArgs(script, rounds) {
  const out = { rounds, results: null, build: null };
  const list = process.argv.slice(2);
  for (let i = 0; i < list.length; i += 1) {
    if (list[i] === '--rounds')
      out.rounds = Number(list[++i]);
    else if (list[i] === '--results')
      out.results = list[++i];
    else
      out.build = list[i];
  }
  if (!out.build || !(out.rounds >= 1)) {
    console.error(`usage: node bench/${script} BUILD-WEB [--rounds N] [--results FILE]`);
    process.exit(2);
  }
  return out;
}

// Rewrites the block between the two markers of a results file.
export function refreshBlock(results, begin, end, block) {
  const text = readFileSync(results, 'utf8');
  assert.ok(text.includes(begin) && text.includes(end), `${results} has no '${begin}' ... '${end}' block to refresh`);
  const [head, rest] = text.split(begin);
  const tail = rest.split(end)[1];
  writeFileSync(results, `${head}${begin}\n${block}\n${end}${tail}`);
}
