// Headless Chromium driven over its debugging pipe, with node's own modules only.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvex-chromium-'));
  const browser = spawn(process.env.ZORVEX_CHROMIUM || 'chromium', [
    '--headless=new', '--remote-debugging-pipe', '--no-first-run', '--no-default-browser-check',
    '--autoplay-policy=no-user-gesture-required', '--disable-background-timer-throttling',
    '--disable-renderer-backgrounding', '--no-sandbox', `--user-data-dir=${profile}`,
    '--window-size=800,600', 'about:blank',
  ], {stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe']});
  const toBrowser = browser.stdio[3], fromBrowser = browser.stdio[4];
  let nextId = 1, buffered = '';
  const waiting = new Map(), listeners = [];
  fromBrowser.on('data', (chunk) => {
    buffered += chunk.toString('utf8');
    let end;
    while ((end = buffered.indexOf('\0')) >= 0) {
      const message = JSON.parse(buffered.slice(0, end));
      buffered = buffered.slice(end + 1);
      if (message.id && waiting.has(message.id)) {
        const {resolve, reject} = waiting.get(message.id);
        waiting.delete(message.id);
        if (message.error) reject(new Error(message.error.message));
        else resolve(message.result);
      } else {
        for (const l of listeners) l(message);
      }
    }
  });
  const exited = new Promise((resolve) => browser.on('exit', resolve));
  exited.then(() => {
    for (const {reject} of waiting.values()) reject(new Error('chromium exited'));
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    const id = nextId++;
    waiting.set(id, {resolve, reject});
    toBrowser.write(JSON.stringify({id, method, params, sessionId}) + '\0');
  });
  const event = (method, sessionId) => new Promise((resolve) => {
    const l = (m) => {
      if (m.method !== method || m.sessionId !== sessionId) return;
      listeners.splice(listeners.indexOf(l), 1);
      resolve(m.params);
    };
    listeners.push(l);
  });

  // One page: `page.send(method, params)` talks to it.
  async function open(url) {
    const {targetId} = await send('Target.createTarget', {url: 'about:blank'});
    const {sessionId} = await send('Target.attachToTarget', {targetId, flatten: true});
    const page = {
      send: (method, params) => send(method, params, sessionId),
      // Calls fn(params, sessionId) on every `method` event of the page, from now on; with
      // `anySession`, also of the targets attached under it (its workers).
      on(method, fn, anySession = false) {
        listeners.push((m) => {
          if (m.method === method && (anySession || m.sessionId === sessionId)) fn(m.params, m.sessionId);
        });
      },
      // Talks to a target attached under the page.
      sendTo: (session, method, params) => send(method, params, session),
      // Evaluates an expression in the page, awaiting a promise; returns its value.
      async evaluate(expression) {
        const r = await send('Runtime.evaluate',
            {expression, awaitPromise: true, returnByValue: true}, sessionId);
        if (r.exceptionDetails) {
          throw new Error(r.exceptionDetails.exception?.description || r.exceptionDetails.text);
        }
        return r.result.value;
      },
    };
    await page.send('Page.enable');
    const loaded = event('Page.loadEventFired', sessionId);
    await page.send('Page.navigate', {url});
    await loaded;
    return page;
  }

  async function close() {
    try {
      await Promise.race([send('Browser.close'), exited]);
    } catch {}
    if (browser.exitCode === null) browser.kill();
    await exited;
    // Chromium's helper processes can still be writing the profile for a moment after it exits.
    fs.rmSync(profile, {recursive: true, force: true, maxRetries: 20, retryDelay: 100});
  }
  return {open, close};
}
