// How the headless runners hand the game's files in and take them back.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import test from 'node:test';
import {fileURLToPath} from 'node:url';

const web = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../platform/web');
const {mapArgs, restorePaths} = await import(`${web}/run_args.mjs`);

test('files are renamed into the page, and its messages name them as given', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zorvex-args-'));
  const replay = path.join(dir, 'game.replay');
  fs.writeFileSync(replay, 'ZORVEX-REPLAY 1\n');
  const run = mapArgs(['--headless', '--replay', replay, '--trace', `${dir}/t.jsonl`,
                       '--snapshot', `5:${dir}/a.bmp`, '--log', '-', '--frames', '10']);
  assert.deepEqual(run.args, ['--headless', '--replay', '/in/0', '--trace', '/out/0',
                              '--snapshot', '5:/out/1', '--log', '-', '--frames', '10']);
  assert.equal(run.outputs[1].hostPath, `${dir}/a.bmp`);
  assert.equal(restorePaths('/out/1 and /in/0', run), `${dir}/a.bmp and ${replay}`);
  fs.rmSync(dir, {recursive: true});
});

test('a file that cannot be read or written fails in the game, not silently', () => {
  const run = mapArgs(['--replay', '/no/such.replay', '--record', '/no/such/dir/r.replay']);
  assert.equal(run.inputs[0].missing, true);
  assert.match(run.args[3], /^\/unwritable\//);
  assert.equal(restorePaths(`${run.args[3]}: cannot write`, run), '/no/such/dir/r.replay: cannot write');
});

test('names sharing a prefix are put back whole', () => {
  const outputs = Array.from({length: 11}, (_, k) => ['--trace', `/tmp/t${k}`]).flat();
  const run = mapArgs(outputs);
  assert.equal(restorePaths('/out/10 /out/1', run), '/tmp/t10 /tmp/t1');
});
