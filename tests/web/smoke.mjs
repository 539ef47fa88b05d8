// The page as a player meets it, in headless Chromium: the title appears, Enter starts a game,
// the mouse steers the ship, sound plays, the host's keys work (- silences, = brings the sound
// back, P holds the frames, F12 offers a PNG download), Escape ends the run with status 0.
import fs from 'node:fs';

import {check, failures, launch, servePage, sleep, until} from './checks.mjs';

const [pageDir, titlePng] = process.argv.slice(2);

const {server, base, trace} = await servePage(pageDir);
const browser = await launch();
try {
  // The page as served for playing: how soon the title is on the canvas.
  const started = Date.now();
  const player = await browser.open(base);
  check(await until(player, 'window.zorvexFrames > 0', 10000), 'the title is drawn');
  const firstFrame = await player.evaluate('Math.round(zorvexFirstFrameMs)');
  console.log(`     first frame ${firstFrame} ms into the page's life (${Date.now() - started} ms` +
              ' from asking for it, the browser\'s start included)');
  const version = await player.evaluate("document.getElementById('version').textContent");
  check(/^zorvex \d+\.\d+\.\d+$/.test(version), `the page shows the version ("${version}")`);
  // Away from the page, its sound maker's workers stop and leave the machine to the next.
  await player.send('Page.navigate', {url: 'about:blank'});

  // A driven live run (the web host, not the headless one) that writes a trace.
  const page = await browser.open(`${base}?driven`);
  await page.evaluate(`window.run = zorvexDriven({args: ['--trace', '/out/0'], inputs: [],
      outputs: [{fsPath: '/out/0', url: '/run/out/0'}]}); 0`);
  // (It starts once the page has made every sound: some seconds on a busy machine.)
  check(await until(page, 'window.zorvexFrames > 30', 60000), 'frames are shown');
  const shot = await page.send('Page.captureScreenshot', {format: 'png'});
  fs.writeFileSync(titlePng, Buffer.from(shot.data, 'base64'));
  const colours = await page.evaluate(`(() => {
    const c = document.getElementById('screen');
    const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
    const seen = new Set();
    for (let i = 0; i < d.length; i += 4 * 97) seen.add(d[i] << 16 | d[i + 1] << 8 | d[i + 2]);
    return seen.size;
  })()`);
  check(colours > 20, `the title picture has colour (${colours} colours sampled)`);

  const key = async (code, key, vk) => {
    for (const type of ['rawKeyDown', 'keyUp']) {
      await page.send('Input.dispatchKeyEvent', {type, code, key, windowsVirtualKeyCode: vk});
      await sleep(150);
    }
  };
  await key('Enter', 'Enter', 13);
  await sleep(500);
  const box = await page.evaluate(`(() => { const r = document.getElementById('screen')
      .getBoundingClientRect(); return {x: r.x, y: r.y, w: r.width, h: r.height}; })()`);
  const y = box.y + box.h / 2;
  for (let i = 0; i <= 20; ++i) {
    await page.send('Input.dispatchMouseEvent',
        {type: 'mouseMoved', x: box.x + 20 + (box.w - 40) * i / 20, y});
    await sleep(30);
  }
  await sleep(500);
  const sound = await page.evaluate(
      '({state: window.zorvexAudio && zorvexAudio.state, peak: window.zorvexAudioPeak})');
  check(sound.state === 'running', `the audio context is running (${sound.state})`);
  check(sound.peak > 1000, `the sound is not silent (peak ${sound.peak})`);

  for (let i = 0; i < 10; ++i) await key('Minus', '-', 189);
  await sleep(300);
  await page.evaluate('window.zorvexAudioPeak = 0');
  await sleep(500);
  const silent = await page.evaluate('window.zorvexAudioPeak');
  for (let i = 0; i < 10; ++i) await key('Equal', '=', 187);
  await page.evaluate('window.zorvexAudioPeak = 0');
  // The sound comes back within a buffer or two; a loaded machine's audio thread may stall for
  // seconds, so the wait is long (it ends as soon as the sound is back).
  await until(page, 'window.zorvexAudioPeak > 1000', 15000);
  const loud = await page.evaluate('window.zorvexAudioPeak');
  check(silent === 0 && loud > 1000, `- silences the sound and = brings it back (${silent}, ${loud})`);
  if (loud <= 1000) console.log('     the sound then: ' + JSON.stringify(await page.evaluate(`({
      state: zorvexAudio.state, path: window.zorvexAudioPath, starved: window.zorvexAudioStarved,
      steps: window.zorvexSteps, hidden: document.hidden, focused: document.hasFocus()})`)));

  await key('KeyP', 'p', 80);
  const pausedAt = await page.evaluate('window.zorvexSteps');
  await sleep(1000);
  const stillAt = await page.evaluate('window.zorvexSteps');
  await key('F12', 'F12', 123);
  check(await until(page, 'window.zorvexDownloads === 1', 3000), 'F12 offers the picture as a download');
  await key('KeyP', 'p', 80);
  await sleep(500);
  const goneOn = await page.evaluate('window.zorvexSteps');
  check(pausedAt === stillAt && goneOn > stillAt,
        `P holds the game's frames and lets them go on (${pausedAt}, ${stillAt}, ${goneOn})`);
  await key('Escape', 'Escape', 27);
  const result = await page.evaluate('window.run');
  check(result.code === 0, `Escape ends the run with status 0 (${result.code})`);
  check(/zorvex: Screenshot saved to your downloads as zorvex-\d{8}-\d{6}\.png/.test(result.stdout),
        `the screenshot is reported (${result.stdout.trim()})`);

  const lines = (trace() || '').trim().split('\n').filter(Boolean).map((l) => JSON.parse(l));
  const play = lines.filter((l) => l.mode === 1);
  if (loud <= 1000) console.log(`     the game's last step: ${JSON.stringify(lines.at(-1))}`);
  check(play.length > 0, 'Enter started a game');
  const ships = new Set(play.map((l) => l.ship));
  check(ships.size > 5, `the mouse moved the ship (${ships.size} positions)`);
} finally {
  await browser.close();
  server.close();
}
process.exitCode = failures.length ? 1 : 0;
