// A static file server for the page, on localhost only. As a program:
//   node platform/web/serve.mjs PAGE_DIR [PORT]
// Also used by the headless runner, which adds routes for the files it hands in and takes back.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import zlib from 'node:zlib';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.wasm': 'application/wasm', '.wav': 'audio/wav', '.bmp': 'image/bmp', '.css': 'text/css',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.png': 'image/png',
};

// `extra(req, res)` may answer a request first (returning true).
export function serve(root, port, extra = () => false) {
  const server = http.createServer((req, res) => {
    if (extra(req, res)) return;
    const url = new URL(req.url, 'http://localhost');
    const file = path.join(root, path.normalize(decodeURIComponent(url.pathname)).replace(/^(\.\.[/\\])+/, ''));
    const target = file.endsWith(path.sep) ? path.join(file, 'index.html') : file;
    if (!target.startsWith(path.resolve(root))) {
      res.writeHead(403).end();
      return;
    }
    fs.stat(target, (err, st) => {
      if (err || !st.isFile()) {
        res.writeHead(404).end('not found');
        return;
      }
      const headers = {
        'Content-Type': TYPES[path.extname(target)] || 'application/octet-stream',
        'Cache-Control': 'no-cache',
        'Vary': 'Accept-Encoding',
        'Last-Modified': st.mtime.toUTCString(),
      };
      // A file the browser holds already is not sent again (the service worker's copy of the
      // page costs a few hundred bytes of answers).
      const since = Date.parse(req.headers['if-modified-since'] || '');
      if (since >= Math.floor(st.mtimeMs / 1000) * 1000) {
        res.writeHead(304, headers).end();
        return;
      }
      // Compressed for a browser that takes gzip: the page's files shrink to about a third.
      if (/\bgzip\b/.test(req.headers['accept-encoding'] || '') && st.size > 512) {
        res.writeHead(200, {...headers, 'Content-Encoding': 'gzip'});
        fs.createReadStream(target).pipe(zlib.createGzip({level: 9})).pipe(res);
        return;
      }
      res.writeHead(200, {...headers, 'Content-Length': st.size});
      fs.createReadStream(target).pipe(res);
    });
  });
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const root = path.resolve(process.argv[2] || 'build-web');
  const port = Number(process.argv[3] || 8080);
  await serve(root, port);
  console.log(`Zorvex is served at http://localhost:${port}/ (Ctrl+C stops)`);
}
