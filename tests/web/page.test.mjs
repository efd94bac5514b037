// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page around the program as a phone user meets it: zoom allowed, titles that
// can be read, no reload by a pull, every window closable by touch, help
// that scrolls by finger, a click
// that sounds after the browser stopped the audio, and one plain sentence
// where the program stops or the copy on the server is broken, and what a
// Japanese user types drawn in glyphs.

import assert from 'node:assert/strict';
import { truncateSync, unlinkSync, statSync } from 'node:fs';
import { join } from 'node:path';
import {
  boxes, button, click, closeByTitleBar, copyOfPage, each, enableScreenReader, inkShapes, inQt, mirrored,
  numberCentre, numberWindow, open, pageErrors, radiosIn, shownTitles, shownWindow, sleep, stands, start,
  statusText, waitFor, windowGone, windowPicture, windowTitled,
} from './lukimo.mjs';

// The relative luminance contrast of two CSS colours (WCAG 2).
const contrast = (a, b) => {
  const luminance = (rgb) => {
    const [r, g, b2] = rgb.match(/\d+(\.\d+)?/g).slice(0, 3).map(Number).map((c) => {
      const s = c / 255;
      return s <= 0.03928 ? s / 12.92 : ((s + 0.055) / 1.055) ** 2.4;
    });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b2;
  };
  const [light, dark] = [luminance(a), luminance(b)].sort((x, y) => y - x);
  return (light + 0.05) / (dark + 0.05);
};

each('on a phone the page zooms, keeps still under a pull, shows readable titles, scrolls the help by finger, and every window closes by touch',
  { needs: ['phone', 'touch'] }, async (t, engine) => {
    const page = await start(t, engine, { phone: true, screenReader: false });
    const overscroll = await page.evaluate(() =>
      [document.documentElement, document.body].map((e) => getComputedStyle(e).overscrollBehaviorY));
    assert.deepEqual(overscroll.filter((value) => value === 'auto'), [], 'a pull down may reload the page');

    // The past-data window, from the settings, closed by a tap on its title
    // bar; the settings' title read against its bar.
    const centre = await numberCentre(page);
    await page.click(centre.x, centre.y, 'right');
    const settings = await shownWindow(page, 'settei menu numbers3');
    const colours = await page.evaluate(inQt((title) => {
      const bar = shownTitled(title).querySelector('.title-bar');
      let back = bar;
      while (back && /rgba\(\d+, \d+, \d+, 0\)|transparent/.test(getComputedStyle(back).backgroundColor))
        back = back.parentElement;
      return [getComputedStyle(bar.querySelector('.window-name')).color,
        getComputedStyle(back ?? document.body).backgroundColor];
    }), settings.title);
    assert.ok(contrast(...colours) >= 4.5, `a title reads ${colours[0]} on ${colours[1]}`);
    // The settings' buttons are found where the screen reader's mirror puts
    // them, and tapped.
    await enableScreenReader(page);
    const serch = await button(settings, 'serch');
    await page.tap(serch.x, serch.y);
    const pastData = await shownWindow(page, 'serch menu');
    await closeByTitleBar(pastData, 'tap');
    await windowGone(pastData);

    // The help scrolls with a finger: a swipe up moves its page, where it
    // used to select text (drawn on the selection's blue).
    const help = await button(settings, 'help');
    await page.tap(help.x, help.y);
    const helpWindow = await shownWindow(page, 'How to use');
    const picture = () => windowPicture(page, helpWindow.title);
    await sleep(1000);
    const before = await picture();
    const area = (await boxes(helpWindow)).canvas;
    await page.swipe(area.x + area.width / 2, area.y + area.height * 0.8, area.y + area.height * 0.3);
    await sleep(1500);
    const after = await picture();
    // (Links are blue too: what counts is blue that the swipe added.)
    const selected = Math.round((after.selected - before.selected) * 100);
    assert.ok(selected < 5, `a swipe selected ${selected} % of the help`);
    assert.notEqual(after.hash, before.hash, 'a swipe did not move the help');
    await closeByTitleBar(helpWindow, 'tap');

    // The page lets a pinch zoom it. (Headless Chromium synthesizes no
    // pinch, even on a plain page, so what is checked is what the page asks
    // of the browser.)
    const viewport = await page.evaluate(() => document.querySelector('meta[name=viewport]').content);
    assert.doesNotMatch(viewport, /user-scalable\s*=\s*(no|0)|maximum-scale\s*=\s*1(\.0*)?\b/,
      `the page forbids zoom: ${viewport}`);
    await page.tap(centre.x, centre.y);
    assert.ok(await stands(page), 'a tap on the number did not stop the roll after the windows closed');
  });

each('a click sounds after the browser stopped the audio, and an error in the program is said in one sentence',
  async (t, engine) => {
    // WebKit leaves the audio "interrupted" after a call or a lock; the
    // stand-in context reports that state until it is resumed.
    const interruptible = () => {
      const Real = window.AudioContext;
      window.__lukimoResumes = 0;
      window.AudioContext = class extends Real {
        constructor(...args) {
          super(...args);
          window.__lukimoContext = this;
        }

        get state() { return this.__interrupted ? 'interrupted' : super.state; }

        resume() {
          window.__lukimoResumes += 1;
          this.__interrupted = false;
          return super.resume();
        }
      };
    };
    const page = await open(t, engine, { initScripts: [interruptible] });
    const session = page;
    await page.goto(session.server.url);
    await numberWindow(page);
    await enableScreenReader(page);
    const centre = await numberCentre(page);
    await page.click(centre.x, centre.y, 'right');
    const settings = await shownWindow(page, 'settei menu numbers3');
    await click(page, await button(settings, 'serch'));
    const pastData = await shownWindow(page, 'serch menu');
    const modes = await radiosIn(pastData, 'mode');
    const sounds = () => page.evaluate(() => window.__lukimoSounds);
    const soundsAfter = async (count) => {
      for (let look = 0; look < 30 && await sounds() <= count; look += 1)
        await sleep(100);
      return sounds();
    };
    // Mode buttons other than the one chosen, each a click; then the browser
    // interrupts the audio, and the next click must still sound. The click
    // is decoded once at start-up and is silent until then (a slow engine
    // may still be at it): the first button is clicked again until it
    // sounds, turn about with another.
    let played = 0;
    let last = 0;
    for (let tries = 0; tries < 10 && played < 1; tries += 1) {
      last = tries % 2 ? 0 : modes.length - 2;
      await click(page, modes[last]);
      played = await soundsAfter(0);
    }
    assert.ok(played >= 1, 'no mode button played anything');
    await page.evaluate(() => { window.__lukimoContext.__interrupted = true; });
    await click(page, modes[last === 0 ? modes.length - 2 : 0]);
    assert.ok(await soundsAfter(played) > played, 'no click sounded after the interruption');
    assert.ok(await page.evaluate(() => window.__lukimoResumes) >= 1, 'the interrupted audio was not resumed');

    // An uncaught error inside the program: one sentence over the page.
    await page.evaluate(() => setTimeout(() => { throw new Error('a fault for the test'); }));
    await waitFor(page, () => /stopped after an error/.test(document.getElementById('status')?.textContent),
      [], { timeout: 5000, what: 'the sentence over the page' });
    assert.deepEqual((await pageErrors(session)).map((e) => /a fault for the test/.test(e)), [true]);
    session.errors.length = 0;
  });

each('a broken copy on the server says so in one sentence', async (t, engine) => {
  const damage = {
    'qtloader.js missing': (folder) => unlinkSync(join(folder, 'qtloader.js')),
    'lukimo.js missing': (folder) => unlinkSync(join(folder, 'lukimo.js')),
    'lukimo.wasm missing': (folder) => unlinkSync(join(folder, 'lukimo.wasm')),
    'lukimo.wasm cut short': (folder) => truncateSync(join(folder, 'lukimo.wasm'),
      Math.floor(statSync(join(folder, 'lukimo.wasm')).size / 2)),
    'lukimo.data missing': (folder) => unlinkSync(join(folder, 'lukimo.data')),
    'lukimo.data cut short': (folder) => truncateSync(join(folder, 'lukimo.data'), 1000),
  };
  for (const [name, harm] of Object.entries(damage)) {
    const folder = copyOfPage(t);
    harm(folder);
    const session = await open(undefined, engine, {}, folder);
    await session.goto(session.server.url);
    const said = await waitFor(session, () => /cannot start/.test(document.getElementById('status')?.textContent),
      [], { timeout: 20000 }).then(() => true, () => false);
    const text = await statusText(session).catch(() => '(none)');
    // What the damage itself brings (a missing file, an error) is the point.
    (await pageErrors(session).catch(() => session.errors)).length = 0;
    session.violations.length = 0;
    session.server.requests.length = 0;
    await session.close();
    assert.ok(said, `${name}: the page says "${text}"`);
  }
});

each('full-width digits typed into the Japanese past-data field are drawn as glyphs, not boxes', async (t, engine) => {
  const page = await start(t, engine, { locale: 'ja-JP' });
  const centre = await numberCentre(page);
  await page.click(centre.x, centre.y, 'right');
  const [settingsTitle] = await shownTitles(page);
  await click(page, (await mirrored(windowTitled(page, settingsTitle)))
    .filter((e) => !e.hidden && e.tag === 'button').at(-2));
  await sleep(500);
  const [pastDataTitle] = await shownTitles(page);
  const pastData = windowTitled(page, pastDataTitle);
  const counts = async () => new Map((await inkShapes(pastData)).map((s) => [s.key, s.count]));
  const before = await counts();
  const field = (await mirrored(pastData)).find((e) => e.tag === 'input' && e.type === 'text');
  await click(page, field);
  // Three different characters: three glyphs, where a font that lacks them
  // draws one box three times.
  await page.insertText('１９７');
  await sleep(500);
  const after = await counts();
  const added = [...after].map(([key, count]) => count - (before.get(key) ?? 0));
  assert.ok(Math.max(...added) < 3, 'the typed digits are drawn as one shape each time: boxes');
  assert.ok(added.filter((n) => n > 0).length >= 3, 'the typed digits drew nothing');
});
