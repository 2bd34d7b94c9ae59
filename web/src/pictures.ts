// The three picture panels: each picture at 96 x 96 shown twice as large, its 64 x 64 frame as the
// GAF file holds it, and the picture's commands.
import { download } from "./download";
import { drawIndices } from "./draw";
import { defaultOptions } from "./options";
import type { ImportDialog } from "./importDialog";
import { chooseFile, disabledSlot, highlightedSlot, normalSlot, type Page, slotNames } from "./page";

const saveFormats = [
  ["bmp", "BMP"],
  ["pcx", "PCX"],
  ["png", "PNG"],
] as const;

function button(parent: HTMLElement, text: string, name: string, action: () => void): HTMLButtonElement {
  const b = document.createElement("button");
  b.type = "button";
  b.textContent = text;
  b.dataset.command = name;
  b.addEventListener("click", action);
  parent.append(b);
  return b;
}

export class PicturePanel {
  readonly element: HTMLElement;
  private readonly slotCanvas: HTMLCanvasElement;
  private readonly frameCanvas: HTMLCanvasElement;
  private readonly source: HTMLElement;
  private readonly light?: HTMLButtonElement;
  private readonly grey?: HTMLButtonElement;
  private readonly basisButton?: HTMLButtonElement;

  constructor(private readonly page: Page, private readonly slot: number, private readonly importer: ImportDialog) {
    const panel = document.createElement("section");
    panel.className = "picture";
    panel.id = `picture-${slot}`;
    panel.setAttribute("aria-label", slotNames[slot]!);
    const title = document.createElement("h2");
    title.textContent = slotNames[slot]!;
    panel.append(title);

    const canvases = document.createElement("div");
    canvases.className = "canvases";
    this.slotCanvas = this.figure(canvases, "slot", 96, "96 x 96", slotNames[slot]!);
    this.frameCanvas = this.figure(canvases, "frame", 64, "64 x 64, as in the GAF file", slotNames[slot]!);
    panel.append(canvases);
    this.source = document.createElement("p");
    this.source.className = "source";
    panel.append(this.source);

    const files = document.createElement("div");
    files.className = "commands";
    button(files, "Load BMP", "load-bmp", () => void this.load(false));
    button(files, "Load PCX", "load-pcx", () => void this.load(true));
    button(files, "Import picture...", "import", () => void this.importChosen());
    const format = document.createElement("select");
    format.setAttribute("aria-label", "Save as");
    format.dataset.command = "save-format";
    for (const [value, label] of saveFormats) format.add(new Option(label, value));
    files.append(format);
    button(files, "Save picture", "save", () => this.save(format.value));
    panel.append(files);

    const effects = document.createElement("div");
    effects.className = "commands";
    button(effects, "Add a Cavedog style border", "border", () =>
      this.page.change(() => this.page.core.addBorder(this.slot)),
    );
    const crossSize = document.createElement("input");
    crossSize.type = "text";
    crossSize.value = "2";
    crossSize.size = 3;
    crossSize.dataset.command = "cross-size";
    crossSize.setAttribute("aria-label", "Cross size in pixels");
    button(effects, "Add a black cross", "cross", () => this.cross(crossSize.value));
    effects.append(crossSize);
    if (slot === highlightedSlot) {
      this.light = button(effects, 'Make "light" (for highlighted picture)', "light", () =>
        this.page.change(() => {
          this.page.core.makeLighter(this.slot);
          this.page.lightUsed = true; // once: lightening twice would wash the picture out
        }),
      );
    }
    if (slot === disabledSlot) {
      this.grey = button(effects, 'Make "grey" (for disabled picture)', "grey", () =>
        this.page.change(() => {
          this.page.core.makeGrey(this.slot);
          this.page.greyUsed = true;
        }),
      );
    }
    button(effects, "Add a grid (for disabled picture)", "grid", () =>
      this.page.change(() => this.page.core.addGrid(this.slot)),
    );
    panel.append(effects);

    if (slot === normalSlot) {
      const basis = document.createElement("div");
      basis.className = "commands";
      this.basisButton = button(basis, "Use this image as the basis for the other two", "basis", () => this.generate());
      panel.append(basis);
    }

    panel.addEventListener("dragover", (event) => {
      event.preventDefault();
      panel.classList.add("dragging");
    });
    panel.addEventListener("dragleave", () => panel.classList.remove("dragging"));
    panel.addEventListener("drop", (event) => {
      event.preventDefault();
      event.stopPropagation();
      panel.classList.remove("dragging");
      const file = event.dataTransfer?.files[0];
      if (file) void dropFile(this.page, this.importer, file, this.slot);
    });
    this.element = panel;
    page.onChange(() => this.draw());
  }

  private figure(parent: HTMLElement, kind: string, side: number, caption: string, name: string): HTMLCanvasElement {
    const figure = document.createElement("figure");
    const canvas = document.createElement("canvas");
    canvas.setAttribute("role", "img");
    canvas.setAttribute("aria-label", `${name}, ${caption}`);
    canvas.className = kind;
    canvas.width = side;
    canvas.height = side;
    const text = document.createElement("figcaption");
    text.textContent = caption;
    figure.append(canvas, text);
    parent.append(figure);
    return canvas;
  }

  draw(): void {
    const core = this.page.core;
    drawIndices(this.slotCanvas, core.slot(this.slot), 96, 96, this.page.palette);
    drawIndices(this.frameCanvas, core.gafFrame(this.slot), 64, 64, this.page.palette);
    this.source.textContent = this.page.sources[this.slot] ?? "";
    if (this.light) this.light.disabled = this.page.lightUsed;
    if (this.grey) this.grey.disabled = this.page.greyUsed;
    if (this.basisButton) this.basisButton.disabled = !this.page.basis;
  }

  private async load(pcx: boolean): Promise<void> {
    const file = await chooseFile(pcx ? ".pcx" : ".bmp");
    if (file) await loadInto(this.page, this.slot, file, pcx);
  }

  private async importChosen(): Promise<void> {
    const file = await chooseFile(".png,.jpg,.jpeg,.bmp,.pcx");
    if (file) await this.importer.open(this.slot, file);
  }

  private save(format: string): void {
    const folder = this.page.files.outFolder();
    const name = `${["normal", "highlighted", "disabled"][this.slot]}.${format}`;
    const path = `${folder}/${name}`;
    const outcome = this.page.core.savePicture(this.slot, path, format);
    if (!outcome.ok) {
      this.page.fail(outcome);
    } else {
      download(name, this.page.files.take(path));
      this.page.status(`Saved ${name}`);
    }
    this.page.files.remove(folder);
  }

  private cross(size: string): void {
    let refused: { message: string; reason: string } | undefined;
    this.page.change(() => {
      const outcome = this.page.core.addCross(this.slot, size);
      if (!outcome.ok && outcome.message) refused = outcome;
    });
    if (refused) this.page.fail(refused);
  }

  private generate(): void {
    const basis = this.page.basis;
    if (!basis) return;
    let failure: { message: string; reason: string } | undefined;
    this.page.change(() => {
      const outcome = this.page.core.generateFromBasis(basis.path, basis.kind, basis.options);
      if (!outcome.ok) failure = outcome;
    });
    if (failure) {
      this.page.fail(failure);
      return;
    }
    this.page.sources[highlightedSlot] = this.page.sources[disabledSlot] = "(made by automatic generation)";
    this.page.status("Completed");
    this.page.refresh();
  }
}

// Loads a 96 x 96, 256-colour BMP or PCX file into slot.
export async function loadInto(page: Page, slot: number, file: File, pcx: boolean): Promise<void> {
  const path = await page.put(file);
  let outcome: { ok: boolean; message: string; reason: string } = { ok: false, message: "", reason: "" };
  page.change(() => {
    outcome = page.core.loadPicture(slot, path, pcx);
  });
  if (!outcome.ok) {
    page.fail(outcome);
    return;
  }
  page.sources[slot] = file.name;
  if (slot === normalSlot) page.basis = { path, kind: pcx ? "pcx" : "bmp", options: { ...defaultOptions } };
  page.status(`Loaded ${file.name}`);
  page.refresh();
}

// A dropped file: a GAF file opens in the viewer; a picture is imported into slot.
export async function dropFile(page: Page, importer: ImportDialog, file: File, slot: number): Promise<void> {
  const start = new Uint8Array(await file.slice(0, 16).arrayBuffer());
  if (page.core.fileKind(start) === "GAF") {
    document.dispatchEvent(new CustomEvent("open-gaf", { detail: file }));
    return;
  }
  await importer.open(slot, file);
}
