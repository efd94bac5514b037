// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo in a browser whose language is Japanese: the page is named in
// Japanese, and every text Qt draws shows Japanese glyphs, not boxes.

import assert from 'node:assert/strict';
import { readFileSync, unlinkSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import {
  copyOfPage, dataEntries, each, inkShapes, inQt, numberCentre, open, pageErrors, republish, shownTitles, sleep,
  start, waitFor,
} from './lukimo.mjs';

each('the page is named ルキモ and speaks Japanese, its own texts and Qt\'s included', async (t, engine) => {
  const page = await start(t, engine, { locale: 'ja-JP', screenReader: false });
  assert.equal(await page.title(), 'ルキモ');
  assert.equal(await page.evaluate(() => document.documentElement.lang), 'ja');
  const buttons = await page.evaluate(inQt(() => qtWindows()
    .flatMap((w) => [...w.querySelectorAll('.qt-window-a11y-container button')]).map((b) => b.textContent)));
  assert.ok(buttons.length > 0 && !buttons.some((b) => /[A-Za-z]/.test(b)), `Qt's buttons read ${buttons}`);
  // A broken copy says so in Japanese.
  const broken = copyOfPage(t);
  unlinkSync(join(broken, 'lukimo.wasm'));
  const session = await open(undefined, engine, { locale: 'ja-JP' }, broken);
  await session.goto(session.server.url);
  const said = await waitFor(session, () => {
    const status = document.getElementById('status');
    return /起動できません/.test(status?.textContent) && status.lang;
  }, [], { timeout: 20000, what: 'the sentence of a broken copy in Japanese' }).finally(async () => {
    (await pageErrors(session).catch(() => session.errors)).length = 0;
    session.server.requests.length = 0;
    await session.close();
  });
  assert.equal(said, 'ja');
});

// The shapes of the settings window, the window with the most text, as Qt
// draws it in a browser of that language.
async function settingsShapes(t, engine, locale, folder) {
  const page = await start(t, engine, { locale, folder, screenReader: false });
  const centre = await numberCentre(page);
  await page.click(centre.x, centre.y, 'right');
  await sleep(300);
  const [front] = await shownTitles(page);
  // Qt draws a window once it is shown; the shapes settle with that.
  let shapes = [];
  for (let look = 0; look < 20; look += 1) {
    await sleep(200);
    const now = await inkShapes({ session: page, title: front });
    if (now.length > 0 && JSON.stringify(now) === JSON.stringify(shapes))
      break;
    shapes = now;
  }
  await page.close();
  return shapes;
}

each('the Japanese texts are drawn in Japanese glyphs, not boxes', async (t, engine) => {
  // What a missing font looks like: the same page with the bundled font's
  // bytes blanked in lukimo.data, so that it cannot be registered, published
  // as a build would publish it. Every Japanese character is then one box;
  // the box is the shape of that page that the English page never draws.
  const noFont = copyOfPage(t);
  const font = Object.entries(dataEntries(noFont)).find(([name]) => /\.(ttf|otf)$/.test(name));
  assert.ok(font, 'lukimo.data holds no font');
  const data = readFileSync(join(noFont, 'lukimo.data'));
  data.fill(0, font[1].start, font[1].end);
  writeFileSync(join(noFont, 'lukimo.data'), data);
  republish(noFont, 'no-font');

  const english = new Set((await settingsShapes(t, engine, 'en-US')).map((s) => s.key));
  const boxes = (await settingsShapes(t, engine, 'ja-JP', noFont))
    .filter((s) => !english.has(s.key))
    .sort((a, b) => b.count - a.count);
  assert.ok(boxes.length > 0 && boxes[0].count >= 10,
    'without the font the settings show no row of boxes: the check would not catch it');
  const box = boxes[0].key;

  const drawn = await settingsShapes(t, engine, 'ja-JP');
  const found = drawn.find((s) => s.key === box)?.count ?? 0;
  assert.equal(found, 0, `the Japanese settings show ${found} boxes for characters`);
});
