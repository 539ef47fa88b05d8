// The page on a phone, in headless Chromium with a phone's screen and touch:
//   node phone.mjs PAGE_DIR DATA_DIR SHOTS_DIR
// the first visit's bytes (from the network log, over the page's own compressing server) and
// its time to the title on a 10 Mbit/s link; the music made in the page, title's first, equal
// byte for byte to the build's files in DATA_DIR; screenshots upright and sideways in SHOTS_DIR.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const web = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../platform/web');
const {launch} = await import(`${web}/cdp.mjs`);
const {serve} = await import(`${web}/serve.mjs`);

const [pageDir, dataDir, shotsDir] = process.argv.slice(2);
const FIRST_VISIT_BYTES = 1000 * 1000;
const TITLE_MS = 2000;
const MUSIC_AFTER_TITLE_MS = 5000;
const LINK = {offline: false, latency: 40, downloadThroughput: 10e6 / 8, uploadThroughput: 5e6 / 8};
const failures = [];
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
};
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
async function until(page, expression, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(50)) {
    if (await page.evaluate(expression)) return true;
  }
  return false;
}

// A phone held upright (390 x 844 CSS pixels) or sideways, with touch.
async function phone(page, upright = true) {
  await page.send('Emulation.setDeviceMetricsOverride', {
    width: upright ? 390 : 844, height: upright ? 844 : 390, deviceScaleFactor: 3, mobile: true,
    screenOrientation: upright ? {type: 'portraitPrimary', angle: 0}
                               : {type: 'landscapePrimary', angle: 90},
  });
  await page.send('Emulation.setTouchEmulationEnabled', {enabled: true, maxTouchPoints: 5});
}

// Opens a blank page, lets `before(page)` set it up, then loads `url` into it.
async function visit(browser, url, before) {
  const page = await browser.open('about:blank');
  await before(page);
  const loaded = new Promise((resolve) => page.on('Page.loadEventFired', resolve));
  await page.send('Page.navigate', {url});
  await loaded;
  return page;
}

const server = await serve(path.resolve(pageDir), 0);
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch();
try {
  // The first visit, on a 10 Mbit/s link with 40 ms of round trip.
  const received = new Map();
  const page = await visit(browser, base, async (p) => {
    await phone(p);
    await p.send('Network.enable');
    await p.send('Network.setCacheDisabled', {cacheDisabled: true});
    await p.send('Network.emulateNetworkConditions', LINK);
    // The workers' downloads count too: each is held at its start until its log is on.
    p.on('Target.attachedToTarget', async (e) => {
      // (Chromium throttles only the page's own requests; the workers' are 47 KB.)
      await p.sendTo(e.sessionId, 'Network.enable');
      await p.sendTo(e.sessionId, 'Network.setCacheDisabled', {cacheDisabled: true});
      await p.sendTo(e.sessionId, 'Runtime.runIfWaitingForDebugger');
    });
    await p.send('Target.setAutoAttach', {autoAttach: true, waitForDebuggerOnStart: true, flatten: true});
    p.on('Network.loadingFinished', (e, s) => received.set(s + e.requestId, e.encodedDataLength), true);
    p.on('Network.responseReceived', (e, s) => received.set(s + e.requestId + ':url', e.response.url), true);
  });
  check(await until(page, 'window.zorvexFrames > 0', 15000), 'the title is drawn');
  check(await until(page, 'window.zorvexMusicReadyMs > 0', 30000), 'the levels\' music is made');
  const times = await page.evaluate(`({title: zorvexFirstFrameMs, music: zorvexMusicReadyMs,
      sounds: zorvexSoundReadyMs})`);
  console.log(`     made (ms into the visit): ${Object.entries(times.sounds)
      .map(([n, t]) => `${n} ${Math.round(t)}`).join(', ')}`);
  let bytes = 0;
  const files = [];
  for (const [id, n] of received) {
    if (id.endsWith(':url')) continue;
    bytes += n;
    files.push(`${path.basename(received.get(id + ':url') || id)} ${n}`);
  }
  console.log(`     received: ${files.join(', ')}`);
  check(bytes <= FIRST_VISIT_BYTES, `the first visit takes ${bytes} bytes (at most ${FIRST_VISIT_BYTES})`);
  check(times.title <= TITLE_MS, `the title shows ${Math.round(times.title)} ms into the visit (at most ${TITLE_MS})`);
  const after = times.music - times.title;
  check(after <= MUSIC_AFTER_TITLE_MS,
        `the last music is ready ${Math.round(after)} ms after the title (at most ${MUSIC_AFTER_TITLE_MS})`);
  const levels = ['music01.wav', 'music02.wav', 'music03.wav', 'music04.wav'];
  check(levels.every((n) => times.sounds['music00.wav'] <= times.sounds[n]),
        'the title music is made before the levels\'');
  await page.send('Network.emulateNetworkConditions',
                  {offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1});

  // The page's sound maker against the build's files.
  const names = fs.readdirSync(dataDir).filter((n) => n.endsWith('.wav')).sort();
  const made = await page.evaluate(`(async () => {
    const get = zorvexMakeSounds(${JSON.stringify(names)});
    const hex = (b) => [...new Uint8Array(b)].map((x) => x.toString(16).padStart(2, '0')).join('');
    const out = {};
    for (const n of ${JSON.stringify(names)}) out[n] = hex(await crypto.subtle.digest('SHA-256', await get(n)));
    return out;
  })()`);
  const differ = names.filter((n) =>
    made[n] !== crypto.createHash('sha256').update(fs.readFileSync(path.join(dataDir, n))).digest('hex'));
  check(names.length === 10 && differ.length === 0,
        `the page makes the build's ${names.length} sound files byte for byte` +
        (differ.length ? ` (not ${differ.join(', ')})` : ''));
} finally {
  await browser.close();
  server.close();
}
process.exitCode = failures.length ? 1 : 0;
