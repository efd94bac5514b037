// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A static file server as plain as the ones the README suggests (Python's
// http.server): files by path with a content type, Last-Modified and 304s,
// nothing else. It serves one folder below a sub-path of its own, so that a
// page that asks for anything by an absolute URL gets a 404. The folder can
// be swapped while it runs, as a host does when a new version is published,
// and the network to it cut: every engine then sees a request fail as it
// does when the network is gone, and the test still sees what was asked.
//
//   node server.mjs FOLDER [PREFIX]     serves FOLDER until killed

import { createServer } from 'node:http';
import { createReadStream, statSync } from 'node:fs';
import { extname, join, normalize, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.ico': 'image/vnd.microsoft.icon',
  '.wav': 'audio/wav',
  '.txt': 'text/plain; charset=utf-8',
};

export const defaultPrefix = '/sub/lukimo/';

// Starts a server on a free port of 127.0.0.1. Returns { url, origin, setRoot,
// setOffline, requests, close }: url is the page's folder, requests the path
// and status of every request so far (0: cut off).
export async function startServer(root, prefix = defaultPrefix) {
  let folder = root;
  let offline = false;
  const requests = [];
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    if (offline) {
      requests.push({ path, status: 0 });
      request.socket.destroy();
      return;
    }
    const writeHead = response.writeHead.bind(response);
    response.writeHead = (status, ...rest) => {
      requests.push({ path, status });
      return writeHead(status, ...rest);
    };
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      response.writeHead(405).end();
      return;
    }
    if (path === prefix.slice(0, -1)) {
      response.writeHead(301, { Location: prefix }).end();
      return;
    }
    if (!path.startsWith(prefix)) {
      response.writeHead(404).end();
      return;
    }
    let file = normalize(join(folder, path.slice(prefix.length)));
    if (file !== folder && !file.startsWith(folder + sep)) {
      response.writeHead(404).end();
      return;
    }
    let stat;
    try {
      stat = statSync(file);
      if (stat.isDirectory()) {
        file = join(file, 'index.html');
        stat = statSync(file);
      }
    } catch {
      response.writeHead(404).end();
      return;
    }
    const modified = new Date(Math.floor(stat.mtimeMs / 1000) * 1000);
    const since = Date.parse(request.headers['if-modified-since'] ?? '');
    if (!Number.isNaN(since) && modified.getTime() <= since) {
      response.writeHead(304).end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': types[extname(file)] ?? 'application/octet-stream',
      'Content-Length': stat.size,
      'Last-Modified': modified.toUTCString(),
    });
    if (request.method === 'HEAD')
      response.end();
    else
      createReadStream(file).pipe(response);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {
    origin,
    url: origin + prefix,
    requests,
    setRoot(next) { folder = normalize(next); },
    setOffline(cut) { offline = cut; },
    close: () => new Promise((resolve) => {
      server.closeAllConnections();
      server.close(resolve);
    }),
  };
}

if (process.argv[1] && import.meta.url === pathToFileURL(process.argv[1]).href) {
  const served = await startServer(normalize(process.argv[2] ?? '.'), process.argv[3]);
  console.log(served.url);
}
