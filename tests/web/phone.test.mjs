// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo on a phone: a 390 × 844 screen at three device pixels to the CSS
// pixel, used with a finger.

import assert from 'node:assert/strict';
import {
  boxes, button, closeByTitleBar, consoleLines, consoleMark, copyComplete, each, enableScreenReader, inQt,
  mirrored, nextVersion, numberCentre, numberName, numberPicture, numberWindow, open, phone, pressButton,
  radiosIn, rolls, shownTitles, shownWindow, sleep, stands, start, statusText, waitFor, waitForText,
  windowGone,
} from './lukimo.mjs';

const settingsTitle = 'settei menu numbers3';

// A finger held on the point for 1.5 s, longer than any platform's long
// press, as the touch events of the screen deliver it.
const longPress = (page, { x, y }) => page.hold(x, y, 1500);
const onPhone = { phone: true, screenReader: false };

// Presses the radio button of the group (as radiosIn orders them) as a
// screen reader does: a click on its mirror, wherever the mirror lies.
async function pressRadio(window, group, index) {
  const { x, y } = (await radiosIn(window, group))[index];
  const pressed = await window.session.evaluate(inQt((title, px, py) => {
    const found = [...(shownTitled(title)?.querySelectorAll('.qt-window-a11y-container input') ?? [])]
      .find((e) => {
        const b = e.getBoundingClientRect();
        return Math.abs(b.x + b.width / 2 - px) < 1 && Math.abs(b.y + b.height / 2 - py) < 1;
      });
    found?.click();
    return !!found;
  }), window.title, x, y);
  assert.ok(pressed, `no radio button ${index} in "${group}"`);
}

each('the number is at least 300 CSS pixels wide and drawn at the screen\'s own pixels', { needs: ['phone'] }, async (t, engine) => {
  const page = await start(t, engine, onPhone);
  const box = (await boxes(await numberWindow(page))).canvas;
  assert.ok(box.width >= 300, `the number window is ${box.width} CSS pixels wide`);
  assert.ok(box.x >= 0 && box.x + box.width <= phone.width, 'the number window is off the screen');
  const picture = await numberPicture(page);
  assert.equal(picture.width, Math.round(box.width * phone.scale),
    'the digits are drawn at fewer pixels than the screen has');

  // A screen reader finds the number as a button, which a plain activation
  // (a click on its element) presses: the roll stops, and the name reads
  // every digit of the draw.
  await enableScreenReader(page);
  const pressed = await page.evaluate(inQt((title) => {
    const found = shownTitled(title).querySelector('.qt-window-a11y-container button');
    const name = found?.textContent ?? null;
    found?.click();
    return name;
  }), (await numberWindow(page)).title);
  assert.equal(pressed, 'Lukimo number', 'the number is no button a screen reader can press');
  assert.ok(await stands(page), 'pressing the number did not stop the roll');
  assert.match(await numberName(page), /^Lukimo number \d{3}$/);
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
  const settings = await shownWindow(page, settingsTitle);
  const traced = await consoleMark(page);
  assert.ok(await rolls(page), 'a long press stopped the roll');
  await sleep(1000);
  // Each tick traces the three limits it asks the open settings for, which
  // reach the console whole, not as a message each (one costs the page more
  // than all of the roll's own work).
  const messages = (await consoleLines(page, traced)).filter((m) => /^9(\n9)*$/.test(m));
  const lines = messages.join('\n').split('\n').length;
  assert.ok(lines >= 9 && messages.length * 2 <= lines,
    `${lines} trace lines while rolling reached the console in ${messages.length} messages`);

  // The report of a number picked by hand lies beside the number, on a
  // phone held upright and on the narrowest one.
  await enableScreenReader(page);
  // Self mode and the number 123, pressed as a screen reader presses them.
  for (const [group, key] of [['mode', 1], ['Max_3', 8], ['Max_2', 7], ['Max_1', 6]])
    await pressRadio(settings, group, key);
  await pressButton(settings, 'ok');
  await windowGone(settings);
  for (const [width, height] of [[390, 844], [320, 568]]) {
    await page.page.setViewport({ width, height, deviceScaleFactor: phone.scale, isMobile: true, hasTouch: true });
    await sleep(1000);
    const at = await numberCentre(page);
    await page.tap(at.x, at.y);
    const report = await shownWindow(page, 'Box Pattern');
    await waitForText(report, /Strate/);
    const number = (await boxes(await numberWindow(page))).canvas;
    const { window: box } = await boxes(report);
    assert.ok(!overlap(box, number),
      `${width} px wide: the report ${JSON.stringify(box)} covers the number ${JSON.stringify(number)}`);
    await page.press('Enter');
    await windowGone(report);
    await page.tap(at.x, at.y);
  }
});

// The relative luminance contrast of two [r, g, b] colours (WCAG 2).
const contrast = (a, b) => {
  const luminance = (rgb) => {
    const [r, g, b2] = rgb.map((c) => (c / 255 <= 0.03928 ? c / 255 / 12.92 : ((c / 255 + 0.055) / 1.055) ** 2.4));
    return 0.2126 * r + 0.7152 * g + 0.0722 * b2;
  };
  const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (light + 0.05) / (dark + 0.05);
};

each('the settings fit the phone\'s width, every button and the close control on the screen, and in the dark theme too every radio button stands out from its group', { needs: ['phone', 'touch'] }, async (t, engine) => {
  const page = await open(t, engine, { phone: true });
  // Puppeteer emulates the theme only in Chromium.
  const dark = engine === 'chromium';
  if (dark)
    await page.page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: 'dark' }]);
  await page.goto(page.server.url);
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

  // The mark of each radio button (its left 16 pixels) against the group
  // around it (the button's corner), at its most distinct pixel.
  if (dark) {
    const radios = (await radiosIn(settings, 'Max_1')).slice(1, 4);
    const marks = await page.evaluate(inQt((title, boxes, scale) => {
      const canvas = shownTitled(title).querySelector('canvas');
      const at = canvas.getBoundingClientRect();
      const pixels = (x, y, w, h) => canvas.getContext('2d')
        .getImageData(Math.round((x - at.x) * scale), Math.round((y - at.y) * scale), w * scale, h * scale).data;
      return boxes.map((b) => {
        const group = [...pixels(b.left + 1, b.top + 1, 1, 1).slice(0, 3)];
        const mark = pixels(b.left, b.top, 16, b.bottom - b.top);
        const colours = [];
        for (let i = 0; i < mark.length; i += 4)
          colours.push([mark[i], mark[i + 1], mark[i + 2]]);
        return { group, colours };
      });
    }), settings.title, radios, phone.scale);
    for (const [i, { group, colours }] of marks.entries()) {
      const best = Math.max(...colours.map((c) => contrast(c, group)));
      assert.ok(best >= 3, `key ${i + 1} of "Max_1" stands out ${best.toFixed(2)} : 1 from its group (${group})`);
    }
  }

  // The version box fits a phone turned on its side, its OK included.
  await pressButton(settings, 'Version');
  const version = await shownWindow(page, 'Version');
  await page.page.setViewport({ width: 568, height: 320, deviceScaleFactor: phone.scale, isMobile: true, hasTouch: true });
  await sleep(1500);
  const { window: frame } = await boxes(version);
  assert.ok(frame.y >= 0 && frame.y + frame.height <= 320 && frame.x >= 0 && frame.x + frame.width <= 568,
    `the version box ${JSON.stringify(frame)} reaches off the 568 × 320 screen`);
});

// Phone screens, each reached by turning or resizing the one before with
// the windows open; the first is where they open. 390 × 514 is the 390 ×
// 844 screen with the on-screen keyboard up.
const screens = [[320, 568], [844, 390], [390, 844], [390, 514], [390, 844], [844, 390], [360, 640]];
const overlap = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
const boxOf = (e) => ({ x: e.left, y: e.top, width: e.right - e.left, height: e.bottom - e.top });

// Where the page's offer of a new version is, if shown.
const offerBox = (page) => page.evaluate(() => {
  const offer = document.getElementById('update');
  const box = offer && !offer.hidden && offer.getBoundingClientRect();
  return box && { x: box.x, y: box.y, width: box.width, height: box.height };
});

each('on every phone screen, turned with its windows open, nothing covers the number or the settings\' buttons, every control takes a finger, and the offer of a new version lies clear of every window',
  { needs: ['phone', 'touch'] }, async (t, engine) => {
    const [width, height] = screens[0];
    // A first visit whose download stalls says so and starts again on a
    // tap, and then shows how much of the program has come.
    const page = await open(t, engine, { phone: true });
    page.server.hold((path) => path.endsWith('/lukimo.wasm'));
    await page.goto(page.server.url);
    const retry = await waitFor(page, () => {
      const box = document.getElementById('retry')?.getBoundingClientRect();
      return box?.width > 0 && { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    }, [], { timeout: 40000, what: 'the page to say that the download stopped' });
    page.server.hold(null);
    page.server.setLine({ bytesPerSecond: 1500000, latencyMs: 150 });
    await page.tap(retry.x, retry.y);
    page.server.release();
    const progress = new Set();
    for (let i = 0, text; i < 300 && text !== null; i += 1) {
      text = await statusText(page).catch(() => undefined);
      progress.add(text);
      await sleep(100);
    }
    const counts = [...progress].map((text) => /([\d.]+) of ([\d.]+) MB/.exec(text ?? '')).filter(Boolean);
    assert.ok(counts.length >= 3 && counts.every(([, done, all]) => Number(done) <= Number(all) && Number(all) > 1),
      `a first visit on a slow line showed ${JSON.stringify([...progress])}`);
    page.server.setLine(null);
    await numberWindow(page);
    // Installed, it is the app of its folder, not of the whole site.
    if (engine === 'chromium') {
      const { appId } = await (await page.page.createCDPSession()).send('Page.getAppId');
      assert.equal(appId, page.server.url, 'the installed app is not the page\'s folder');
    }
    // A new version is published once the first is kept, and offered.
    await copyComplete(page);
    nextVersion(t, page, 'next');
    await page.reload();
    await numberWindow(page);
    await waitFor(page, () => !!document.getElementById('update'), [],
      { timeout: 60000, what: 'the offer of the new version' });
    const started = await page.evaluate(() => performance.timeOrigin);
    await enableScreenReader(page);
    await page.page.setViewport({ width, height, deviceScaleFactor: phone.scale, isMobile: true, hasTouch: true });
    await sleep(1000);
    await longPress(page, await numberCentre(page));
    const settings = await shownWindow(page, settingsTitle);
    // Its buttons lie below the fold: swipes up bring them in.
    const { canvas } = await boxes(settings);
    let serch = await button(settings, 'serch');
    for (let swipes = 0; swipes < 3 && serch.bottom > canvas.y + canvas.height; swipes += 1) {
      await page.swipe(canvas.x + canvas.width / 2, canvas.y + canvas.height * 0.8, canvas.y + canvas.height * 0.15);
      await sleep(1500);
      serch = await button(settings, 'serch');
    }
    assert.ok(serch.bottom <= canvas.y + canvas.height, `swipes left "serch" at ${serch.top}, below the settings`);
    await page.tap(serch.x, serch.y);
    const pastData = await shownWindow(page, 'serch menu');
    const coarse = await page.evaluate(() => matchMedia('(pointer: coarse)').matches);
    assert.ok(coarse || engine !== 'chromium', 'a phone\'s screen reads as a fine pointer');
    const seen = new Map();
    for (const [w, h] of screens) {
      if (w !== width || h !== height) {
        await page.page.setViewport({ width: w, height: h, deviceScaleFactor: phone.scale, isMobile: true, hasTouch: true });
        await sleep(1500);
      }
      const where = `${w} × ${h}`;
      const number = (await boxes(await numberWindow(page))).canvas;
      const windows = { settings: (await boxes(settings)).window, 'past data': (await boxes(pastData)).window };
      // Back on a screen seen before, every window is where it was then.
      const before = seen.get(where);
      assert.ok(!before || JSON.stringify(before) === JSON.stringify(windows),
        `${where} again: the windows moved from ${JSON.stringify(before)} to ${JSON.stringify(windows)}`);
      seen.set(where, windows);
      const shownSettings = (await boxes(settings)).canvas;
      const settingsButtons = (await mirrored(settings)).filter((e) => !e.hidden && e.tag === 'button')
        .map(boxOf).filter((b) => overlap(b, shownSettings));
      const offer = await offerBox(page);
      for (const [name, box] of Object.entries({ ...windows, number })) {
        assert.ok(!offer || !overlap(offer, box), `${where}: the offer of a new version lies over the ${name}`);
        if (name === 'number')
          continue;
        assert.ok(!overlap(box, number), `${where}: the ${name} cover the number`);
        assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= w && box.y + box.height <= h,
          `${where}: the ${name} reach off the screen (${JSON.stringify(box)})`);
      }
      assert.ok(!settingsButtons.some((b) => overlap(b, windows['past data'])),
        `${where}: the past data cover the settings' buttons`);
      if (!coarse)
        continue;
      for (const window of [settings, pastData]) {
        const small = (await mirrored(window))
          .filter((e) => !e.hidden && (e.tag === 'button' || e.tag === 'input'))
          .filter((e) => e.right - e.left < 44 || e.bottom - e.top < 44);
        assert.deepEqual(small.map((e) => `${e.text || e.type} ${e.right - e.left} × ${e.bottom - e.top}`), [],
          `${where}: controls of "${window.title}" smaller than a finger`);
      }
    }

    // A pinch over a window is the browser's, to zoom the page, as over the
    // background (headless browsers zoom on no pinch, so what the page lets
    // the browser do there is checked), while one finger stays the window's.
    const { canvas: over } = await boxes(settings);
    const gestures = await page.evaluate((x, y) => {
      let found = document.elementFromPoint(x, y);
      while (found?.shadowRoot?.elementFromPoint(x, y) && found.shadowRoot.elementFromPoint(x, y) !== found)
        found = found.shadowRoot.elementFromPoint(x, y);
      return getComputedStyle(found).touchAction;
    }, over.x + over.width / 2, over.y + over.height / 2);
    assert.ok(/auto|manipulation|pinch-zoom/.test(gestures) && !/pan-[xy]/.test(gestures),
      `over the settings the page lets the browser do "${gestures}" with fingers`);
    // With the windows closed the offer shows, and is put aside by a tap.
    // No tap of this test restarted the page.
    for (const window of [pastData, settings]) {
      await closeByTitleBar(window, 'tap');
      await windowGone(window);
    }
    const offer = await waitFor(page, () => {
      const later = document.getElementById('update-later')?.getBoundingClientRect();
      return later?.width > 0 && { x: later.x + later.width / 2, y: later.y + later.height / 2 };
    }, [], { what: 'the offer to show once the windows are closed' });
    await sleep(1000);
    await page.tap(offer.x, offer.y);
    await sleep(500);
    assert.equal(await offerBox(page), null, 'a tap did not put the offer aside');
    assert.equal(await page.evaluate(() => performance.timeOrigin), started, 'a tap restarted the page');
  });
