// SPDX-FileCopyrightText: 2026 The Lukimo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A static file server as plain as the ones the README suggests (Python's
// http.server): files by path with a content type, Last-Modified and 304s,
// nothing else. It serves one folder below a sub-path of its own, so that a
// page that asks for anything by an absolute URL gets a 404. The folder can
// be swapped while it runs, as a host does when a new version is published,
// and the network to it made hostile: cut (every engine then sees a request
// fail as it does when the network is gone, and the test still sees what
// was asked), held back (requests wait, unanswered, until released), a
// file cut off mid-way, a slow line. It can also validate as nginx does (an
// ETag made of the file's date and size) and compress as a static host
// does.
//
//   node server.mjs FOLDER [PREFIX]     serves FOLDER until killed

import { createServer } from 'node:http';
import { readFileSync, statSync } from 'node:fs';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
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

// Text the browser may be sent compressed, as static hosts do.
const compressible = /^(text\/|application\/(wasm|json|manifest\+json|octet-stream))/;

// Starts a server on a free port of 127.0.0.1. Returns { url, origin, setRoot,
// setOffline, hold, release, cutOff, setLine, mirror, requests, close }: url is the
// page's folder, requests the path, query, status and time of every request
// so far (status 0: cut off; 'held' until answered). options: { etag: true }
// validates by an nginx ETag too, { compress: true } sends brotli or gzip.
export async function startServer(root, prefix = defaultPrefix, options = {}) {
  let folder = root;
  let offline = false;
  // Paths whose requests wait, and the answers waiting.
  let holding = null;
  let held = [];
  // Paths whose body stops half-way, the connection then closed.
  let cutting = null;
  // A slow line: bytes per second, which all answers share, and a delay
  // before each answer; lineFree is when the line has sent what it was
  // given.
  let line = null;
  let lineFree = 0;
  const compressed = new Map();
  // Sub-folders that serve the same folder again, as a second copy.
  const mirrors = [];
  const requests = [];
  const answer = async (request, response, path, entry) => {
    const writeHead = response.writeHead.bind(response);
    response.writeHead = (status, ...rest) => {
      entry.status = status;
      return writeHead(status, ...rest);
    };
    if (line?.latencyMs)
      await new Promise((done) => setTimeout(done, line.latencyMs));
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
    const within = path.slice(prefix.length);
    const mirrored = mirrors.find((name) => within.startsWith(`${name}/`));
    let file = normalize(join(folder, mirrored ? within.slice(mirrored.length + 1) : within));
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
    // nginx: the seconds of the date and the size, in hex.
    const etag = `"${Math.floor(stat.mtimeMs / 1000).toString(16)}-${stat.size.toString(16)}"`;
    const since = Date.parse(request.headers['if-modified-since'] ?? '');
    const match = request.headers['if-none-match'];
    if ((options.etag && match !== undefined) ? match === etag : !Number.isNaN(since) && modified.getTime() <= since) {
      response.writeHead(304).end();
      return;
    }
    const type = types[extname(file)] ?? 'application/octet-stream';
    let body = readFileSync(file);
    const headers = { 'Content-Type': type, 'Last-Modified': modified.toUTCString() };
    if (options.etag)
      headers.ETag = etag;
    const accepted = request.headers['accept-encoding'] ?? '';
    const encoding = options.compress && compressible.test(type) &&
      (/\bbr\b/.test(accepted) ? 'br' : /\bgzip\b/.test(accepted) ? 'gzip' : null);
    if (encoding) {
      const key = `${encoding} ${file} ${stat.mtimeMs} ${stat.size}`;
      if (!compressed.has(key)) {
        compressed.set(key, encoding === 'br'
          ? brotliCompressSync(body, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } })
          : gzipSync(body, { level: 9 }));
      }
      body = compressed.get(key);
      Object.assign(headers, { 'Content-Encoding': encoding, Vary: 'Accept-Encoding' });
      entry.encoding = encoding;
    }
    headers['Content-Length'] = body.length;
    response.writeHead(200, headers);
    if (request.method === 'HEAD') {
      response.end();
      return;
    }
    if (cutting?.(path)) {
      response.write(body.subarray(0, Math.floor(body.length / 2)), () => request.socket.destroy());
      return;
    }
    if (!line) {
      response.end(body);
      return;
    }
    // The line's speed, in slices of a fiftieth of a second, each sent
    // when the line is free.
    const slice = Math.max(1, Math.floor(line.bytesPerSecond / 50));
    for (let at = 0; at < body.length && !response.destroyed; at += slice) {
      const part = body.subarray(at, at + slice);
      const now = Date.now();
      lineFree = Math.max(lineFree, now) + (part.length / line.bytesPerSecond) * 1000;
      await new Promise((done) => setTimeout(done, lineFree - now));
      response.write(part);
    }
    response.end();
  };
  const server = createServer((request, response) => {
    const url = new URL(request.url, 'http://host');
    const path = decodeURIComponent(url.pathname);
    const entry = { path, query: url.search, status: 0, at: Date.now() };
    requests.push(entry);
    if (offline) {
      request.socket.destroy();
      return;
    }
    if (holding?.(path)) {
      entry.status = 'held';
      held.push(() => answer(request, response, path, entry));
      return;
    }
    answer(request, response, path, entry).catch(() => request.socket.destroy());
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const origin = `http://127.0.0.1:${server.address().port}`;
  return {
    origin,
    url: origin + prefix,
    requests,
    setRoot(next) { folder = normalize(next); },
    setOffline(cut) { offline = cut; },
    // Holds back every request whose path passes the test (all: true).
    hold(which) { holding = which === true ? () => true : which; },
    // Stops holding and answers what was held.
    release() {
      holding = null;
      const waiting = held;
      held = [];
      waiting.forEach((go) => go().catch(() => {}));
    },
    // Cuts off the body of every file whose path passes the test.
    cutOff(which) { cutting = which; },
    // Serves the folder also as the sub-folder name of its own.
    mirror(name) { mirrors.push(name); },
    // { bytesPerSecond, latencyMs }, or null for no limit.
    setLine(limits) { line = limits; },
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
