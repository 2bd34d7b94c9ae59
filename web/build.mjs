// Bundles the page's script around the WebAssembly module and writes the page:
//
//   node web/build.mjs MODULE_DIR OUT_DIR
//
// OUT_DIR/index.html with app.js and iconwright.wasm beside it, and OUT_DIR/iconwright-single.html,
// the same page with its script, styles and wasm inside (it opens from file://).
import { build } from "esbuild";
import { createHash } from "node:crypto";
import { copyFileSync, readFileSync, writeFileSync } from "node:fs";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const [moduleDir, outDir] = process.argv.slice(2).map((p) => resolve(p));
if (!moduleDir || !outDir) {
  console.error("usage: node web/build.mjs MODULE_DIR OUT_DIR");
  process.exit(2);
}

async function bundle(glue) {
  const result = await build({
    entryPoints: [join(here, "src/main.ts")],
    bundle: true,
    format: "esm",
    target: "es2022",
    minify: true,
    write: false,
    alias: { "iconwright-module": glue },
    logLevel: "warning",
  });
  return result.outputFiles[0].text;
}

const template = readFileSync(join(here, "index.html"), "utf8");
const style = `<style>\n${readFileSync(join(here, "style.css"), "utf8")}</style>`;
const page = (script) => template.replace("<!--style-->", style).replace("<!--script-->", script);

writeFileSync(join(outDir, "app.js"), await bundle(join(moduleDir, "iconwright.js")));
copyFileSync(join(moduleDir, "iconwright.wasm"), join(outDir, "iconwright.wasm"));
// The wasm is asked for at once, beside the script, rather than once the script has run.
writeFileSync(
  join(outDir, "index.html"),
  page(
    '<link rel="preload" href="iconwright.wasm" as="fetch" type="application/wasm" crossorigin>\n' +
      '<script type="module" src="app.js"></script>',
  ),
);

// The service worker, its cache named after what it keeps.
const version = createHash("sha256")
  .update(readFileSync(join(outDir, "app.js")))
  .update(readFileSync(join(outDir, "iconwright.wasm")))
  .update(readFileSync(join(outDir, "index.html")))
  .digest("hex")
  .slice(0, 16);
writeFileSync(join(outDir, "sw.js"), readFileSync(join(here, "sw.js"), "utf8").replace("__BUILD__", version));

// Inline, a script's text must not hold "</script", which would end it early.
const single = (await bundle(join(moduleDir, "iconwright-single.js"))).replaceAll("</script", "<\\/script");
writeFileSync(join(outDir, "iconwright-single.html"), page(`<script type="module">\n${single}</script>`));
