// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo on a phone: a 390 × 844 screen at three device pixels to the CSS
// pixel, used with a finger.

import assert from 'node:assert/strict';
import {
  boxes, each, enableScreenReader, mirrored, numberCentre, numberPicture, numberWindow, phone, rolls,
  shownTitles, shownWindow, sleep, stands, start,
} from './lukimo.mjs';

const settingsTitle = 'settei menu numbers3';

// A finger held on the point for 1.5 s, longer than any platform's long
// press, as the touch events of the screen deliver it.
const longPress = (page, { x, y }) => page.hold(x, y, 1500);
const onPhone = { phone: true, screenReader: false };

each('the number is at least 300 CSS pixels wide and drawn at the screen\'s own pixels', { needs: ['phone'] }, async (t, engine) => {
  const page = await start(t, engine, onPhone);
  const box = (await boxes(await numberWindow(page))).canvas;
  assert.ok(box.width >= 300, `the number window is ${box.width} CSS pixels wide`);
  assert.ok(box.x >= 0 && box.x + box.width <= phone.width, 'the number window is off the screen');
  const picture = await numberPicture(page);
  assert.equal(picture.width, Math.round(box.width * phone.scale),
    'the digits are drawn at fewer pixels than the screen has');
});

each('a tap stops the roll and the next restarts it; a long press opens the settings, and changes nothing of the roll', { needs: ['phone', 'touch'] }, async (t, engine) => {
  const page = await start(t, engine, onPhone);
  const centre = await numberCentre(page);
  assert.ok(await rolls(page), 'the number does not roll');

  await page.tap(centre.x, centre.y);
  assert.ok(await stands(page), 'a tap did not stop the roll');
  const stopped = await numberPicture(page);

  // Held on a stopped number: the settings open, the number stays.
  await longPress(page, centre);
  await shownWindow(page, settingsTitle);
  assert.ok(await stands(page), 'a long press restarted the roll');
  assert.equal((await numberPicture(page)).hash, stopped.hash, 'a long press changed the number');
  await page.press('Escape');
  for (let i = 0; i < 20 && (await shownTitles(page)).includes(settingsTitle); i += 1)
    await sleep(100);

  await page.tap(centre.x, centre.y);
  assert.ok(await rolls(page), 'the next tap did not restart the roll');

  // Held on a rolling number: the settings open, the roll goes on.
  await longPress(page, centre);
  await shownWindow(page, settingsTitle);
  assert.ok(await rolls(page), 'a long press stopped the roll');
});

each('the settings fit the phone\'s width, every button and the close control on the screen', { needs: ['phone', 'touch'] }, async (t, engine) => {
  const page = await start(t, engine, onPhone);
  await longPress(page, await numberCentre(page));
  const settings = await shownWindow(page, settingsTitle);
  const { width, height } = phone;
  const { window: box, close: closeBox } = await boxes(settings);
  assert.ok(box.x >= 0 && box.x + box.width <= width,
    `the settings span ${box.x} to ${box.x + box.width} of ${width} CSS pixels`);
  assert.ok(closeBox, 'the settings show no close control');
  assert.ok(closeBox.x >= 0 && closeBox.x + closeBox.width <= width && closeBox.y >= 0,
    'the close control is off the screen');

  // Where each control is, as a screen reader finds it.
  await enableScreenReader(page);
  const controls = (await mirrored(settings))
    .filter((e) => !e.hidden && (e.tag === 'button' || e.tag === 'input'));
  assert.ok(controls.length > 0, 'the settings mirror no controls');
  const off = controls.filter((e) => e.left < 0 || e.right > width || e.top < 0 || e.bottom > height);
  assert.deepEqual(off.map((e) => `${e.tag} ${e.text || e.description} at ${e.left},${e.top}`), [],
    'controls off the screen');
});
