// Runs the page in headless Chromium with the game's options:
//   node platform/web/web_run.mjs PAGE_DIR ARG...
// Files the game reads are served to the page, files it writes are sent back and written here.
// Exits with the game's exit status.
import fs from 'node:fs';
import path from 'node:path';
import {launch} from './cdp.mjs';
import {mapArgs, dataInputs, restorePaths} from './run_args.mjs';
import {serve} from './serve.mjs';

const [pageDir, ...argv] = process.argv.slice(2);
const run = mapArgs(argv);
const inputs = [...run.inputs, ...dataInputs(run.dataDir)].filter((f) => !f.missing);

// The page fetches /run/in/K and puts /run/out/K.
const server = await serve(path.resolve(pageDir), 0, (req, res) => {
  const m = /^\/run\/(in|out)\/(\d+)$/.exec(req.url);
  if (!m) return false;
  const k = Number(m[2]);
  if (m[1] === 'in' && req.method === 'GET' && inputs[k]) {
    res.writeHead(200, {'Content-Type': 'application/octet-stream'});
    fs.createReadStream(inputs[k].hostPath).pipe(res);
  } else if (m[1] === 'out' && req.method === 'PUT' && run.outputs[k]) {
    const file = fs.createWriteStream(run.outputs[k].hostPath);
    req.pipe(file);
    file.on('finish', () => res.writeHead(200).end());
    file.on('error', () => res.writeHead(500).end());
  } else {
    res.writeHead(404).end();
  }
  return true;
});

const job = {
  args: run.args,
  inputs: inputs.map((f, k) => ({fsPath: f.fsPath, url: `/run/in/${k}`})),
  outputs: run.outputs.map((f, k) => ({fsPath: f.fsPath, url: `/run/out/${k}`})),
};
const browser = await launch();
let code = 1;
try {
  const page = await browser.open(`http://127.0.0.1:${server.address().port}/index.html?driven`);
  const result = await page.evaluate(`zorvexDriven(${JSON.stringify(job)})`);
  if (result.stdout) process.stdout.write(restorePaths(result.stdout, run));
  if (result.stderr) process.stderr.write(restorePaths(result.stderr, run));
  code = result.code;
} catch (e) {
  process.stderr.write(`web-run: ${e.message}\n`);
} finally {
  await browser.close();
  server.close();
}
process.exitCode = code;
