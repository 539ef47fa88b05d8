// The game's options as the machine gives them, turned into options for the page's own file
// system: files the game reads are handed in, files it writes are copied back after the run.
import fs from 'node:fs';
import path from 'node:path';

const INPUTS = new Set(['--replay']);
const OUTPUTS = new Set(['--trace', '--record', '--log']);

// Returns {args, inputs: [{fsPath, hostPath, missing}], outputs: [{fsPath, hostPath,
// unwritable}], dataDir}.
// A file that cannot be read is marked `missing` and not handed in, so the game reports it.
export function mapArgs(argv) {
  const args = [], inputs = [], outputs = [];
  let dataDir = null;
  for (let i = 0; i < argv.length; ++i) {
    const a = argv[i];
    const value = argv[i + 1];
    if (value === undefined || !(INPUTS.has(a) || OUTPUTS.has(a) || a === '--data' || a === '--snapshot')) {
      args.push(a);
      continue;
    }
    ++i;
    if (a === '--data') {
      dataDir = value;
      args.push(a, '/in/data');
    } else if (INPUTS.has(a)) {
      const fsPath = `/in/${inputs.length}`;
      inputs.push({fsPath, hostPath: value, missing: !readable(value)});
      args.push(a, fsPath);
    } else if (a === '--log' && value === '-') {
      args.push(a, value);
    } else if (a === '--snapshot' && value.includes(':')) {
      const colon = value.indexOf(':');
      args.push(a, value.slice(0, colon + 1) + outputPath(outputs, value.slice(colon + 1)));
    } else if (a === '--snapshot') {
      args.push(a, value);
    } else {
      args.push(a, outputPath(outputs, value));
    }
  }
  return {args, inputs, outputs, dataDir};
}

// Where an output goes in the page: /out/K, or, when the machine's folder cannot take the file,
// a folder the page lacks too, so the game itself reports that it cannot write there.
function outputPath(outputs, hostPath) {
  const k = outputs.length;
  const ok = writable(hostPath);
  outputs.push({fsPath: ok ? `/out/${k}` : `/unwritable/${k}`, hostPath, unwritable: !ok});
  return outputs[k].fsPath;
}

function writable(file) {
  try {
    fs.accessSync(path.dirname(path.resolve(file)), fs.constants.W_OK);
    return !fs.existsSync(file) || fs.statSync(file).isFile();
  } catch {
    return false;
  }
}

function readable(file) {
  try {
    return fs.statSync(file).isFile();
  } catch {
    return false;
  }
}

// Every file of a data folder given with --data, as inputs under /in/data.
export function dataInputs(dataDir) {
  if (!dataDir) return [];
  let names = [];
  try {
    names = fs.readdirSync(dataDir);
  } catch {
    return [];
  }
  return names.filter((n) => readable(path.join(dataDir, n)))
      .map((n) => ({fsPath: `/in/data/${n}`, hostPath: path.join(dataDir, n)}));
}

// The game names files by the paths it was given; put the machine's paths back in its messages.
export function restorePaths(text, run) {
  const pairs = [...run.inputs, ...run.outputs].map((f) => [f.fsPath, f.hostPath]);
  if (run.dataDir) pairs.push(['/in/data', run.dataDir]);
  pairs.sort((a, b) => b[0].length - a[0].length);
  for (const [fsPath, hostPath] of pairs) text = text.split(fsPath).join(hostPath);
  return text;
}
