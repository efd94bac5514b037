// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One browser behind one small interface, whichever engine it is: Debian's
// Chromium and Firefox ESR through puppeteer-core (the DevTools protocol and
// WebDriver BiDi), WebKitGTK's MiniBrowser through WebKitWebDriver and
// selenium-webdriver. A test sees only what every engine can give it: run a
// function in the page, click, type, touch, load. What an engine cannot do
// is named in `abilities`, so that a test that needs it is skipped there
// with the reason instead of passing on something it never checked.

import { spawn, execFile } from 'node:child_process';
import { createServer } from 'node:net';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { promisify } from 'node:util';

const here = new URL('.', import.meta.url).pathname;
// run.sh installs the packages from the lock file into a cache folder
// outside the source tree and names it here; a plain `npm ci` in this folder
// works too.
const modules = process.env.LUKIMO_WEB_NODE_MODULES ?? join(here, 'node_modules');
const load = createRequire(join(modules, 'noop.js'));

export const allEngines = ['chromium', 'firefox', 'webkit'];
// LUKIMO_ENGINES=firefox,webkit runs only those.
export const engines = (process.env.LUKIMO_ENGINES ?? allEngines.join(','))
  .split(',').filter((e) => allEngines.includes(e));

// What each engine lacks, as the reason a test that needs it is skipped.
const noTree = 'its driver hands over no accessibility tree (Chromium\'s, over the DevTools protocol, stands for what a screen reader is given)';
export const lacks = {
  chromium: {},
  firefox: { accessibilityTree: `Firefox: ${noTree}` },
  webkit: {
    accessibilityTree: `WebKitGTK: ${noTree}`,
    phone: 'WebKitGTK emulates no phone screen (its narrowest window is 447 CSS pixels, at one device pixel each)',
    touch: 'WebKitGTK emulates no touch screen, and its driver sends no touch input',
  },
};

export const paths = {
  chromium: process.env.LUKIMO_CHROMIUM ?? '/usr/bin/chromium',
  firefox: process.env.LUKIMO_FIREFOX ?? '/usr/bin/firefox-esr',
  webkitDriver: process.env.LUKIMO_WEBKIT_DRIVER ?? '/usr/bin/WebKitWebDriver',
  miniBrowser: process.env.LUKIMO_MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
};

// Whether an engine needs the page instrumented by a script of its own
// (WebKit: its driver can neither add a script to every document nor hand
// over the console).
export const needsProbe = (engine) => engine === 'webkit';

// A call of fn in the page with JSON arguments, as the source of one
// expression that every driver evaluates alike (and awaits when it is a
// promise).
const call = (fn, args) => `(${fn})(...${JSON.stringify(args)})`;

// Starts a browser. options: { phone: {width, height, scale} | undefined,
// viewport: {width, height}, locale: 'ja-JP' | 'en-US', initScripts: [fn] }.
// Returns the driver: evaluate, goto, reload, click, type, press,
// insertText, tap, hold, swipe, close, and the console and errors it saw
// (native engines only).
export async function launch(engine, options) {
  if (engine === 'webkit')
    return launchWebKit(options);
  return launchPuppeteer(engine, options);
}

async function launchPuppeteer(engine, { phone, viewport, locale, initScripts = [] }) {
  const puppeteer = load('puppeteer-core');
  const language = locale.split('-')[0];
  const browser = await puppeteer.launch({
    browser: engine === 'firefox' ? 'firefox' : 'chrome',
    executablePath: paths[engine],
    headless: true,
    // Chromium without its sandbox (the tests may run as root), GPU and
    // calls home; its language as a user's browser sets it.
    args: engine === 'chromium' ? [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--lang=${locale}`, `--accept-lang=${locale},${language}`,
    ] : [],
    extraPrefsFirefox: {
      'intl.locale.requested': language,
      'intl.accept_languages': `${locale}, ${language}`,
    },
    protocolTimeout: 120000,
  });
  const driver = { engine, console: [], errors: [] };
  try {
    const [page] = await browser.pages();
    driver.page = page ?? await browser.newPage();
    await driver.page.setViewport(phone ? {
      width: phone.width, height: phone.height, deviceScaleFactor: phone.scale,
      isMobile: true, hasTouch: true,
    } : viewport);
    for (const script of initScripts)
      await driver.page.evaluateOnNewDocument(script);
  } catch (error) {
    await browser.close();
    throw error;
  }
  const { page } = driver;
  page.on('console', (message) => driver.console.push({ type: message.type(), text: message.text() }));
  page.on('pageerror', (error) => driver.errors.push(String(error?.message ?? error)));
  const keys = { ArrowDown: 'ArrowDown', Enter: 'Enter', Escape: 'Escape', F1: 'F1' };
  Object.assign(driver, {
    evaluate: (fn, ...args) => page.evaluate(call(fn, args)),
    goto: async (url) => { await page.goto(url, { waitUntil: 'load', timeout: 60000 }); },
    reload: async () => { await page.reload({ waitUntil: 'load', timeout: 60000 }); },
    click: (x, y, button = 'left') => page.mouse.click(x, y, { button }),
    type: (text) => page.keyboard.type(text, { delay: 50 }),
    press: (key) => page.keyboard.press(keys[key]),
    tap: (x, y) => page.touchscreen.tap(x, y),
    // A finger held on the point for ms milliseconds.
    hold: async (x, y, ms) => {
      await page.touchscreen.touchStart(x, y);
      await sleep(ms);
      await page.touchscreen.touchEnd();
    },
    // A finger drawn up or down the page from fromY to toY, in ten moves.
    swipe: async (x, fromY, toY) => {
      await page.touchscreen.touchStart(x, fromY);
      for (let step = 1; step <= 10; step += 1) {
        await page.touchscreen.touchMove(x, fromY + ((toY - fromY) * step) / 10);
        await sleep(30);
      }
      await page.touchscreen.touchEnd();
    },
    // Text as an input method hands it over, not as keys.
    insertText: async (text) => {
      for (const char of text)
        await page.keyboard.sendCharacter(char);
    },
    close: () => browser.close(),
  });
  return driver;
}

// A free TCP port of 127.0.0.1 for WebKitWebDriver.
async function freePort() {
  const server = createServer();
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  const { port } = server.address();
  await new Promise((done) => server.close(done));
  return port;
}

const run = promisify(execFile);

// WebKitGTK needs an X display (run.sh starts an Xvfb of the run's own and
// names it in DISPLAY) and, for a language other than English, the locale
// itself: run.sh generates ja_JP.UTF-8 into LUKIMO_LOCALES.
async function launchWebKit({ phone, viewport, locale }) {
  const { Builder } = load('selenium-webdriver');
  const { Key, Origin } = load('selenium-webdriver/lib/input');
  if (phone)
    throw new Error(lacks.webkit.phone);
  const env = { ...process.env, LANG: 'C.UTF-8', LANGUAGE: '' };
  if (locale !== 'en-US') {
    Object.assign(env, { LANG: `${locale.replace('-', '_')}.UTF-8`, LOCPATH: process.env.LUKIMO_LOCALES });
    if (!env.LOCPATH)
      throw new Error(`no generated locale for ${locale} (LUKIMO_LOCALES is unset)`);
  }
  // Another run may take the port between its choice and the driver's
  // start; a driver that does not come up is started anew on another one.
  let service;
  let port;
  for (let attempt = 0; !service && attempt < 5; attempt += 1) {
    port = await freePort();
    const child = spawn(paths.webkitDriver, [`--port=${port}`], { env, stdio: 'ignore' });
    const exited = new Promise((done) => child.once('exit', () => done(false)));
    const ready = (async () => {
      for (let i = 0; i < 300; i += 1) {
        const ok = await fetch(`http://127.0.0.1:${port}/status`).then((r) => r.ok, () => false);
        if (ok)
          return true;
        await sleep(100);
      }
      return false;
    })();
    if (await Promise.race([ready, exited]))
      service = child;
    else
      child.kill();
  }
  if (!service)
    throw new Error('WebKitWebDriver did not start');
  let webdriver;
  try {
    webdriver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: paths.miniBrowser, args: ['--automation'] },
    }).build();
    await webdriver.manage().setTimeouts({ script: 60000, pageLoad: 60000 });
    // The window's outer size: the page gets a little less.
    await webdriver.manage().window().setRect({ x: 0, y: 0, ...viewport });
  } catch (error) {
    service.kill();
    throw error;
  }
  const actions = () => webdriver.actions({ async: true });
  const keys = { ArrowDown: Key.ARROW_DOWN, Enter: Key.ENTER, Escape: Key.ESCAPE, F1: Key.F1 };
  // Where the page's top left corner is on the X screen, measured once: the
  // real pointer, moved from outside the window onto one point of it, is
  // seen by the page at its own coordinates of that point.
  let origin;
  const screenOrigin = async () => {
    if (origin)
      return origin;
    const rect = await webdriver.manage().window().getRect();
    await driver.evaluate(() => {
      window.__lukimoPointer = null;
      addEventListener('mousemove', (e) => { window.__lukimoPointer = [e.clientX, e.clientY]; },
        { capture: true });
    });
    const at = [Math.round(rect.x + rect.width / 2), Math.round(rect.y + rect.height / 2)];
    const outside = [String(rect.x + rect.width + 10), String(rect.y + rect.height + 10)];
    for (let i = 0; i < 50 && !origin; i += 1) {
      await run('xdotool', ['mousemove', ...outside, 'mousemove', String(at[0]), String(at[1])]);
      for (let look = 0; look < 10 && !origin; look += 1) {
        const seen = await driver.evaluate(() => window.__lukimoPointer);
        if (seen)
          origin = { x: at[0] - seen[0], y: at[1] - seen[1] };
        else
          await sleep(50);
      }
    }
    if (!origin)
      throw new Error('the page saw no move of the X pointer');
    return origin;
  };
  const driver = {
    engine: 'webkit', console: null, errors: null, webdriver,
    evaluate: async (fn, ...args) => {
      const script = `const done = arguments[arguments.length - 1];
         Promise.resolve().then(() => ${call(fn, args)})
           .then((value) => done({ value }), (error) => done({ error: String(error) }));`;
      // WebKitWebDriver 2.50 at times answers a script with a reply it
      // cannot parse itself, on a busy machine, whatever the script returned;
      // that is the driver's fault, not the page's, and a second asking
      // gets the answer.
      const result = await webdriver.executeAsyncScript(script).catch((error) => {
        if (!/Could not parse script result/.test(error?.message ?? ''))
          throw error;
        return webdriver.executeAsyncScript(script);
      });
      if (result?.error)
        throw new Error(`in the page: ${result.error}`);
      return result?.value;
    },
    goto: (url) => webdriver.get(url),
    reload: () => webdriver.navigate().refresh(),
    click: async (x, y, button = 'left') => {
      if (button === 'left') {
        await actions().move({ x: Math.round(x), y: Math.round(y), origin: Origin.VIEWPORT })
          .press().release().perform();
        return;
      }
      // WebKitWebDriver 2.50 releases a right button as the left one, so the
      // page never sees the right click end; the X server's own input does
      // it right.
      const o = await screenOrigin();
      await run('xdotool', ['mousemove', String(Math.round(o.x + x)), String(Math.round(o.y + y)),
        'click', button === 'right' ? '3' : '2']);
    },
    type: async (text) => {
      for (const char of text)
        await actions().sendKeys(char).pause(50).perform();
    },
    press: (key) => actions().sendKeys(keys[key]).perform(),
    // WebKitWebDriver types any character; it has no input method.
    insertText: (text) => actions().sendKeys(text).perform(),
    close: async () => {
      await webdriver.quit().catch(() => {});
      service.kill();
    },
  };
  return driver;
}
