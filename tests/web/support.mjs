// What the browser tests share: Debian's chromium driven by playwright-core (never a browser of
// its own), the page served from build-web/, iconwright-cli run for the same steps, and files
// made for the tests (PNG pictures, GAF files of every kind the reader takes).
import { execFileSync } from "node:child_process";
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { deflateSync } from "node:zlib";

export const root = resolve(dirname(fileURLToPath(import.meta.url)), "../..");
const require = createRequire(join(root, "web/package.json"));
const { chromium } = require("playwright-core");
const { serveFolder } = await import(join(root, "web/serve.mjs"));

export const pageFolder = join(root, process.env.IW_WEB_PAGE ?? "build-web");
export const cli = join(root, process.env.IW_CLI ?? "build/iconwright-cli");
export const chromiumBinary = process.env.IW_CHROMIUM ?? "/usr/bin/chromium";

export const launchFlags = [
  "--headless=new",
  "--no-sandbox",
  "--disable-gpu",
  "--disable-quic",
  "--no-first-run",
  "--disable-background-networking",
  "--disable-component-update",
  "--disable-sync",
];

// A fresh browser profile, the page served on 127.0.0.1, and a scratch folder; close() ends all.
export async function openBrowser() {
  const profile = mkdtempSync(join(tmpdir(), "iw-web-profile-"));
  const scratch = mkdtempSync(join(tmpdir(), "iw-web-files-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumBinary,
    headless: true,
    args: launchFlags,
    acceptDownloads: true,
  });
  const server = await serveFolder(pageFolder);
  const url = `http://127.0.0.1:${server.address().port}/`;
  return {
    context,
    url,
    scratch,
    async newPage(address = url) {
      const page = await context.newPage();
      await page.goto(address);
      await page.waitForSelector("body[data-ready=true]");
      return page;
    },
    async close() {
      await context.close();
      await new Promise((done) => server.close(done));
      rmSync(profile, { recursive: true, force: true });
      rmSync(scratch, { recursive: true, force: true });
    },
  };
}

// Runs iconwright-cli; gives its standard output, or throws with its standard error.
export function runCli(args) {
  return execFileSync(cli, args, { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] });
}

// The CLI's standard error for steps that must fail.
export function cliFailure(args) {
  try {
    execFileSync(cli, args, { stdio: ["ignore", "pipe", "pipe"] });
  } catch (error) {
    return String(error.stderr);
  }
  throw new Error(`iconwright-cli ${args.join(" ")} did not fail`);
}

// Clicks a button that opens the file dialog and answers it with path.
export async function chooseFile(page, selector, path) {
  const [chooser] = await Promise.all([page.waitForEvent("filechooser"), page.click(selector)]);
  await chooser.setFiles(path);
}

// Clicks a button that downloads a file; gives the file's suggested name and bytes.
export async function downloaded(page, selector) {
  const [download] = await Promise.all([page.waitForEvent("download"), page.click(selector)]);
  return { name: download.suggestedFilename(), bytes: readFileSync(await download.path()) };
}

// Drops a file from disk onto the element at selector, as a user dragging it from a file manager.
export async function dropFile(page, selector, path, name) {
  const bytes = [...readFileSync(path)];
  const transfer = await page.evaluateHandle(
    ({ bytes, name }) => {
      const data = new DataTransfer();
      data.items.add(new File([new Uint8Array(bytes)], name));
      return data;
    },
    { bytes, name },
  );
  await page.dispatchEvent(selector, "drop", { dataTransfer: transfer });
}

// The alert's message and reason, once it shows.
export async function alertText(page) {
  await page.waitForSelector("#alert:not([hidden])");
  const text = [await page.textContent("#alert-message"), await page.textContent("#alert-reason")];
  await page.click("#alert-close");
  return text;
}

// The entries of a zip file as an independent reader (Python's zipfile) sees them: name -> bytes.
export function zipEntries(bytes) {
  const file = join(mkdtempSync(join(tmpdir(), "iw-zip-")), "f.zip");
  writeFileSync(file, bytes);
  const listing = execFileSync("python3", [
    "-c",
    "import sys, zipfile, json, base64\n" +
      "z = zipfile.ZipFile(sys.argv[1])\n" +
      "assert z.testzip() is None\n" +
      "print(json.dumps({i.filename: base64.b64encode(z.read(i)).decode() for i in z.infolist()}))",
    file,
  ]);
  rmSync(dirname(file), { recursive: true, force: true });
  return Object.fromEntries(Object.entries(JSON.parse(listing)).map(([name, b64]) => [name, Buffer.from(b64, "base64")]));
}

// ---- Files for the tests --------------------------------------------------------------

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(bytes) {
  let crc = 0xffffffff;
  for (const b of bytes) crc = crcTable[(crc ^ b) & 0xff] ^ (crc >>> 8);
  return (crc ^ 0xffffffff) >>> 0;
}

// An 8-bit RGBA PNG file of width x height pixels, colour(x, y) -> [r, g, b, a].
export function encodePng(width, height, colour) {
  const raw = Buffer.alloc((width * 4 + 1) * height);
  for (let y = 0; y < height; y++) {
    for (let x = 0; x < width; x++) {
      const [r, g, b, a] = colour(x, y);
      raw.set([r, g, b, a], y * (width * 4 + 1) + 1 + x * 4);
    }
  }
  const chunk = (type, data) => {
    const body = Buffer.concat([Buffer.from(type, "ascii"), data]);
    const out = Buffer.alloc(12 + data.length);
    out.writeUInt32BE(data.length, 0);
    body.copy(out, 4);
    out.writeUInt32BE(crc32(body), 8 + data.length);
    return out;
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 6, 0, 0, 0], 8);
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk("IHDR", header),
    chunk("IDAT", deflateSync(raw)),
    chunk("IEND", Buffer.alloc(0)),
  ]);
}

// A shaded ball with a soft edge on a transparent ground, lit from the top left, with a band
// across it: smooth shading to dither, partial alpha to composite, empty edges to trim.
export function testPicture(x, y, width, height) {
  const cx = width / 2, cy = height / 2, r = Math.min(width, height) * 0.45;
  const nx = (x + 0.5 - cx) / r, ny = (y + 0.5 - cy) / r;
  const d = Math.hypot(nx, ny);
  if (d >= 1) return [0, 0, 0, 0];
  const nz = Math.sqrt(1 - d * d);
  const light = Math.max(0, (-nx - ny + nz) / Math.sqrt(3));
  const band = Math.abs(ny - 0.15) < 0.12;
  const base = band ? [200, 170, 40] : [60, 120, 170];
  const shade = (c) => Math.min(255, Math.round(c * (0.25 + 0.95 * light) + 40 * light ** 8));
  return [shade(base[0]), shade(base[1]), shade(base[2]), Math.min(255, Math.round((1 - d) * r * 255 / 2))];
}

// GAF files as the game's tools write them: entries of raw or run-length frames, and frames drawn
// from layers.
function put16(out, value) {
  out.push(value & 0xff, (value >> 8) & 0xff);
}
function put32(out, value) {
  out.push(value & 0xff, (value >>> 8) & 0xff, (value >>> 16) & 0xff, (value >>> 24) & 0xff);
}
function set32(out, at, value) {
  out[at] = value & 0xff;
  out[at + 1] = (value >>> 8) & 0xff;
  out[at + 2] = (value >>> 16) & 0xff;
  out[at + 3] = (value >>> 24) & 0xff;
}

// Run-length rows: transparent pixels skipped, runs of 3 or more repeated, the rest copied.
export function encodeRows(pixels, width, height, transparency) {
  const out = [];
  for (let y = 0; y < height; y++) {
    const px = pixels.slice(y * width, (y + 1) * width);
    let end = width;
    while (end > 0 && px[end - 1] === transparency) end--;
    const packets = [];
    for (let x = 0; x < end; ) {
      let n = 1;
      if (px[x] === transparency) {
        while (n < 127 && x + n < end && px[x + n] === transparency) n++;
        packets.push((n << 1) | 1);
      } else {
        while (n < 64 && x + n < end && px[x + n] === px[x]) n++;
        if (n >= 3) {
          packets.push(((n - 1) << 2) | 2, px[x]);
        } else {
          n = 1;
          while (n < 64 && x + n < end && px[x + n] !== transparency && !(x + n + 2 < end && px[x + n] === px[x + n + 1] && px[x + n] === px[x + n + 2])) n++;
          packets.push((n - 1) << 2, ...px.slice(x, x + n));
        }
      }
      x += n;
    }
    put16(out, packets.length);
    out.push(...packets);
  }
  return out;
}

function putFrame(out, frame) {
  const header = out.length;
  put16(out, frame.width);
  put16(out, frame.height);
  put16(out, frame.x & 0xffff);
  put16(out, frame.y & 0xffff);
  out.push(frame.transparency, frame.compression);
  put16(out, frame.layers?.length ?? 0);
  put32(out, 0);
  put32(out, header + 24);
  put32(out, 0);
  if (!frame.layers?.length) {
    out.push(...frame.data);
    return header;
  }
  const table = out.length;
  for (const _ of frame.layers) put32(out, 0);
  frame.layers.forEach((layer, i) => set32(out, table + 4 * i, putFrame(out, layer)));
  return header;
}

export function buildGaf(entries) {
  const out = [];
  put32(out, 0x00010100);
  put32(out, entries.length);
  put32(out, 0);
  for (const _ of entries) put32(out, 0);
  const tables = [];
  entries.forEach((entry, e) => {
    set32(out, 12 + 4 * e, out.length);
    put16(out, entry.frames.length);
    put16(out, 1);
    put32(out, 0);
    const name = Buffer.alloc(32);
    name.write(entry.name, "latin1");
    out.push(...name);
    tables.push(out.length);
    for (const _ of entry.frames) put32(out, 0), put32(out, 0);
  });
  entries.forEach((entry, e) => entry.frames.forEach((frame, k) => set32(out, tables[e] + 8 * k, putFrame(out, frame))));
  return Buffer.from(out);
}

export function raw(width, height, pixels, x = 0, y = 0, transparency = 9) {
  return { width, height, x, y, transparency, compression: 0, data: pixels };
}
export function compressed(width, height, pixels, x = 0, y = 0, transparency = 9) {
  return { width, height, x, y, transparency, compression: 1, data: encodeRows(pixels, width, height, transparency) };
}
export function pattern(width, height, transparency) {
  return Array.from({ length: width * height }, (_, k) => (Math.floor(k / 3) + Math.floor(k / width)) % 4 === 0 ? transparency : (k * 29 / 7) & 0xff);
}
