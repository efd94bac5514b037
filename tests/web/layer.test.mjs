// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The driver layer itself, on a bare page that logs what reaches it: every
// engine must deliver a click, a right click, keys and touches as a user's
// would, and hand over the console, or the page's tests in that engine
// check less than they say.

import assert from 'node:assert/strict';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { consoleLines, each, open, sleep, waitFor } from './lukimo.mjs';

// A page as the build lays one out: a policy, a script of its own folder,
// and a service worker (never registered here) that lists its files.
function barePage(t) {
  const folder = mkdtempSync(join(tmpdir(), 'lukimo-bare-'));
  t.after(() => rmSync(folder, { recursive: true, force: true }));
  writeFileSync(join(folder, 'index.html'), `<!DOCTYPE html>
<html><head><meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; script-src 'self'; img-src data:">
<title>bare</title><link rel="icon" href="data:,"></head>
<body><script src="app.js"></script></body></html>`);
  writeFileSync(join(folder, 'app.js'), `'use strict';
window.seen = [];
window.watchedFirst = !!window.__lukimoRecord;
for (const type of ['pointerdown', 'pointerup', 'click', 'auxclick', 'contextmenu'])
  addEventListener(type, (e) => seen.push(\`\${type} \${e.button} \${e.pointerType ?? 'mouse'} \${Math.round(e.clientX)},\${Math.round(e.clientY)}\`));
addEventListener('contextmenu', (e) => e.preventDefault());
addEventListener('keydown', (e) => { seen.push(\`key \${e.key}\`); e.preventDefault(); });
console.log('two\\nlines', 3);
`);
  const zeros = '0'.repeat(64);
  writeFileSync(join(folder, 'sw.js'), `const CACHE = 'bare';\nconst FILES = {\n    './': '${zeros}',\n    './app.js': '${zeros}'\n};\n`);
  return folder;
}

async function openBare(t, engine, options) {
  const session = await open(t, engine, options, barePage(t));
  await session.goto(session.server.url);
  await waitFor(session, () => !!window.seen, [], { what: 'the bare page' });
  return session;
}

// The events that reached the page since the last look.
const taken = (session) => session.evaluate(() => window.seen.splice(0));

each('the layer runs its watches first, evaluates in the page and reads its console', async (t, engine) => {
  const session = await openBare(t, engine);
  assert.equal(await session.evaluate(() => window.watchedFirst), true, 'the page ran before the watches');
  assert.deepEqual(await session.evaluate(async (a, b) => [a + b, await Promise.resolve('later')], 2, 3),
    [5, 'later']);
  await assert.rejects(session.evaluate(() => { throw new Error('thrown in the page'); }), /thrown in the page/);
  assert.deepEqual(await consoleLines(session), ['two\nlines 3']);
});

each('the layer clicks, right-clicks and types where and as a user does', async (t, engine) => {
  const session = await openBare(t, engine);
  await session.click(100, 50);
  await session.click(200, 150, 'right');
  // A left click after a right one is a plain click again.
  await session.click(300, 250);
  await session.type('a1');
  for (const key of ['Enter', 'ArrowDown', 'Escape', 'F1'])
    await session.press(key);
  await waitFor(session, () => window.seen.length >= 16, [], { what: 'every event' });
  assert.deepEqual(await taken(session), [
    'pointerdown 0 mouse 100,50', 'pointerup 0 mouse 100,50', 'click 0 mouse 100,50',
    'pointerdown 2 mouse 200,150', 'contextmenu 2 mouse 200,150', 'pointerup 2 mouse 200,150',
    'auxclick 2 mouse 200,150',
    'pointerdown 0 mouse 300,250', 'pointerup 0 mouse 300,250', 'click 0 mouse 300,250',
    'key a', 'key 1', 'key Enter', 'key ArrowDown', 'key Escape', 'key F1',
  ]);
});

each('the layer taps and holds with a finger', { needs: ['touch'] }, async (t, engine) => {
  const session = await openBare(t, engine, { phone: true });
  await session.tap(50, 60);
  await session.hold(70, 80, 300);
  await sleep(1000);
  const events = (await taken(session)).filter((e) => /^pointer(down|up)/.test(e));
  assert.deepEqual(events, ['pointerdown 0 touch 50,60', 'pointerup 0 touch 50,60',
    'pointerdown 0 touch 70,80', 'pointerup 0 touch 70,80']);
});
