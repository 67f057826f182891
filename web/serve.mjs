// Serves the site's folder on 127.0.0.1, as a school's web server would:
// static files with their types, under any sub-path.
// Usage: node serve.mjs SITE_DIR [--port N] [--base /sub/path/]
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, resolve, sep } from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8', '.css': 'text/css; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm', '.svg': 'image/svg+xml',
  '.woff2': 'font/woff2', '.txt': 'text/plain; charset=utf-8', '.json': 'application/json',
  '.webmanifest': 'application/manifest+json', '.png': 'image/png',
};

export function serve(root, { port = 8080, base = '/' } = {}) {
  const top = resolve(root);
  const server = createServer(async (request, response) => {
    try {
      // Any address: a malformed one, or one that climbs out of the folder, is simply not found.
      const path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
      let file = resolve(top, `.${sep}${path.slice(base.length)}`);
      if (!path.startsWith(base) || (file !== top && !file.startsWith(top + sep))) throw new Error('outside');
      if (path.endsWith('/')) file = join(file, 'index.html');
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                                'Cache-Control': 'no-cache' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const [root, ...options] = process.argv.slice(2);
  const option = (name, fallback) => { const at = options.indexOf(name); return at < 0 ? fallback : options[at + 1]; };
  const port = Number(option('--port', 8080));
  const base = option('--base', '/');
  await serve(root, { port, base });
  console.log(`Tavola: http://127.0.0.1:${port}${base}  (Ctrl+C to stop)`);
}
