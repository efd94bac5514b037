// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Lukimo as a screen reader in the browser finds it: each window read from
// Chromium's own accessibility tree (what a screen reader is handed), its
// names, states, order and places together.

import assert from 'node:assert/strict';
import {
  button, click, each, enableScreenReader, inQt, mirrored, numberCentre, pressButton, shownWindow,
  sleep, start, waitFor,
} from './lukimo.mjs';

const settingsTitle = 'settei menu numbers3';
const pastDataTitle = 'serch menu';
const needs = ['accessibilityTree'];

// The nodes a screen reader finds in a window, in its reading order: role,
// name, checked state and box in page coordinates.
async function readWindow(session, title) {
  const cdp = session.cdp ??= await session.page.createCDPSession();
  const find = inQt((t) => shownTitled(t)?.querySelector('.qt-window-a11y-container'));
  const { result } = await cdp.send('Runtime.evaluate',
    { expression: `(${find})(${JSON.stringify(title)})` });
  assert.ok(result.objectId, `no window "${title}"`);
  const { nodes } = await cdp.send('Accessibility.queryAXTree', { objectId: result.objectId });
  const read = [];
  for (const node of nodes.filter((n) => !n.ignored)) {
    const role = node.role?.value ?? '';
    if (['generic', 'none', 'InlineTextBox'].includes(role))
      continue;
    const { model } = await cdp.send('DOM.getBoxModel', { backendNodeId: node.backendDOMNodeId })
      .catch(() => ({ model: null }));
    const [left, top, , , right, bottom] = model?.border ?? [];
    read.push({
      role, name: node.name?.value ?? '',
      checked: node.properties?.find((p) => p.name === 'checked')?.value?.value,
      box: model && { left, top, right, bottom, x: (left + right) / 2, y: (top + bottom) / 2 },
    });
  }
  return read;
}

// The name of what has the page's focus, as a screen reader reads it.
async function focusedName(session) {
  const cdp = session.cdp ??= await session.page.createCDPSession();
  // Qt's windows lie in a shadow tree: the focus is that of its innermost root.
  const { result } = await cdp.send('Runtime.evaluate', {
    expression: '(() => { let e = document.activeElement; while (e?.shadowRoot?.activeElement) e = e.shadowRoot.activeElement; return e; })()',
  });
  const { nodes } = await cdp.send('Accessibility.getPartialAXTree',
    { objectId: result.objectId, fetchRelatives: false });
  return nodes[0]?.name?.value ?? '';
}

const inside = (point, box) => point.x > box.left && point.x < box.right && point.y > box.top &&
  point.y < box.bottom;

// The window's radio buttons by the group box that holds them on the
// screen, each named, inside the window's canvas and read after its group's
// title.
async function groups(session, title) {
  const nodes = await readWindow(session, title);
  const boxes = (await mirrored({ session, title })).filter((e) => e.tag === 'div' && e.text);
  const canvas = await session.evaluate(inQt((t) => rect(shownTitled(t).querySelector('canvas'))), title);
  const area = { left: canvas.x, top: canvas.y, right: canvas.x + canvas.width, bottom: canvas.y + canvas.height };
  const radios = nodes.filter((n) => n.role === 'radio');
  assert.ok(radios.length > 0, `no radio buttons in "${title}"`);
  const byGroup = new Map();
  for (const radio of radios) {
    assert.notEqual(radio.name, '', `a radio button of "${title}" has no name`);
    assert.ok(inside(radio.box, area), `"${radio.name}" lies outside its window`);
    const group = boxes.find((b) => inside(radio.box, b));
    assert.ok(group, `"${radio.name}" lies in no group`);
    const titleAt = nodes.findIndex((n) => n.role === 'StaticText' && n.name === group.text);
    assert.ok(titleAt >= 0 && titleAt < nodes.indexOf(radio),
      `"${radio.name}" is read before its group's title "${group.text}"`);
    byGroup.set(group.text, [...(byGroup.get(group.text) ?? []), radio]);
  }
  return byGroup;
}

// Every group of radio buttons has exactly one checked.
function oneCheckedEach(byGroup) {
  for (const [name, radios] of byGroup) {
    assert.equal(radios.filter((r) => r.checked === 'true').length, 1,
      `group "${name}": ${radios.filter((r) => r.checked === 'true').map((r) => r.name).join(', ') || 'none'} checked`);
  }
}

// Opens the settings with a right click.
async function openSettings(page) {
  const centre = await numberCentre(page);
  await page.click(centre.x, centre.y, 'right');
  return shownWindow(page, settingsTitle);
}

each('the settings read a name and a state for every button, group by group, after clicks and keys', { needs },
  async (t, engine) => {
    const page = await start(t, engine);
    await openSettings(page);
    const before = await groups(page, settingsTitle);
    oneCheckedEach(before);
    // A click on another button of each group, then an arrow key in the
    // last one: each group still reads one button checked, the one chosen.
    for (const [, radios] of before) {
      const other = radios.find((r) => r.checked !== 'true');
      await page.click(other.box.x, other.box.y);
      await sleep(100);
    }
    await page.press('ArrowDown');
    await sleep(300);
    const after = await groups(page, settingsTitle);
    oneCheckedEach(after);
    let changed = 0;
    for (const [name, radios] of after) {
      const was = before.get(name).find((r) => r.checked === 'true').name;
      changed += radios.find((r) => r.checked === 'true').name !== was ? 1 : 0;
    }
    assert.ok(changed >= before.size - 1, `only ${changed} of ${before.size} groups read the new choice`);

    // Narrower, the window lays its groups out anew: every button's mirror
    // follows it into its group, and the groups still read in the order of
    // the screen, each row from the left.
    await page.page.setViewport({ width: 420, height: 900 });
    await sleep(1500);
    const narrow = await groups(page, settingsTitle);
    oneCheckedEach(narrow);
    for (const [name, radios] of narrow) {
      for (let i = 1; i < radios.length; i += 1) {
        const [a, b] = [radios[i - 1].box, radios[i].box];
        assert.ok(b.top >= a.bottom - 2 || (Math.abs(b.top - a.top) < 5 && b.left > a.left),
          `group "${name}": "${radios[i].name}" is read before "${radios[i - 1].name}", which is after it on the screen`);
      }
    }
  });

each('the past data, shown before the screen reader started: a named field, its groups, and what it stores heard', { needs },
  async (t, engine) => {
    const page = await start(t, engine, { screenReader: false });
    const settings = await openSettings(page);
    await enableScreenReader(page);
    await pressButton(settings, 'serch');
    await shownWindow(page, pastDataTitle);
    oneCheckedEach(await groups(page, pastDataTitle));
    let nodes = await readWindow(page, pastDataTitle);
    const field = nodes.find((n) => n.role === 'textbox');
    assert.equal(field?.name, 'No', `the field is not named by its prompt: ${JSON.stringify(nodes.map((n) => [n.role, n.name]))}`);

    // Stored from entry mode: heard as a notification, wherever the focus is.
    const entry = nodes.find((n) => n.role === 'radio' && /entry/i.test(n.name));
    await page.click(entry.box.x, entry.box.y);
    await page.click(field.box.x, field.box.y);
    await page.type('123');
    await page.press('Enter');
    await sleep(500);
    nodes = await readWindow(page, pastDataTitle);
    const status = nodes.findIndex((n) => n.role === 'status');
    assert.ok(status >= 0, 'the window has no live region');
    assert.match(nodes[status + 1]?.name ?? '', /Stored 123/);

    // A report takes the focus to its OK, and gives it back to the field.
    const times = nodes.find((n) => n.role === 'radio' && /Times to Data/.test(n.name));
    await page.click(times.box.x, times.box.y);
    await page.click(field.box.x, field.box.y);
    await page.type('5');
    await page.press('Enter');
    await waitFor(page, inQt(() => ['serch result', 'information', 'Error'].some((t) => shownTitled(t))), [],
      { what: 'the report' });
    await sleep(300);
    assert.equal(await focusedName(page), 'OK', 'the report\'s OK does not have the focus');
    await page.press('Enter');
    await sleep(500);
    assert.equal(await focusedName(page), 'No', 'the focus did not go back to the field');
  });

each('a stop is heard wherever the focus is; the help reads as a document with its link; the version box reads its text and OK on a phone',
  { needs: [...needs, 'phone'] }, async (t, engine) => {
    const page = await start(t, engine, { phone: true });
    const centre = await numberCentre(page);
    await page.tap(centre.x, centre.y);
    await sleep(500);
    const number = await readWindow(page, await page.evaluate(() => document.title));
    const status = number.findIndex((n) => n.role === 'status');
    assert.ok(status >= 0, 'the number window has no live region');
    assert.match(number[status + 1]?.name ?? '', /^Lukimo number \d{3}$/);

    await page.press('F1');
    const help = await shownWindow(page, 'How to use');
    const read = await readWindow(page, help.title);
    const documentAt = read.findIndex((n) => n.role === 'document');
    assert.ok(documentAt >= 0, 'the help is no document');
    assert.ok(read.some((n, i) => i > documentAt && n.role === 'StaticText' && /three-digit lottery game/.test(n.name)),
      'the help page\'s text cannot be read');
    assert.ok(read.some((n) => n.role === 'link' && n.name === '日本語の説明はこちら'), 'the help\'s link cannot be reached');
    await page.press('Escape');

    // The version box on the phone's screen: its text and OK read, OK's
    // mirror where OK is drawn, inside the screen.
    const settings = await openSettings(page);
    const versionButton = (await readWindow(page, settingsTitle)).find((n) => n.role === 'button' && n.name === 'Version');
    await page.tap(versionButton.box.x, versionButton.box.y);
    const box = await shownWindow(page, 'Version');
    const version = await readWindow(page, box.title);
    assert.ok(version.some((n) => n.role === 'StaticText' && /Lukimo/.test(n.name)), 'the version box reads no text');
    const ok = version.find((n) => n.role === 'button' && n.name === 'OK');
    assert.ok(ok, 'the version box reads no OK button');
    const { canvas } = await page.evaluate(inQt((t) => ({ canvas: rect(shownTitled(t).querySelector('canvas')) })), box.title);
    assert.ok(ok.box.top >= canvas.y && ok.box.bottom <= canvas.y + canvas.height && ok.box.bottom <= 844,
      `OK is mirrored at ${ok.box.top}..${ok.box.bottom}, the box is drawn at ${canvas.y}..${canvas.y + canvas.height}`);

    // Closed, the box gives the focus back to the button that opened it.
    assert.equal(await focusedName(page), 'OK', 'the version box\'s OK does not have the focus');
    await pressButton(box, 'OK');
    await sleep(500);
    assert.equal(await focusedName(page), 'Version', 'the focus did not go back to Version');

    // The field asks a phone for its digit keyboard.
    await pressButton(settings, 'serch');
    const pastData = await shownWindow(page, pastDataTitle);
    const field = (await readWindow(page, pastData.title)).find((n) => n.role === 'textbox');
    await page.tap(field.box.x, field.box.y);
    await sleep(300);
    assert.equal(await page.evaluate(() => [...document.body.children].find((e) => e.tagName === 'INPUT')?.inputMode),
      'numeric', 'the field brings up the full keyboard');
  });

