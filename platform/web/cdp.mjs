// Headless Chromium driven over its debugging pipe, with node's own modules only.
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

// Chromium runs in a process group of its own, with a private temporary folder that holds its
// profile and everything it writes under TMPDIR, so that close() can wait for every helper process
// it started and then remove all it left behind.
export async function launch() {
  const home = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvex-chromium-'));
  const profile = path.join(home, 'profile'), tmp = path.join(home, 'tmp');
  fs.mkdirSync(profile);
  fs.mkdirSync(tmp);
  const browser = spawn(process.env.ZORVEX_CHROMIUM || 'chromium', [
    '--headless=new', '--remote-debugging-pipe', '--no-first-run', '--no-default-browser-check',
    '--autoplay-policy=no-user-gesture-required', '--disable-background-timer-throttling',
    '--disable-renderer-backgrounding', '--no-sandbox', `--user-data-dir=${profile}`,
    '--window-size=800,600', 'about:blank',
  ], {
    stdio: ['ignore', 'ignore', 'ignore', 'pipe', 'pipe'],
    detached: true,
    // Its crash handler leaves the group and keeps its database under the configuration folder:
    // that goes into the private folder too, where close() finds it by its command line.
    env: {...process.env, TMPDIR: tmp, XDG_CONFIG_HOME: tmp, XDG_CACHE_HOME: tmp},
  });
  const owned = {group: browser.pid, folder: home};
  // Should this process end before close(), Chromium ends with it.
  const endGroup = () => killOwned(owned);
  const interrupted = (signal) => {
    endGroup();
    fs.rmSync(home, {recursive: true, force: true});
    process.exit(128 + os.constants.signals[signal]);
  };
  process.on('exit', endGroup);
  process.once('SIGINT', interrupted);
  process.once('SIGTERM', interrupted);
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

  // Closes the browser, waits for its whole process group (killing it after a grace period) and
  // removes its folder. Never throws: a folder that cannot be removed is only a warning.
  async function close() {
    try {
      await Promise.race([send('Browser.close'), exited, sleep(5000)]);
    } catch {}
    if (browser.exitCode === null && browser.signalCode === null) browser.kill('SIGKILL');
    await exited;
    if (!(await ownedGone(owned, 5000))) {
      killOwned(owned);
      if (!(await ownedGone(owned, 5000))) {
        process.stderr.write(`warning: chromium processes ${ownedPids(owned)} did not exit\n`);
      }
    }
    process.off('exit', endGroup);
    process.off('SIGINT', interrupted);
    process.off('SIGTERM', interrupted);
    try {
      fs.rmSync(home, {recursive: true, force: true, maxRetries: 10, retryDelay: 100});
    } catch (e) {
      process.stderr.write(`warning: could not remove ${home}: ${e.message}\n`);
    }
  }
  // The processor time Chromium's processes have had so far, in clock ticks (with that of the
  // children they have reaped).
  const cpuTicks = () => ownedPids(owned).reduce((sum, pid) => sum + processTicks(pid), 0);
  return {open, close, cpuTicks};
}

// A process's processor time so far, its reaped children's included, in clock ticks; 0 once gone.
export function processTicks(pid) {
  try {
    const stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
    // After the command's closing parenthesis: state, ppid, ..., utime (12th), stime, cutime, cstime.
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ').slice(11, 15).map(Number);
    return fields.reduce((a, b) => a + b, 0);
  } catch {
    return 0;
  }
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Chromium's processes: those of its process group, and those that left the group but work in
// its folder. Zombies do not count: where nothing reaps orphans (a container's first process may
// not), they stay for good.
function ownedPids({group, folder}) {
  const pids = [];
  let entries = [];
  try {
    entries = fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name));
  } catch {}
  for (const pid of entries) {
    let stat, args;
    try {
      stat = fs.readFileSync(`/proc/${pid}/stat`, 'utf8');
      args = fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8');
    } catch {
      continue;
    }
    // The fields after the command's closing parenthesis: state, ppid, pgrp, ...
    const fields = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    if (fields[0] === 'Z') continue;
    if (Number(fields[2]) === group || args.includes(folder)) pids.push(Number(pid));
  }
  return pids;
}

function killOwned(owned) {
  for (const pid of ownedPids(owned)) {
    try {
      process.kill(pid, 'SIGKILL');
    } catch {}
  }
}

async function ownedGone(owned, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(50)) {
    if (ownedPids(owned).length === 0) return true;
  }
  return ownedPids(owned).length === 0;
}
