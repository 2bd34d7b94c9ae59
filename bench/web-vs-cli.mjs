// The web page's speed and size beside the native CLI's, in one run (bench/web-vs-cli.sh):
// - how soon the page is ready to use after it starts loading from a local server;
// - the whole job (import a 1024 x 1024 RGBA PNG with dithering, generate the other two pictures,
//   write the GAF file) in the page, and the same steps in iconwright-cli;
// - the gzipped wasm and script together.
import { execFileSync } from "node:child_process";
import { readFileSync, statSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";

import { encodePng, openBrowser, pageFolder, cli, testPicture } from "../tests/web/support.mjs";

const runs = Number(process.env.IW_BENCH_RUNS ?? 7);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

const browser = await openBrowser();
try {
  const png = join(browser.scratch, "big.png");
  writeFileSync(png, encodePng(1024, 1024, (x, y) => testPicture(x, y, 1024, 1024)));
  const gafOut = join(browser.scratch, "cli.gaf");

  // Ready: from the start of the navigation to the page's "ready" mark (the first load has an
  // empty cache, as a first visit).
  const ready = [];
  for (let k = 0; k < runs; k++) {
    const page = await browser.newPage();
    ready.push(await page.evaluate(() => performance.getEntriesByName("iconwright-ready")[0].startTime));
    if (k === 0 && process.env.IW_BENCH_DETAIL) {
      console.log(await page.evaluate(() => performance.getEntriesByType("resource").map((r) => `${r.name.split("/").pop()} start ${r.startTime.toFixed(0)} end ${r.responseEnd.toFixed(0)}`).join("\n") + `\ndomContentLoaded ${performance.getEntriesByType("navigation")[0].domContentLoadedEventEnd.toFixed(0)}`));
    }
    await page.close();
  }

  // The whole job in the page, timed inside the page around the core's calls; the file is put
  // into the page's files once, before.
  const page = await browser.newPage();
  await page.evaluate((base64) => {
    const bytes = Uint8Array.from(atob(base64), (c) => c.charCodeAt(0));
    globalThis.benchPath = globalThis.iconwright.files.put("big.png", bytes);
  }, readFileSync(png).toString("base64"));
  const inPage = [];
  for (let k = 0; k < runs; k++) {
    inPage.push(
      await page.evaluate(() => {
        const { core, files } = globalThis.iconwright;
        const options = { fit: "contain", trim: "off", background: "#000000", backgroundFile: "", match: "rgb", dither: "floyd-steinberg", avoid: "none", strict: "off" };
        const path = globalThis.benchPath;
        core.setName("bench");
        const folder = files.outFolder();
        const start = performance.now();
        const imported = core.importPicture(0, path, options);
        const generated = core.generateFromBasis(path, "import", options);
        const written = core.writeGaf(`${folder}/bench_GADGET.GAF`);
        const time = performance.now() - start;
        if (!imported.ok || !generated.ok || !written.ok) throw new Error("the job failed in the page");
        files.remove(folder);
        return time;
      }),
    );
  }
  await page.close();

  // The same steps in iconwright-cli, timed as a whole process (start-up included).
  const native = [];
  const steps = ["--unit", "bench", "--dither", "floyd-steinberg", "--import", "normal", png, "--auto-import", png, "--write-gaf", gafOut];
  for (let k = 0; k < runs; k++) {
    const start = process.hrtime.bigint();
    execFileSync(cli, steps, { stdio: "ignore" });
    native.push(Number(process.hrtime.bigint() - start) / 1e6);
  }

  // The process alone (start-up, no work), to tell the job's own time from the start-up's.
  const startup = [];
  for (let k = 0; k < runs; k++) {
    const start = process.hrtime.bigint();
    execFileSync(cli, ["--unit", "bench"], { stdio: "ignore" });
    startup.push(Number(process.hrtime.bigint() - start) / 1e6);
  }

  const gz = (name) => gzipSync(readFileSync(join(pageFolder, name)), { level: 9 }).length;
  const kb = (n) => `${(n / 1024).toFixed(1)} KiB`;
  console.log(`runs: ${runs} (medians)`);
  console.log(`page ready after load (local server): first ${ms(ready[0])}, median ${ms(median(ready))}   goal <= 400 ms`);
  const job = median(native) - median(startup);
  console.log(`whole job in the page: ${ms(median(inPage))}; iconwright-cli: ${ms(median(native))} as a process, ${ms(median(startup))} of it start-up, so ${ms(job)} in-process`);
  console.log(`in-page / native in-process: ${(median(inPage) / job).toFixed(2)}   goal <= 2`);
  console.log(`iconwright.wasm ${kb(statSync(join(pageFolder, "iconwright.wasm")).size)} (${kb(gz("iconwright.wasm"))} gzipped), app.js ${kb(statSync(join(pageFolder, "app.js")).size)} (${kb(gz("app.js"))} gzipped), index.html ${kb(gz("index.html"))} gzipped`);
  console.log(`wasm and script gzipped together: ${kb(gz("iconwright.wasm") + gz("app.js"))}   goal <= 600 KiB`);
  console.log(`single-file page: ${kb(statSync(join(pageFolder, "iconwright-single.html")).size)} (${kb(gz("iconwright-single.html"))} gzipped)`);
} finally {
  await browser.close();
}
