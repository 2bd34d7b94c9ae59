// The web page in Debian's chromium: every road a user takes, each file it offers for download
// compared byte for byte with what iconwright-cli writes for the same steps.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readdirSync, readFileSync, statSync, writeFileSync } from "node:fs";
import { join, relative } from "node:path";
import { after, before, test } from "node:test";
import { pathToFileURL } from "node:url";

import {
  alertText,
  buildGaf,
  chooseFile,
  cliFailure,
  compressed,
  downloaded,
  dropFile,
  encodePng,
  openBrowser,
  pageFolder,
  pattern,
  raw,
  root,
  runCli,
  testPicture,
  zipEntries,
} from "./support.mjs";

let browser;
let files; // name -> path of the test's input files

before(async () => {
  browser = await openBrowser();
  const at = (name) => join(browser.scratch, name);
  files = {
    png: at("render.png"),
    smallPng: at("small.png"),
    bmp: at("armcamp.bmp"),
    pcx: at("armcamp.pcx"),
    jpeg: at("photo.jpg"),
    wide: at("wide.bmp"),
    truncated: at("cut.bmp"),
    gif: at("anim.gif"),
    gaf: at("entries.gaf"),
  };
  writeFileSync(files.png, encodePng(150, 110, (x, y) => testPicture(x, y, 150, 110)));
  writeFileSync(files.smallPng, encodePng(40, 60, (x, y) => testPicture(y, x, 60, 40)));
  // A 96 x 96, 256-colour BMP and PCX of a varied picture, made by the CLI from the PNG.
  runCli(["--fit", "cover", "--import", "normal", files.png, "--save-bmp", "normal", files.bmp, "--save-pcx", "normal", files.pcx]);
  runCli(["--import", "normal", files.png, "--preview", "normal", files.wide]); // 64 x 64: the wrong size
  writeFileSync(files.truncated, readFileSync(files.bmp).subarray(0, 500));
  writeFileSync(files.gif, Buffer.from("GIF89a\x01\x00\x01\x00\x00\x00\x00;", "latin1"));
  execFileSync("/usr/bin/convert", [files.smallPng, "-background", "#336699", "-flatten", "-quality", "90", files.jpeg]);
  // Three entries: a build-menu picture (raw), run-length frames, and a frame drawn from layers.
  const layered = raw(32, 24, [], 16, 12, 0);
  layered.layers = [compressed(20, 20, pattern(20, 20, 9), 10, 10), raw(8, 8, pattern(8, 8, 9), -4, 30)];
  writeFileSync(
    files.gaf,
    buildGaf([
      { name: "ARMCAMP", frames: [raw(64, 64, pattern(64, 64, 200))] },
      { name: "FX", frames: [compressed(40, 30, pattern(40, 30, 9), 3, -2), compressed(127, 2, pattern(127, 2, 5), 0, 0, 5)] },
      { name: "LAYERS", frames: [layered] },
    ]),
  );
});

after(async () => {
  await browser?.close();
});

// The GAF file iconwright-cli writes after steps.
function cliGaf(steps) {
  const out = join(browser.scratch, `cli-${Math.random().toString(36).slice(2)}.gaf`);
  runCli([...steps, "--write-gaf", out]);
  return readFileSync(out);
}

async function setUnitName(page, name) {
  await page.fill("#unit-name", name);
}

test("classic road: Load BMP, border, basis for the other two, GAF download equal to the CLI's", async () => {
  const page = await browser.newPage();
  await chooseFile(page, "#picture-0 [data-command=load-bmp]", files.bmp);
  await page.waitForSelector("#status:has-text('Loaded armcamp.bmp')");
  await page.click("#picture-0 [data-command=border]");
  await page.click("#picture-0 [data-command=basis]");
  await page.waitForSelector("#status:has-text('Completed')");
  await setUnitName(page, "armcamp");
  const gaf = await downloaded(page, "#download-gaf");
  assert.equal(gaf.name, "armcamp_GADGET.GAF");
  assert.equal(gaf.bytes.length, 12440);
  const expected = cliGaf(["--unit", "armcamp", "--load-bmp", "normal", files.bmp, "--border", "normal", "--auto", files.bmp]);
  assert.deepEqual(gaf.bytes, expected);
  await page.screenshot({ path: join(root, "build", "web-classic-road.png"), fullPage: true });

  // The same road from a PCX file, and the three pictures saved in each format.
  await chooseFile(page, "#picture-2 [data-command=load-pcx]", files.pcx);
  const saved = {};
  for (const format of ["bmp", "pcx", "png"]) {
    await page.selectOption("#picture-2 [data-command=save-format]", format);
    saved[format] = await downloaded(page, "#picture-2 [data-command=save]");
  }
  const cliOut = (ext) => join(browser.scratch, `slot.${ext}`);
  runCli(["--load-pcx", "disabled", files.pcx, "--save-bmp", "disabled", cliOut("bmp"), "--save-pcx", "disabled", cliOut("pcx"), "--save-png", "disabled", cliOut("png")]);
  for (const format of ["bmp", "pcx", "png"]) {
    assert.equal(saved[format].name, `disabled.${format}`);
    assert.deepEqual(saved[format].bytes, readFileSync(cliOut(format)), format);
  }
  await page.close();
});

test("import with every option: live report, remembered options, GAF equal to the CLI's", async () => {
  const page = await browser.newPage();
  await chooseFile(page, "#picture-0 [data-command=import]", files.png);
  await page.waitForSelector("#import-dialog[open]");
  await page.selectOption("#opt-fit", "cover");
  await page.check("#opt-trim");
  await page.fill("#opt-background", "#202830");
  await page.selectOption("#opt-match", "perceptual");
  await page.selectOption("#opt-dither", "floyd-steinberg");
  await page.fill("#opt-avoid", "0,240-255");
  const options = ["--fit", "cover", "--trim", "on", "--background", "#202830", "--match", "perceptual", "--dither", "floyd-steinberg", "--avoid", "0,240-255"];
  // The live preview's report is the one the CLI prints for the same import.
  const cliReport = runCli([...options, "--import", "normal", files.png]).trim();
  assert.equal(`--import normal ${files.png}: ${await page.textContent("#import-report")}`, cliReport);

  // An avoid list that is no list: the core's reason, and no import.
  await page.fill("#opt-avoid", "0,300");
  assert.match(await page.textContent("#import-error"), /"300" is not an index 0 to 255/);
  assert.equal(await page.isDisabled("#import-ok"), true);
  await page.fill("#opt-avoid", "0,240-255");
  await page.click("#import-ok");
  await page.waitForSelector("#status:has-text('Imported render.png')");

  // "Use this image as the basis for the other two" imports the file again with the same options.
  await page.click("#picture-0 [data-command=basis]");
  await setUnitName(page, "corkrog");
  const gaf = await downloaded(page, "#download-gaf");
  assert.deepEqual(gaf.bytes, cliGaf(["--unit", "corkrog", ...options, "--import", "normal", files.png, "--auto-import", files.png]));

  // A picture dropped onto a picture opens the import for that picture; Escape leaves it.
  await dropFile(page, "#picture-2", files.png, "render.png");
  await page.waitForSelector("#import-dialog[open]");
  assert.equal(await page.textContent("#import-title"), "Import picture into the disabled picture");
  await page.keyboard.press("Escape");
  await page.waitForSelector("#import-dialog", { state: "hidden" });
  assert.deepEqual((await downloaded(page, "#download-gaf")).bytes, gaf.bytes);

  // The options are remembered in this browser for the next visit.
  const again = await browser.newPage();
  await chooseFile(again, "#picture-1 [data-command=import]", files.jpeg);
  await again.waitForSelector("#import-dialog[open]");
  assert.equal(await again.inputValue("#opt-fit"), "cover");
  assert.equal(await again.inputValue("#opt-dither"), "floyd-steinberg");
  assert.equal(await again.inputValue("#opt-avoid"), "0,240-255");
  assert.equal(await again.isChecked("#opt-trim"), true);
  // A JPEG file imports as the CLI imports it.
  await again.click("#import-ok");
  await setUnitName(again, "jpeg");
  const jpegGaf = await downloaded(again, "#download-gaf");
  assert.deepEqual(jpegGaf.bytes, cliGaf(["--unit", "jpeg", ...options, "--import", "highlighted", files.jpeg]));
  await again.close();
  await page.close();
});

test("effects with undo and redo, by buttons and by keys", async () => {
  const page = await browser.newPage();
  await chooseFile(page, "#picture-1 [data-command=load-bmp]", files.bmp);
  await page.fill("#picture-1 [data-command=cross-size]", "3.5");
  await page.click("#picture-1 [data-command=cross]");
  await page.click("#picture-1 [data-command=light]");
  assert.equal(await page.isDisabled("#picture-1 [data-command=light]"), true, "light is once per picture");
  await page.click("#picture-2 [data-command=grid]");
  await page.click("#picture-2 [data-command=grey]");
  await page.click("#picture-0 [data-command=border]");
  await setUnitName(page, "fx");
  const all = ["--unit", "fx", "--load-bmp", "highlighted", files.bmp, "--cross", "highlighted", "3.5", "--lighter", "highlighted", "--grid", "disabled", "--grey", "disabled"];
  assert.deepEqual((await downloaded(page, "#download-gaf")).bytes, cliGaf([...all, "--border", "normal"]));

  // Undo twice (the border, the grey), by key and by button; grey may be used again.
  await page.evaluate(() => document.activeElement?.blur());
  await page.keyboard.press("Control+z");
  await page.click("#undo");
  assert.equal(await page.isDisabled("#picture-2 [data-command=grey]"), false);
  assert.deepEqual((await downloaded(page, "#download-gaf")).bytes, cliGaf(all.slice(0, -2)));
  // Redo both, by each of the two keys.
  await page.evaluate(() => document.activeElement?.blur());
  await page.keyboard.press("Control+Shift+Z");
  await page.keyboard.press("Control+y");
  assert.deepEqual((await downloaded(page, "#download-gaf")).bytes, cliGaf([...all, "--border", "normal"]));
  assert.equal(await page.isDisabled("#redo"), true);

  // A cross size that is no number: the core's message, and nothing to undo.
  await page.fill("#picture-0 [data-command=cross-size]", "big");
  await page.click("#picture-0 [data-command=cross]");
  assert.deepEqual(await alertText(page), ["You must enter a number !", ""]);
  await page.close();
});

test("unit zip, made offline: anims/<name>_GADGET.GAF and unitpics/<NAME>.PCX as --export-unit writes them", async () => {
  const page = await browser.newPage();
  // Once loaded, the page needs no network.
  await browser.context.setOffline(true);
  await chooseFile(page, "#picture-0 [data-command=load-bmp]", files.bmp);
  await page.click("#picture-0 [data-command=basis]");
  await setUnitName(page, "Armcamp");
  const zip = await downloaded(page, "#download-unit");
  assert.equal(zip.name, "Armcamp.zip");
  const entries = zipEntries(zip.bytes);
  const mod = join(browser.scratch, "mod");
  runCli(["--unit", "Armcamp", "--load-bmp", "normal", files.bmp, "--auto", files.bmp, "--export-unit", mod]);
  assert.deepEqual(Object.keys(entries), ["anims/Armcamp_GADGET.GAF", "unitpics/ARMCAMP.PCX"]);
  for (const [name, bytes] of Object.entries(entries)) assert.deepEqual(bytes, readFileSync(join(mod, name)), name);
  await browser.context.setOffline(false);
  await page.close();
});

test("the GAF viewer: entries, frames and fields; every frame as --gaf-extract writes it", async () => {
  const page = await browser.newPage();
  await dropFile(page, "body", files.gaf, "entries.gaf");
  await page.waitForSelector("#viewer:not([hidden])");
  assert.deepEqual(await page.$$eval("#viewer-entries option", (o) => o.map((x) => x.textContent)), ["ARMCAMP (1)", "FX (2)", "LAYERS (1)"]);
  await page.selectOption("#viewer-entries", "1");
  assert.deepEqual(await page.$$eval("#viewer-frames option", (o) => o.map((x) => x.textContent)), ["Frame 0 (40 x 30)", "Frame 1 (127 x 2)"]);
  const fields = async () => Object.fromEntries(await page.$$eval("#viewer-fields tr", (rows) => rows.map((r) => [r.cells[0].textContent, r.cells[1].textContent])));
  assert.equal((await fields()).Compression, "1 (run-length rows)");
  assert.equal((await fields()).Y, "-2");
  await page.selectOption("#viewer-entries", "2");
  assert.equal((await fields()).Layers, "2");
  await page.check("input[name=viewer-zoom][value='2']");
  assert.equal(await page.$eval("#viewer-canvas", (c) => c.style.width), "64px");
  await page.screenshot({ path: join(root, "build", "web-viewer.png"), fullPage: true });

  const zip = await downloaded(page, "#viewer-extract");
  assert.equal(zip.name, "entries-frames.zip");
  const dir = join(browser.scratch, "frames");
  runCli(["--gaf-extract", files.gaf, dir]);
  const walk = (d) => readdirSync(d).flatMap((n) => (statSync(join(d, n)).isDirectory() ? walk(join(d, n)) : [join(d, n)]));
  const expected = Object.fromEntries(walk(dir).map((p) => [relative(dir, p), readFileSync(p)]));
  assert.deepEqual(zipEntries(zip.bytes), expected);
  await page.close();
});

test("refused files and names: the core's message and reason", async () => {
  const page = await browser.newPage();
  // Each reason is the CLI's for the same file, but for the name of the import command.
  const cases = [
    ["load-bmp", files.png, "render.png is a PNG picture. Use Import picture... to bring it in."],
    ["load-bmp", files.wide, "wide.bmp is 64 x 64 pixels; pictures must be 96 x 96 (Import picture can fit it)."],
    ["load-bmp", files.gif, "anim.gif is a GIF picture, which Iconwright cannot read. Save it as PNG, BMP or PCX in your drawing program."],
    ["load-pcx", files.gif, "anim.gif is not a picture file Iconwright knows (BMP, PCX, PNG or JPEG)."],
    ["load-bmp", files.truncated, undefined],
  ];
  for (const [command, file, reason] of cases) {
    await chooseFile(page, `#picture-0 [data-command=${command}]`, file);
    const [shownMessage, shownReason] = await alertText(page);
    assert.equal(shownMessage, "The background image must be a 96x96, 256 color bitmap");
    if (reason) assert.equal(shownReason, reason);
    const inCliWords = shownReason.replace("Import picture...", "--import").replace("Import picture can", "--import can");
    assert.ok(cliFailure([`--${command}`, "normal", file]).includes(`${shownMessage}. ${inCliWords}`), shownReason);
  }

  // A file the import cannot read.
  await chooseFile(page, "#picture-0 [data-command=import]", files.gif);
  await page.waitForSelector("#import-dialog[open]");
  assert.match(await page.textContent("#import-error"), /^The picture could not be imported\. anim\.gif: a GIF picture/);
  await page.click("#import-cancel");

  // GAF files that are none, or cut short: the reader's reason, which the CLI gives too.
  const cutGaf = join(browser.scratch, "cut.gaf");
  writeFileSync(cutGaf, readFileSync(files.gaf).subarray(0, 100));
  for (const file of [files.bmp, cutGaf]) {
    await chooseFile(page, "#open-gaf", file);
    const [shownMessage, shownReason] = await alertText(page);
    assert.equal(shownMessage, "The .GAF file could not be opened.");
    const detail = shownReason[0].toLowerCase() + shownReason.slice(1);
    assert.ok(cliFailure(["--gaf-list", file]).includes(`The GAF file could not be read: ${detail}`), shownReason);
  }

  // Unit names: none, one the game cannot store, one that is no file name.
  await page.click("#download-gaf");
  assert.deepEqual(await alertText(page), ["You can't save without specifying your units UNITNAME", ""]);
  await setUnitName(page, "坦克");
  await page.click("#download-gaf");
  assert.deepEqual(await alertText(page), [
    "The .GAF file could not be written.",
    'The unit name has "坦", a character the game cannot store. Use only Western European letters, digits and signs.',
  ]);
  await setUnitName(page, "arm/camp");
  await page.click("#download-unit");
  assert.deepEqual(await alertText(page), ["The unit's files could not be written.", "The unit name holds a '/', which cannot be part of a file name."]);
  await page.close();
});

test("keyboard: every command is reached with Tab and shows its focus", async () => {
  const page = await browser.newPage();
  const reached = new Set();
  for (let k = 0; k < 60; k++) {
    await page.keyboard.press("Tab");
    const focused = await page.evaluate(() => {
      const e = document.activeElement;
      return { id: e.id || e.dataset.command || e.tagName, outline: getComputedStyle(e).outlineStyle };
    });
    if (focused.id === "BODY") continue; // past the last control
    assert.notEqual(focused.outline, "none", `${focused.id} shows its focus`);
    reached.add(focused.id);
  }
  for (const command of ["unit-name", "download-gaf", "download-unit", "open-gaf", "load-bmp", "load-pcx", "import", "save", "border", "cross", "light", "grey", "grid"]) {
    assert.ok(reached.has(command), `${command} is reached by Tab`);
  }
  // Enter on a focused button runs it.
  await page.focus("#picture-0 [data-command=border]");
  await page.keyboard.press("Enter");
  assert.equal(await page.isDisabled("#undo"), false);
  await page.close();
});

test("a served page, loaded once, opens again without a network", async () => {
  const page = await browser.newPage();
  await page.evaluate(() => navigator.serviceWorker.ready);
  await browser.context.setOffline(true);
  try {
    await page.reload();
    await page.waitForSelector("body[data-ready=true]");
    await chooseFile(page, "#picture-0 [data-command=load-bmp]", files.bmp);
    await setUnitName(page, "offline");
    const gaf = await downloaded(page, "#download-gaf");
    assert.deepEqual(gaf.bytes, cliGaf(["--unit", "offline", "--load-bmp", "normal", files.bmp]));
  } finally {
    await browser.context.setOffline(false);
  }
  await page.close();
});

test("the single-file page opens from file:// and writes the same GAF file", async () => {
  const page = await browser.newPage(pathToFileURL(join(pageFolder, "iconwright-single.html")).href);
  await chooseFile(page, "#picture-0 [data-command=load-bmp]", files.bmp);
  await page.click("#picture-0 [data-command=basis]");
  await setUnitName(page, "single");
  const gaf = await downloaded(page, "#download-gaf");
  assert.deepEqual(gaf.bytes, cliGaf(["--unit", "single", "--load-bmp", "normal", files.bmp, "--auto", files.bmp]));
  await page.close();
});
