// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo in a desktop browser window, used with the mouse and the keyboard,
// and read as a screen reader reads it.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import {
  button, click, closeByTitleBar, consoleLines, consoleMark, each, inkShapes, mirrored, numberCentre,
  numberName, pressButton, radiosIn, rolls, shownTitles, shownWindow, sleep, stands, start, waitForText,
  windowGone, windowText,
} from './lukimo.mjs';

const settingsTitle = 'settei menu numbers3';
const pastDataTitle = 'serch menu';
// Each digit group shows its keys as a keypad: 9 8 7 / 6 5 4 / 3 2 1 / # * 0.
const keypad = ['9', '8', '7', '6', '5', '4', '3', '2', '1', '#', '*', '0'];

// Opens the settings with a right click.
async function openSettings(page) {
  const centre = await numberCentre(page);
  await page.click(centre.x, centre.y, 'right');
  return shownWindow(page, settingsTitle);
}

// Opens the past-data window from the settings' "serch" button.
async function openPastData(page) {
  const settings = await openSettings(page);
  await click(page, await button(settings, 'serch'));
  return shownWindow(page, pastDataTitle);
}

// Types into the past-data window's field and presses Return.
async function enter(page, pastData, text) {
  const input = (await mirrored(pastData)).find((e) => e.tag === 'input' && e.type === 'text');
  assert.ok(input, 'the past-data window has no field');
  await click(page, input);
  await page.type(text);
  await page.press('Enter');
}

each('the number rolls, a click stops it on the number it names, the next restarts it', async (t, engine) => {
  const page = await start(t, engine);
  assert.ok(await rolls(page), 'the number does not roll');
  assert.equal(await numberName(page), 'Lukimo number');

  for (let round = 0; round < 2; round += 1) {
    const traced = await consoleMark(page);
    const centre = await numberCentre(page);
    await page.click(centre.x, centre.y);
    assert.ok(await stands(page), 'a click did not stop the roll');
    assert.match(await numberName(page), /^Lukimo number \d{3}$/);
    // The stop asks the settings for the hundreds' limit and traces it.
    assert.deepEqual(await consoleLines(page, traced), ['9']);

    await page.click(centre.x, centre.y);
    assert.ok(await rolls(page), 'the next click did not restart the roll');
    assert.equal(await numberName(page), 'Lukimo number');
  }
});

each('a right click opens the settings with their title, and the roll goes on', async (t, engine) => {
  const page = await start(t, engine, { screenReader: false });
  await openSettings(page);
  assert.equal((await shownTitles(page))[0], settingsTitle, 'the settings are not in front');
  assert.ok(await rolls(page), 'a right click stopped the roll');
});

each('the version box opens once and closes each way; then self mode reports its picks at a stop',
  async (t, engine) => {
    // With the screen-reader mode switched on first, as its user does.
    const page = await start(t, engine);
    const settings = await openSettings(page);
    // The browser has no nested event loop: the box must open and close
    // without one, and leave the program whole for what follows.
    const version = await button(settings, 'Version');
    // OK as a screen reader presses it (Qt 6.8.2 leaves the mirror of a
    // newly placed box where the box first stood), the keyboard's keys, and
    // the title bar's close button.
    for (const [close, askAgain] of [['OK', true], ['Enter', false], ['Escape', false], ['title bar', true]]) {
      await click(page, version);
      const box = await shownWindow(page, 'Version');
      await waitForText(box, /Lukimo \d/);
      if (askAgain) {
        // Asked for again while it is open: still one box. (Not before a
        // key: a click on the window the box blocks takes the browser's
        // keyboard focus away from the box.)
        await click(page, version);
        await sleep(300);
      }
      assert.deepEqual((await shownTitles(page)).filter((title) => title === 'Version'), ['Version']);
      if (close === 'OK')
        await pressButton(box, 'OK');
      else if (close === 'title bar')
        await closeByTitleBar(box);
      else
        await page.press(close);
      await windowGone(box);
    }
    const [, self] = await radiosIn(settings, 'mode');
    await click(page, self);
    // The number 123: 1 in the hundreds' group (Max_3), 2 in the tens'
    // (Max_2), 3 in the ones' (Max_1).
    for (const [group, digit] of [['Max_3', '1'], ['Max_2', '2'], ['Max_1', '3']]) {
      const keys = await radiosIn(settings, group);
      assert.equal(keys.length, keypad.length, `${group} shows ${keys.length} keys`);
      await click(page, keys[keypad.indexOf(digit)]);
    }
    await click(page, await button(settings, 'ok'));

    const traced = await consoleMark(page);
    const centre = await numberCentre(page);
    await page.click(centre.x, centre.y);
    const report = await shownWindow(page, 'Box Pattern');
    await waitForText(report, /Strate/);
    const text = await windowText(report);
    for (const line of ['Strate:123', 'Box No1:132', 'Box No2:213', 'Box No3:231', 'Box No4:321',
      'Box No5:312'])
      assert.ok(text.includes(line), `the report lacks "${line}"; it reads:\n${text}`);
    assert.equal(await numberName(page), 'Lukimo number 123');
    // The trace reaches the console whole and in order, the lines of one
    // turn in one message. (A tick before the stop may ask for the
    // hundreds' limit once more.)
    assert.deepEqual((await consoleLines(page, traced)).join('\n').split('\n').slice(-7),
      ['method=11', '12', '13', 'pattern 7-1', 'r3=1', 'r2=2', 'r=3']);
    await page.press('Enter');
    await windowGone(report);
    // The next click restarts the roll, which in self mode keeps showing
    // the number picked: the name tells.
    await page.click(centre.x, centre.y);
    for (let look = 0; look < 50 && await numberName(page) !== 'Lukimo number'; look += 1)
      await sleep(100);
    assert.equal(await numberName(page), 'Lukimo number', 'the next click did not restart the roll');
  });

each('the past-data window stores a number and gives the real number of the last draw', async (t, engine) => {
  const page = await start(t, engine);
  const pastData = await openPastData(page);

  // Storing a bought number brings up the search of the bought numbers.
  const modes = await radiosIn(pastData, 'mode');
  await click(page, modes[0]);
  await enter(page, pastData, '123');
  await waitForText(pastData, /123/).catch(() => {});
  const after = await radiosIn(pastData, 'mode');
  assert.equal(after.length, modes.length + 1, 'storing a number did not offer its search');

  // The last draw of the records the table is made from.
  const draws = readFileSync(new URL('../../data/results/numbers3-draws-1-6873.csv', import.meta.url), 'utf8');
  const [number, date, digits] = draws.trim().split('\n').pop().split(',');
  // Qt 6.8.2 leaves the mirror of the buttons below the new one where they
  // were, so "Times to Data" is reached as a keyboard user reaches it: from
  // the first button, which did not move, down the group.
  await click(page, after[0]);
  for (let step = 1; step < after.length; step += 1)
    await page.press('ArrowDown');
  await waitForText(pastData, new RegExp(`Draws 1–${number}, to ${date}`));
  await enter(page, pastData, number);
  const report = await shownWindow(page, 'serch result');
  await waitForText(report, new RegExp(`\\b${Number(digits)}\\b`));
});

each('a mode button of the past-data window plays one click', async (t, engine) => {
  const page = await start(t, engine);
  const pastData = await openPastData(page);
  await sleep(500);
  assert.equal(await page.evaluate(() => window.__lukimoSounds), 0, 'a sound played unasked');
  const modes = await radiosIn(pastData, 'mode');
  // "Data to Times", which is not the mode already chosen.
  await click(page, modes[modes.length - 2]);
  await sleep(1000);
  assert.equal(await page.evaluate(() => window.__lukimoSounds), 1);
});

each('F1 opens the help, which shows its page', async (t, engine) => {
  const page = await start(t, engine, { screenReader: false });
  const centre = await numberCentre(page);
  await page.click(centre.x, centre.y);
  await page.press('F1');
  const help = await shownWindow(page, 'How to use');
  // Without the screen reader the page is told by what the window draws:
  // hundreds of glyphs, where an empty page (the help file missing) draws
  // none.
  let glyphs = 0;
  for (let look = 0; look < 50 && glyphs < 300; look += 1) {
    await sleep(200);
    glyphs = (await inkShapes(help)).reduce((sum, shape) => sum + shape.count, 0);
  }
  assert.ok(glyphs >= 300, `the help shows ${glyphs} glyphs`);
});
