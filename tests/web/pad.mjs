// The page played with a pad alone, in headless Chromium, through a stub of
// navigator.getGamepads: Start starts a game, the stick steers the ship, the south button fires,
// unplugging pauses and plugging in again plays on; the ship held at the right edge misses every
// ball to game over, where Start begins a new game; Back held a second ends the run with status 0.

import {check, failures, launch, servePage, sleep, until} from './checks.mjs';

const [pageDir] = process.argv.slice(2);

const {server, base, trace} = await servePage(pageDir);
const browser = await launch();
try {
  const page = await browser.open(`${base}?driven`);
  // One pad in the standard mapping, its state set from here.
  await page.evaluate(`(() => {
    window.stubPad = {connected: true, axes: [0, 0, 0, 0],
                      buttons: Array.from({length: 17}, () => ({pressed: false, value: 0}))};
    window.stubPads = [window.stubPad];
    Object.defineProperty(navigator, 'getGamepads',
                          {configurable: true, value: () => window.stubPads});
    window.press = (i, down) => { stubPad.buttons[i] = {pressed: down, value: down ? 1 : 0}; };
  })()`);
  await page.evaluate(`window.run = zorvexDriven({args: ['--trace', '/out/0'], inputs: [],
      outputs: [{fsPath: '/out/0', url: '/run/out/0'}]}); 0`);
  check(await until(page, 'window.zorvexFrames > 30', 10000), 'frames are shown');

  const tap = async (i) => {
    await page.evaluate(`press(${i}, true)`);
    await sleep(150);
    await page.evaluate(`press(${i}, false)`);
    await sleep(150);
  };
  await tap(9);  // Start
  await sleep(500);
  await page.evaluate('stubPad.axes[0] = 1');
  await sleep(400);
  await page.evaluate('stubPad.axes[0] = 0.1');  // at rest, inside the dead zone
  await tap(0);
  await sleep(300);

  await page.evaluate('window.stubPads = []');
  await sleep(300);
  const pausedAt = await page.evaluate('window.zorvexSteps');
  await sleep(700);
  const stillAt = await page.evaluate('window.zorvexSteps');
  await page.evaluate('window.stubPads = [window.stubPad]');
  await sleep(500);
  const goneOn = await page.evaluate('window.zorvexSteps');
  check(pausedAt === stillAt && goneOn > stillAt,
        `unplugging holds the frames, plugging lets them go on (${pausedAt}, ${stillAt}, ${goneOn})`);

  // Every ball missed: the ship waits at the right edge, where neither serve comes down. Game
  // over shows "Press Enter to Start Over," in white at the left, over rows 440 to 452.
  const gameOverShown = `(() => {
    const d = document.querySelector('canvas').getContext('2d').getImageData(0, 438, 220, 16).data;
    let white = 0;
    for (let i = 0; i < d.length; i += 4) white += d[i] > 240 && d[i + 1] > 240 && d[i + 2] > 240;
    return white > 40;
  })()`;
  await page.evaluate('stubPad.axes[0] = 1');
  check(await until(page, gameOverShown, 60000), 'the balls missed end the game');
  await sleep(500);
  await tap(9);
  await page.evaluate('stubPad.axes[0] = 0');
  check(await until(page, `!${gameOverShown}`, 3000), 'Start at game over begins a new game');

  // The game quits as Escape goes up; Back let go too soon never sends it.
  const ended = () => Promise.race([page.evaluate('window.run'), sleep(300).then(() => null)]);
  await page.evaluate('press(8, true)');
  await sleep(400);
  await page.evaluate('press(8, false)');
  check(await ended() === null, 'Back let go within a second does not quit');
  await page.evaluate('press(8, true)');
  await sleep(1300);
  await page.evaluate('press(8, false)');
  const result = await Promise.race([page.evaluate('window.run'), sleep(5000).then(() => null)]);
  check(result && result.code === 0,
        `Back held a second ends the run with status 0 (${result && result.code})`);

  const lines = (trace() || '').trim().split('\n').filter(Boolean).map((l) => JSON.parse(l));
  const play = lines.filter((l) => l.mode === 1);
  check(play.length > 0, 'Start started a game');
  const ships = play.map((l) => l.ship);
  check(ships.length > 0 && Math.max(...ships) - ships[0] > 100,
        `the stick moved the ship right (from ${ships[0]} to ${Math.max(...ships)})`);
  check(play.some((l) => l.shots.length > 0), 'the south button fired');
  const over = lines.findIndex((l) => l.mode === 3);
  check(over > 0 && lines.slice(over).some((l) => l.mode === 1 && l.lives === 3),
        'the trace holds the game over and the new game');
} finally {
  await browser.close();
  server.close();
}
process.exitCode = failures.length ? 1 : 0;
