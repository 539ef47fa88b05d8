// What the page keeps between visits, in headless Chromium with one profile: the volume set
// with - is in localStorage and the next visit starts from it; a game played to game over is
// listed by the page's Best games control after a reload (IndexedDB), and its Watch button
// plays it back to the end; storage the browser refuses is told once and the game plays on.
import path from 'node:path';
import {fileURLToPath} from 'node:url';

import {check, failures, sleep, until} from './checks.mjs';

const web = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../platform/web');
const {launch} = await import(`${web}/cdp.mjs`);
const {serve} = await import(`${web}/serve.mjs`);

const [pageDir] = process.argv.slice(2);
const key = async (page, code, name, vk) => {
  for (const type of ['rawKeyDown', 'keyUp']) {
    await page.send('Input.dispatchKeyEvent', {type, code, key: name, windowsVirtualKeyCode: vk});
    await sleep(100);
  }
};
const settings = `localStorage.getItem('zorvex/settings.ini') || ''`;

const server = await serve(path.resolve(pageDir), 0, () => false);
const base = `http://127.0.0.1:${server.address().port}/index.html`;
const browser = await launch();
try {
  const first = await browser.open(base);
  check(await until(first, 'window.zorvexFrames > 0', 10000), 'the title is drawn');
  await key(first, 'Minus', '-', 189);
  await key(first, 'Minus', '-', 189);
  check(await until(first, `/^volume = 80$/m.test(${settings})`, 3000),
        `- is kept in localStorage (${JSON.stringify(await first.evaluate(settings))})`);

  // The next visit starts at 80: one more - makes 70.
  const second = await browser.open(base);
  check(await until(second, 'window.zorvexFrames > 0', 10000), 'the title is drawn again');
  await key(second, 'Minus', '-', 189);
  check(await until(second, `/^volume = 70$/m.test(${settings})`, 3000),
        `the next visit starts from the kept volume (${JSON.stringify(await second.evaluate(settings))})`);

  // A game to game over: Enter (again, until the levels' music has come and it starts a game),
  // and the fire button, until the lives are gone. Every fourth second the ship is sent across
  // the field: one that never moves can send a ball straight back up for ever.
  const box = await second.evaluate(`(() => { const r = document.getElementById('screen')
      .getBoundingClientRect(); return {x: r.x + r.width / 2, y: r.y + r.height / 2}; })()`);
  let at = box;
  for (let i = 0; i < 150; ++i) {
    if (i % 5 === 0) await key(second, 'Enter', 'Enter', 13);
    const next = {x: box.x + (Math.floor(i / 10) % 2 ? 200 : 0), y: box.y};
    if (next.x !== at.x) {
      for (const spot of [at, next])
        await second.send('Input.dispatchMouseEvent', {type: 'mouseMoved', ...spot});
      at = next;
    }
    for (const type of ['mousePressed', 'mouseReleased'])
      await second.send('Input.dispatchMouseEvent', {type, ...at, button: 'left', clickCount: 1});
    await sleep(400);
    const listed = await second.evaluate(`(() => { document.getElementById('best').click();
        const text = document.getElementById('best-list').textContent;
        document.getElementById('best').click(); return /Watch #1/.test(text); })()`);
    if (listed) break;
  }
  await sleep(1500);  // IndexedDB is written within half a second of the table

  const third = await browser.open(base);
  check(await until(third, 'window.zorvexFrames > 0', 10000), 'the title is drawn a third time');
  const list = await third.evaluate(`(() => { document.getElementById('best').click();
      return document.getElementById('best-list').textContent; })()`);
  check(/Watch #1: \d+ points, level \d+, \d{4}-\d\d-\d\dT/.test(list),
        `the best game is listed after a reload (${list})`);
  await third.evaluate(`document.querySelector('#best-list button').click(); 0`);
  await sleep(1000);
  check(/watch=1/.test(await third.evaluate('location.search')), 'Watch opens the page with --watch 1');
  check(await until(third, `/Game ended/.test(document.getElementById('line').textContent)`, 60000),
        'the watched game plays to its end');

  // Storage the browser refuses: the game plays on and says once that the settings are not kept.
  const refused = await browser.open('about:blank');
  await refused.send('Page.addScriptToEvaluateOnNewDocument', {source: `
      Object.defineProperty(window, 'localStorage', {get() { throw new Error('refused'); }});
      window.said = [];
      for (const kind of ['log', 'warn', 'error']) {
        const original = console[kind];
        console[kind] = (...a) => { said.push(a.join(' ')); original.apply(console, a); };
      }`});
  await refused.send('Page.navigate', {url: base});
  check(await until(refused, 'window.zorvexFrames > 0', 10000), 'the title is drawn with storage refused');
  for (let i = 0; i < 3; ++i) await key(refused, 'Minus', '-', 189);
  await sleep(500);
  const told = await refused.evaluate(`said.filter((t) => /Settings not saved/.test(t)).length`);
  check(told === 1, `refused storage is told once (${told} times)`);
} finally {
  await browser.close();
  server.close();
}
process.exitCode = failures.length ? 1 : 0;
