// The page: loads the core, builds the three picture panels, the unit's downloads, the GAF
// viewer, undo and redo, and drops of files anywhere.
import { loadCore } from "./core";
import { download } from "./download";
import { ImportDialog } from "./importDialog";
import { chooseFile, normalSlot, Page } from "./page";
import { dropFile, PicturePanel } from "./pictures";
import { GafViewer } from "./viewer";
import { makeZip } from "./zip";

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;

function unitName(page: Page): string {
  const name = $<HTMLInputElement>("unit-name").value;
  page.core.setName(name);
  return name;
}

function downloadGaf(page: Page): void {
  const name = unitName(page);
  const folder = page.files.outFolder();
  const path = `${folder}/gadget.gaf`;
  const outcome = page.core.writeGaf(path);
  if (outcome.ok) {
    download(`${name}_GADGET.GAF`, page.files.take(path));
    page.status(`Saved ${name}_GADGET.GAF`);
  } else {
    page.fail(outcome);
  }
  page.files.remove(folder);
}

function downloadUnit(page: Page): void {
  const name = unitName(page);
  const folder = page.files.outFolder();
  const exported = page.core.exportUnit(folder);
  if (exported.ok) {
    const entries = exported.files.map((path) => ({ name: path.slice(folder.length + 1), bytes: page.core.FS.readFile(path) }));
    download(`${name}.zip`, makeZip(entries), "application/zip");
    page.status(`Saved ${name}.zip: ${entries.map((e) => e.name).join(", ")}`);
  } else {
    page.fail(exported);
  }
  page.files.remove(folder);
}

function isTextField(target: EventTarget | null): boolean {
  return target instanceof HTMLInputElement ? target.type === "text" : target instanceof HTMLTextAreaElement;
}

async function start(): Promise<void> {
  const page = new Page(await loadCore());
  const importer = new ImportDialog(page);
  const viewer = new GafViewer(page);
  const panels = [0, 1, 2].map((slot) => new PicturePanel(page, slot, importer));
  $("pictures").append(...panels.map((p) => p.element));

  const undo = $<HTMLButtonElement>("undo");
  const redo = $<HTMLButtonElement>("redo");
  page.onChange(() => {
    undo.disabled = !page.history.canUndo;
    redo.disabled = !page.history.canRedo;
  });
  undo.addEventListener("click", () => page.undo());
  redo.addEventListener("click", () => page.redo());
  document.addEventListener("keydown", (event) => {
    if (!(event.ctrlKey || event.metaKey) || isTextField(event.target) || $<HTMLDialogElement>("import-dialog").open) return;
    const key = event.key.toLowerCase();
    if (key === "z" && !event.shiftKey) page.undo();
    else if ((key === "z" && event.shiftKey) || key === "y") page.redo();
    else return;
    event.preventDefault();
  });

  $("download-gaf").addEventListener("click", () => downloadGaf(page));
  $("download-unit").addEventListener("click", () => downloadUnit(page));
  $("open-gaf").addEventListener("click", async () => {
    const file = await chooseFile(".gaf");
    if (file) await viewer.open(file);
  });
  document.addEventListener("open-gaf", (event) => void viewer.open((event as CustomEvent<File>).detail));
  $("alert-close").addEventListener("click", () => page.closeAlert());

  // A file dropped outside the picture panels: a GAF file opens in the viewer, a picture is
  // imported into the normal picture.
  document.addEventListener("dragover", (event) => event.preventDefault());
  document.addEventListener("drop", (event) => {
    event.preventDefault();
    const file = event.dataTransfer?.files[0];
    if (file) void dropFile(page, importer, file, normalSlot);
  });

  // The core and the page's files, for the bench to time the core in the page without the dialogs.
  (globalThis as { iconwright?: unknown }).iconwright = { core: page.core, files: page.files };
  // Served pages keep their files for a visit without a network; a page opened from a file needs
  // none.
  if ("serviceWorker" in navigator && location.protocol.startsWith("http")) {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }
  page.refresh();
  page.status("Ready");
  document.body.dataset.ready = "true";
  performance.mark("iconwright-ready");
}

start().catch((error: unknown) => {
  $("status").textContent = `The page could not start: ${String(error)}`;
});
