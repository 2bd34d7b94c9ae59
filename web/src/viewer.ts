// The GAF viewer: any GAF file's entries and frames with their fields, each frame at 1x or 2x, and
// every frame as a PNG file in a zip (the same files as iconwright-cli --gaf-extract).
import type { GafEntry } from "./core";
import { download } from "./download";
import { drawIndices } from "./draw";
import type { Page } from "./page";
import { makeZip } from "./zip";

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;

export class GafViewer {
  private entries: GafEntry[] = [];
  private name = "";
  private readonly entryList = $<HTMLSelectElement>("viewer-entries");
  private readonly frameList = $<HTMLSelectElement>("viewer-frames");

  constructor(private readonly page: Page) {
    this.entryList.addEventListener("change", () => this.showFrames());
    this.frameList.addEventListener("change", () => this.showFrame());
    for (const zoom of document.querySelectorAll<HTMLInputElement>('input[name="viewer-zoom"]')) {
      zoom.addEventListener("change", () => this.showFrame());
    }
    $("viewer-extract").addEventListener("click", () => this.extract());
    $("viewer-close").addEventListener("click", () => {
      $("viewer").hidden = true;
      $<HTMLButtonElement>("open-gaf").focus();
    });
  }

  async open(file: File): Promise<void> {
    const path = await this.page.put(file);
    const opened = this.page.core.openGaf(path);
    if (!opened.ok) {
      this.page.fail(opened);
      return;
    }
    this.entries = opened.entries;
    this.name = file.name;
    $("viewer-title").textContent = `${file.name} - GAF file`;
    this.entryList.replaceChildren(
      ...this.entries.map((entry, k) => new Option(`${entry.name || "(no name)"} (${entry.frames.length})`, String(k))),
    );
    this.entryList.selectedIndex = this.entries.length ? 0 : -1;
    $("viewer").hidden = false;
    this.showFrames();
    this.entryList.focus();
    this.page.status(`Opened ${file.name}`);
  }

  private showFrames(): void {
    const entry = this.entries[this.entryList.selectedIndex];
    this.frameList.replaceChildren(
      ...(entry?.frames ?? []).map((f, k) => new Option(`Frame ${k} (${f.width} x ${f.height})`, String(k))),
    );
    this.frameList.selectedIndex = entry?.frames.length ? 0 : -1;
    this.showFrame();
  }

  private showFrame(): void {
    const e = this.entryList.selectedIndex;
    const f = this.frameList.selectedIndex;
    const entry = this.entries[e];
    const frame = entry?.frames[f];
    const canvas = $<HTMLCanvasElement>("viewer-canvas");
    const body = $("viewer-fields").querySelector("tbody")!;
    if (!entry || !frame) {
      body.replaceChildren();
      canvas.width = canvas.height = 1;
      return;
    }
    const zoom = Number(document.querySelector<HTMLInputElement>('input[name="viewer-zoom"]:checked')?.value ?? 1);
    drawIndices(canvas, this.page.core.gafFramePixels(e, f), frame.width, frame.height, this.page.palette);
    canvas.style.width = `${frame.width * zoom}px`;
    canvas.style.height = `${frame.height * zoom}px`;
    const rows: [string, string | number][] = [
      ["Entry", entry.name],
      ["Entry unknown1", entry.unknown1],
      ["Entry unknown2", entry.unknown2],
      ["Width", frame.width],
      ["Height", frame.height],
      ["X", frame.x],
      ["Y", frame.y],
      ["Transparency index", frame.transparency],
      ["Compression", frame.compression === 1 ? "1 (run-length rows)" : `${frame.compression} (raw pixels)`],
      ["Layers", frame.layers],
      ["Unknown1", frame.unknown1],
      ["Unknown2", frame.unknown2],
    ];
    body.replaceChildren(
      ...rows.map(([name, value]) => {
        const row = document.createElement("tr");
        const th = document.createElement("th");
        th.textContent = name;
        const td = document.createElement("td");
        td.textContent = String(value);
        row.append(th, td);
        return row;
      }),
    );
  }

  private extract(): void {
    const folder = this.page.files.outFolder();
    const extracted = this.page.core.extractGaf(folder);
    if (!extracted.ok) {
      this.page.fail(extracted);
    } else {
      const entries = extracted.files.map((path) => ({
        name: path.slice(folder.length + 1),
        bytes: this.page.core.FS.readFile(path),
      }));
      const base = this.name.replace(/\.gaf$/i, "") || "frames";
      download(`${base}-frames.zip`, makeZip(entries), "application/zip");
      this.page.status(`${entries.length} PNG files in ${base}-frames.zip`);
    }
    this.page.files.remove(folder);
  }
}
