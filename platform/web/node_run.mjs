// Runs the browser build under node, headless: node platform/web/node_run.mjs PAGE_DIR ARG...
// Exits with the game's exit status.
import fs from 'node:fs';
import path from 'node:path';
import {createRequire} from 'node:module';
import {mapArgs, dataInputs, restorePaths} from './run_args.mjs';

const [pageDir, ...argv] = process.argv.slice(2);
const createZorvex = createRequire(import.meta.url)(path.resolve(pageDir, 'zorvex.js'));
const run = mapArgs(argv);
const Module = await createZorvex({
  wasmBinary: fs.readFileSync(path.resolve(pageDir, 'zorvex.wasm')),
  print: (t) => process.stdout.write(restorePaths(t, run) + '\n'),
  printErr: (t) => process.stderr.write(restorePaths(t, run) + '\n'),
});
const FS = Module.FS;
for (const dir of ['/in', '/in/data', '/out', '/data']) FS.mkdir(dir);
for (const name of fs.readdirSync(path.join(pageDir, 'data'))) {
  FS.writeFile(`/data/${name}`, fs.readFileSync(path.join(pageDir, 'data', name)));
}
// The sounds and music, made as the page makes them, by the build's generator.
const createSounds = createRequire(import.meta.url)(path.resolve(pageDir, 'zorvex-sounds.js'));
const sounds = await createSounds({
  wasmBinary: fs.readFileSync(path.resolve(pageDir, 'zorvex-sounds.wasm')),
});
for (let k = 0; k < sounds._zorvex_sound_count(); ++k) {
  const at = sounds._zorvex_make_sound(k);
  FS.writeFile(`/data/${sounds.UTF8ToString(sounds._zorvex_sound_name(k))}`,
               sounds.HEAPU8.subarray(at, at + sounds._zorvex_made_size()));
}
for (const f of [...run.inputs, ...dataInputs(run.dataDir)].filter((f) => !f.missing)) {
  FS.writeFile(f.fsPath, fs.readFileSync(f.hostPath));
}
let code = Module.ccall('zorvex_start', 'number', ['string'], [run.args.join('\n')]);
while (code < 0) code = Module._zorvex_step(1000);
for (const f of run.outputs) {
  if (!FS.analyzePath(f.fsPath).exists) continue;
  try {
    fs.writeFileSync(f.hostPath, FS.readFile(f.fsPath));
  } catch (e) {
    process.stderr.write(`zorvex: ${f.hostPath}: cannot write: ${e.message}\n`);
    if (code === 0) code = 1;
  }
}
process.exitCode = code;
