// The import dialog: a picture of any size and kind, its options (remembered in local storage),
// the picture before and after the mapping onto the game palette, and the conversion report,
// all updated as an option changes.
import type { ImportOptions } from "./core";
import { drawIndices, drawRgba } from "./draw";
import { loadOptions, saveOptions } from "./options";
import { chooseFile, normalSlot, type Page, slotNames } from "./page";

const $ = <T extends HTMLElement>(id: string) => document.getElementById(id) as T;

export class ImportDialog {
  private readonly dialog = $<HTMLDialogElement>("import-dialog");
  private options: ImportOptions = loadOptions();
  private slot = normalSlot;
  private path = "";
  private fileName = "";
  private backgroundName = "none";

  constructor(private readonly page: Page) {
    const inputs = ["opt-fit", "opt-trim", "opt-background", "opt-match", "opt-dither", "opt-avoid", "opt-strict"];
    for (const id of inputs) {
      $(id).addEventListener("input", () => this.readOptions());
      $(id).addEventListener("change", () => this.readOptions());
    }
    $("opt-background-file").addEventListener("click", () => void this.chooseBackground());
    $("opt-background-clear").addEventListener("click", () => {
      this.options.backgroundFile = "";
      this.backgroundName = "none";
      this.update();
    });
    this.dialog.addEventListener("close", () => {
      if (this.dialog.returnValue === "ok") this.commit();
    });
  }

  async open(slot: number, file: File): Promise<void> {
    this.slot = slot;
    this.path = await this.page.put(file);
    this.fileName = file.name;
    $("import-title").textContent = `Import picture into the ${slotNames[slot]!.toLowerCase()}`;
    $("import-file").textContent = file.name;
    this.showOptions();
    this.update();
    this.dialog.returnValue = "";
    this.dialog.showModal();
  }

  private showOptions(): void {
    const o = this.options;
    $<HTMLSelectElement>("opt-fit").value = o.fit;
    $<HTMLInputElement>("opt-trim").checked = o.trim === "on";
    $<HTMLInputElement>("opt-background").value = o.background;
    $<HTMLSelectElement>("opt-match").value = o.match;
    $<HTMLSelectElement>("opt-dither").value = o.dither;
    $<HTMLInputElement>("opt-avoid").value = o.avoid;
    $<HTMLInputElement>("opt-strict").checked = o.strict === "on";
    $("opt-background-file-name").textContent = this.backgroundName;
  }

  private readOptions(): void {
    this.options = {
      fit: $<HTMLSelectElement>("opt-fit").value,
      trim: $<HTMLInputElement>("opt-trim").checked ? "on" : "off",
      background: $<HTMLInputElement>("opt-background").value,
      backgroundFile: this.options.backgroundFile,
      match: $<HTMLSelectElement>("opt-match").value,
      dither: $<HTMLSelectElement>("opt-dither").value,
      avoid: $<HTMLInputElement>("opt-avoid").value.trim(),
      strict: $<HTMLInputElement>("opt-strict").checked ? "on" : "off",
    };
    saveOptions(this.options);
    this.update();
  }

  private async chooseBackground(): Promise<void> {
    const file = await chooseFile(".png,.jpg,.jpeg,.bmp,.pcx");
    if (!file) return;
    this.options.backgroundFile = await this.page.put(file);
    this.backgroundName = file.name;
    this.showOptions();
    this.update();
  }

  // The live preview: the core imports the picture (decoded once) with the options shown.
  private update(): void {
    const preview = this.page.core.previewImport(this.path, this.options);
    const before = $<HTMLCanvasElement>("import-before");
    const after = $<HTMLCanvasElement>("import-after");
    const ok = $<HTMLButtonElement>("import-ok");
    if (preview.ok) {
      drawRgba(before, preview.composited, 96, 96);
      drawIndices(after, preview.indices, 96, 96, this.page.palette);
      $("import-report").textContent = preview.report;
      $("import-error").textContent = "";
      ok.disabled = false;
    } else {
      before.getContext("2d")?.clearRect(0, 0, before.width, before.height);
      after.getContext("2d")?.clearRect(0, 0, after.width, after.height);
      $("import-report").textContent = "";
      $("import-error").textContent = [preview.message, preview.reason].filter(Boolean).join(" ");
      ok.disabled = true;
    }
  }

  private commit(): void {
    const options = { ...this.options };
    let outcome = { ok: false, message: "", reason: "", report: "" };
    this.page.change(() => {
      outcome = this.page.core.importPicture(this.slot, this.path, options);
    });
    if (!outcome.ok) {
      this.page.fail(outcome);
      return;
    }
    this.page.sources[this.slot] = this.fileName;
    if (this.slot === normalSlot) this.page.basis = { path: this.path, kind: "import", options };
    this.page.status(`Imported ${this.fileName}: ${outcome.report}`);
    this.page.refresh();
  }
}
