// Serves a folder on 127.0.0.1 and prints its address:
//
//   node web/serve.mjs FOLDER [PORT]       (PORT 0: a free port; default 8080, or a free one)
//
// Also used by the browser tests and the bench, which import serveFolder.
import { createReadStream, statSync } from "node:fs";
import { createServer } from "node:http";
import { extname, join, normalize, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const types = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".wasm": "application/wasm",
  ".css": "text/css; charset=utf-8",
  ".png": "image/png",
};

export function serveFolder(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    let file = normalize(join(root, path));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      if (statSync(file).isDirectory()) file = join(file, "index.html");
      statSync(file);
    } catch {
      response.writeHead(404).end("Not found");
      return;
    }
    response.writeHead(200, { "Content-Type": types[extname(file)] ?? "application/octet-stream" });
    createReadStream(file).pipe(response);
  });
  // A port in use gives way to a free one.
  return new Promise((done, fail) => {
    server.once("error", (error) => {
      if (error.code !== "EADDRINUSE" || port === 0) return fail(error);
      server.listen(0, "127.0.0.1", () => done(server));
    });
    server.listen(port, "127.0.0.1", () => done(server));
  });
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const [folder = "build-web", port = "8080"] = process.argv.slice(2);
  const server = await serveFolder(folder, Number(port));
  console.log(`Serving ${folder} at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
}
