// drive.js -- plays the web build in headless Chromium (puppeteer-core) for
// the web story and the web benchmark. It acts and records; the shell script
// that runs it judges. Usage: node drive.js BASE_URL OUT_DIR
// Writes OUT_DIR/*.png (the canvas as the page shows it) and prints one JSON
// object of what it saw on standard output.
'use strict';
const puppeteer = require('puppeteer-core');
const fs = require('fs');

const [base, out] = process.argv.slice(2);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const seen = {};

// A page of a fresh browser context (its own storage), at BASE_URL + path.
async function open(browser, path, context) {
  context = context || await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({width: 1000, height: 760});
  page.on('pageerror', (e) => { seen.page_errors = (seen.page_errors || []).concat(String(e)); });
  await page.goto(base + path);
  return {page, context};
}

async function until(page, what, seconds) {
  await page.waitForFunction(what, {timeout: seconds * 1000, polling: 50});
}

// The first frame of play is the second one shown (the first is the screen
// filled before the palette, at start-up's vsync).
async function firstFrame(page) {
  await until(page, 'Module.webShows && Module.webShows.length >= 3', 30);
  await sleep(200);
}

async function shot(page, name) {
  const canvas = await page.$('#screen');
  await canvas.screenshot({path: `${out}/${name}.png`});
}

async function hold(page, keys, ms) {
  for (const k of keys) await page.keyboard.down(k);
  await sleep(ms);
  for (const k of keys.slice().reverse()) await page.keyboard.up(k);
  await sleep(150);
}

const lines = (page, kind) => page.$$eval(`#output .${kind}`, (els) => els.map((e) => e.textContent));

async function play(browser) {
  const {page, context} = await open(browser, '?scale=2');
  await firstFrame(page);
  seen.first_frame_ms = await page.evaluate(() => Module.webShows[1]);
  seen.canvas_css = await page.$eval('#screen', (c) => [c.style.width, c.style.height]);
  await shot(page, 'web-first-room');
  // A tap: down and up in one go, far shorter than a frame.
  await page.keyboard.down('ArrowRight');
  await page.keyboard.up('ArrowRight');
  await sleep(300);
  await shot(page, 'web-after-tap');
  await hold(page, ['ArrowRight'], 700);
  await shot(page, 'web-after-hold');
  await sleep(1500);
  seen.audio = await page.evaluate(() => ({state: Module.webAudioState(), peak: Module.webAudioPeak, blocks: Module.webAudioBlocks}));
  // The terrain editor: brush 52 (key 2) painted on the floor tile at game
  // pixel (88, 56) of the first room, then Esc saves the layer.
  await hold(page, ['ControlLeft', 'ControlRight', 'KeyE'], 250);
  await hold(page, ['Digit2'], 250);
  const box = await (await page.$('#screen')).boundingBox();
  await page.mouse.move(box.x + 88 * box.width / 320, box.y + 56 * box.height / 240);
  await sleep(200);
  await page.mouse.down();
  await sleep(250);
  await page.mouse.up();
  await sleep(200);
  await hold(page, ['Escape'], 250);
  await until(page, 'Module.webStorageSaves() >= 1', 10);
  await sleep(300);
  await page.reload();
  await firstFrame(page);
  await shot(page, 'web-after-reload');
  seen.play_stderr = await lines(page, 'stderr');
  // The page's own controls: the three layers downloaded, then the default
  // world back (the page reloads without the saved layers).
  const cdp = await page.target().createCDPSession();
  await cdp.send('Page.setDownloadBehavior', {behavior: 'allow', downloadPath: `${out}/downloads`});
  await page.click('#download-world');
  const layers = ['map.map', 'obj.map', 'mob.map'];
  for (let n = 0; n < 50 && !layers.every((f) => fs.existsSync(`${out}/downloads/${f}`)); n++) await sleep(100);
  await Promise.all([page.waitForNavigation(), page.click('#reset-world')]);
  await firstFrame(page);
  await shot(page, 'web-after-reset');
  await context.close();
}

async function replay(browser) {
  const {page, context} = await open(browser, '?replay=solution.rec&speed=50');
  const started = Date.now();
  await until(page, 'Module.webEnded !== null', 120);
  seen.replay_seconds = (Date.now() - started) / 1000;
  seen.replay_stdout = await lines(page, 'stdout');
  seen.replay_status = await page.evaluate(() => Module.webEnded);
  await context.close();
}

// A variant of the site (a subfolder with a file missing or damaged): the
// lines the page shows and how the game ended.
async function refusal(browser, variant) {
  const {page, context} = await open(browser, `${variant}/`);
  await until(page, 'Module.webEnded !== null', 30);
  seen[`refusal_${variant}`] = {stderr: await lines(page, 'stderr'), status: await page.evaluate(() => Module.webEnded)};
  await context.close();
}

// The benchmark's figures: bytes downloaded for the page to run, the time
// to its first frame, and the platform's running time per frame in a replay.
async function bench(browser) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  let bytes = 0;
  page.on('response', async (r) => { try { bytes += (await r.buffer()).length; } catch (e) { /* a 404 */ } });
  await page.goto(base + '?replay=solution.rec&speed=50');
  await firstFrame(page);
  seen.first_frame_ms = await page.evaluate(() => Module.webShows[1]);
  const start = await page.evaluate(() => Module.webBusy);
  await until(page, 'Module.webEnded !== null', 120);
  seen.download_bytes = bytes;
  seen.replay_stdout = await lines(page, 'stdout');
  seen.busy = [start, await page.evaluate(() => Module.webBusy)];
  await context.close();
}

(async () => {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--mute-audio'],
  });
  try {
    if (process.env.DRIVE === 'bench') {
      await bench(browser);
    } else {
      await play(browser);
      await replay(browser);
      for (const v of (process.env.REFUSALS || '').split(' ').filter(Boolean)) await refusal(browser, v);
    }
  } catch (e) {
    seen.error = String(e.stack || e);
  } finally {
    await browser.close();
  }
  console.log(JSON.stringify(seen));
})();
