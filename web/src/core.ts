// The core as the page sees it: the functions src/web/PageBindings.cpp offers, and the module's
// in-memory file system, where chosen files are put and written files are taken from.
import createIconwright from "iconwright-module";

export interface Outcome {
  ok: boolean;
  message: string; // the command's message when it failed
  reason: string; // the core's reason beneath it
  report: string; // an import's conversion report
}

export interface ImportOptions {
  fit: string; // contain, cover, stretch, none
  trim: string; // on, off
  background: string; // #RRGGBB
  backgroundFile: string; // a path in the module's files, or "" for the colour
  match: string; // rgb, perceptual
  dither: string; // none, floyd-steinberg
  avoid: string; // e.g. 0,240-255, or none
  strict: string; // on, off
}

export interface FrameFields {
  width: number;
  height: number;
  x: number;
  y: number;
  transparency: number;
  compression: number;
  layers: number;
  unknown1: number;
  unknown2: number;
}

export interface GafEntry {
  name: string;
  unknown1: number;
  unknown2: number;
  frames: FrameFields[];
}

interface FileSystem {
  mkdir(path: string): void;
  writeFile(path: string, data: Uint8Array): void;
  readFile(path: string): Uint8Array;
  analyzePath(path: string): { exists: boolean };
  readdir(path: string): string[];
  isDir(mode: number): boolean;
  stat(path: string): { mode: number };
  unlink(path: string): void;
  rmdir(path: string): void;
}

export interface IconwrightModule {
  FS: FileSystem;
  fileKind(start: Uint8Array): string; // "GAF", "PNG", "BMP", ..., "unknown"
  paletteRgba(): Uint8Array;
  slot(slot: number): Uint8Array;
  setSlot(slot: number, pixels: Uint8Array): void;
  gafFrame(slot: number): Uint8Array;
  setName(name: string): void;
  loadPicture(slot: number, path: string, pcx: boolean): Outcome;
  savePicture(slot: number, path: string, format: string): Outcome;
  addBorder(slot: number): void;
  addGrid(slot: number): void;
  makeLighter(slot: number): void;
  makeGrey(slot: number): void;
  addCross(slot: number, size: string): Outcome;
  previewImport(path: string, options: ImportOptions): Outcome & { composited: Uint8Array; indices: Uint8Array };
  importPicture(slot: number, path: string, options: ImportOptions): Outcome;
  generateFromBasis(path: string, kind: string, options: ImportOptions): Outcome;
  writeGaf(path: string): Outcome;
  exportUnit(dir: string): Outcome & { files: string[] };
  openGaf(path: string): Outcome & { entries: GafEntry[] };
  gafFramePixels(entry: number, frame: number): Uint8Array;
  extractGaf(dir: string): Outcome & { files: string[] };
}

export async function loadCore(): Promise<IconwrightModule> {
  return createIconwright({ locateFile: (name) => new URL(name, document.baseURI).href });
}

// Files the user gives the page live under /in, each in a folder of its own so that its name
// stays exactly the user's (the core's reasons name it); files the core writes go under /out and
// are removed once read.
export class PageFiles {
  private count = 0;
  constructor(private readonly core: IconwrightModule) {
    for (const folder of ["/in", "/out"]) if (!core.FS.analyzePath(folder).exists) core.FS.mkdir(folder);
  }

  put(name: string, bytes: Uint8Array): string {
    const folder = `/in/${++this.count}`;
    this.core.FS.mkdir(folder);
    const path = `${folder}/${name.replace(/\//g, "_") || "file"}`;
    this.core.FS.writeFile(path, bytes);
    return path;
  }

  // A fresh folder for the core to write into.
  outFolder(): string {
    const folder = `/out/${++this.count}`;
    this.core.FS.mkdir(folder);
    return folder;
  }

  // Reads a written file and removes it.
  take(path: string): Uint8Array {
    const bytes = this.core.FS.readFile(path);
    this.core.FS.unlink(path);
    return bytes;
  }

  // Removes a folder the core wrote into, with everything in it.
  remove(folder: string): void {
    const fs = this.core.FS;
    if (!fs.analyzePath(folder).exists) return;
    for (const name of fs.readdir(folder)) {
      if (name === "." || name === "..") continue;
      const path = `${folder}/${name}`;
      if (fs.isDir(fs.stat(path).mode)) this.remove(path);
      else fs.unlink(path);
    }
    fs.rmdir(folder);
  }
}
