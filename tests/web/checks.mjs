// What the page checks share: one line a check, kept for the exit status, waiting until the
// page says something is so, and the page served with its run's trace kept.
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const web = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../platform/web');
export const {launch} = await import(`${web}/cdp.mjs`);
const {serve} = await import(`${web}/serve.mjs`);

export const failures = [];

export function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Whether `expression` became true in the page within `ms`.
export async function until(page, expression, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(50)) {
    if (await page.evaluate(expression)) return true;
  }
  return false;
}

// Serves the built page in `pageDir` on a free port. A driven run given `--trace /out/0` puts its
// trace back here, where trace() gives it (null before).
export async function servePage(pageDir) {
  let trace = null;
  const server = await serve(path.resolve(pageDir), 0, (req, res) => {
    if (req.url !== '/run/out/0' || req.method !== 'PUT') return false;
    const parts = [];
    req.on('data', (d) => parts.push(d));
    req.on('end', () => {
      trace = Buffer.concat(parts).toString('utf8');
      res.writeHead(200).end();
    });
    return true;
  });
  const base = `http://127.0.0.1:${server.address().port}/index.html`;
  return {server, base, trace: () => trace};
}
