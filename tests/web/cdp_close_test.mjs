// The Chromium runner leaves nothing behind: no process of its tree, nothing in the temporary
// folder, and a folder it cannot remove is a warning, not a failure.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import test from 'node:test';
import {fileURLToPath} from 'node:url';

const web = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../platform/web');
const {launch} = await import(`${web}/cdp.mjs`);

const skip = spawnSync(process.env.ZORVEX_CHROMIUM || 'chromium', ['--version']).status !== 0 &&
    'chromium is not installed';

// Our own temporary folder, so that other runs on the machine do not count.
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvex-cdp-test-'));
process.env.TMPDIR = tmp;
test.after(() => fs.rmSync(tmp, {recursive: true, force: true}));

// Every process whose command line names the folder: Chromium's profile and its crash handler's
// database are both inside it.
function processesUsing(folder) {
  return fs.readdirSync('/proc').filter((pid) => {
    if (!/^\d+$/.test(pid) || Number(pid) === process.pid) return false;
    try {
      return fs.readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes(folder) &&
          !fs.readFileSync(`/proc/${pid}/stat`, 'utf8').match(/\) Z /);
    } catch {
      return false;
    }
  });
}

async function browse(browser) {
  const page = await browser.open('data:text/html,<title>t</title><script>localStorage.x=1</script>');
  assert.equal(await page.evaluate('document.title'), 't');
  assert.ok(processesUsing(tmp).length > 0, 'chromium runs with its files in the folder');
}

test('closing waits for every process and removes every file', {skip}, async () => {
  for (let run = 0; run < 2; run++) {
    const browser = await launch();
    await browse(browser);
    await browser.close();
    assert.deepEqual(processesUsing(tmp), []);
    assert.deepEqual(fs.readdirSync(tmp), []);
  }
});

test('a folder that cannot be removed is a warning', {skip}, async () => {
  const browser = await launch();
  await browse(browser);
  const rmSync = fs.rmSync, write = process.stderr.write;
  let said = '';
  fs.rmSync = () => { throw new Error('EBUSY: resource busy'); };
  process.stderr.write = (text) => { said += text; return true; };
  try {
    await browser.close();
  } finally {
    fs.rmSync = rmSync;
    process.stderr.write = write;
  }
  assert.match(said, /warning: could not remove .*zorvex-chromium-.*EBUSY/);
  assert.deepEqual(processesUsing(tmp), []);
});
