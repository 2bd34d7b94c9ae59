// The page's state and the commands every part of it shares: the three pictures, undo and redo,
// messages, and files chosen or dropped.
import type { IconwrightModule, ImportOptions, Outcome } from "./core";
import { PageFiles } from "./core";
import { History, type PageState } from "./history";

export const slotNames = ["Normal picture", "Highlighted picture", "Disabled picture"] as const;
export const normalSlot = 0;
export const highlightedSlot = 1;
export const disabledSlot = 2;

// Where the normal picture came from, for "Use this image as the basis for the other two".
export interface Basis {
  path: string;
  kind: "bmp" | "pcx" | "import";
  options: ImportOptions;
}

export class Page {
  readonly files: PageFiles;
  readonly palette: Uint8Array;
  readonly history = new History();
  lightUsed = false;
  greyUsed = false;
  basis: Basis | undefined;
  readonly sources: string[] = ["", "", ""];
  private readonly listeners: (() => void)[] = [];
  private focusBeforeAlert: HTMLElement | null = null;

  constructor(readonly core: IconwrightModule) {
    this.files = new PageFiles(core);
    this.palette = core.paletteRgba();
  }

  onChange(listener: () => void): void {
    this.listeners.push(listener);
  }

  refresh(): void {
    for (const listener of this.listeners) listener();
  }

  state(): PageState {
    return { slots: [0, 1, 2].map((k) => this.core.slot(k)), lightUsed: this.lightUsed, greyUsed: this.greyUsed };
  }

  private restore(state: PageState): void {
    state.slots.forEach((pixels, k) => this.core.setSlot(k, pixels));
    this.lightUsed = state.lightUsed;
    this.greyUsed = state.greyUsed;
  }

  // Runs a command that may change the pictures; one that changed nothing leaves no undo step.
  change(command: () => unknown): void {
    const before = this.state();
    command();
    const after = this.state();
    const same =
      before.lightUsed === after.lightUsed &&
      before.greyUsed === after.greyUsed &&
      before.slots.every((pixels, k) => pixels.every((value, i) => value === after.slots[k]![i]));
    if (!same) this.history.record(before);
    this.refresh();
  }

  undo(): void {
    const state = this.history.undo(this.state());
    if (state) this.restore(state);
    this.refresh();
  }

  redo(): void {
    const state = this.history.redo(this.state());
    if (state) this.restore(state);
    this.refresh();
  }

  // Messages: a failure's message and the core's reason, or a passing status line.
  fail(outcome: Pick<Outcome, "message" | "reason">): void {
    const alert = document.getElementById("alert")!;
    // Focus goes back where it was once the message is read.
    if (alert.hidden) this.focusBeforeAlert = document.activeElement as HTMLElement | null;
    document.getElementById("alert-message")!.textContent = outcome.message;
    document.getElementById("alert-reason")!.textContent = outcome.reason;
    alert.hidden = false;
    (document.getElementById("alert-close") as HTMLButtonElement).focus();
  }

  closeAlert(): void {
    document.getElementById("alert")!.hidden = true;
    this.focusBeforeAlert?.focus();
    this.focusBeforeAlert = null;
  }

  status(text: string): void {
    document.getElementById("status")!.textContent = text;
  }

  // A file the user chose or dropped, put where the core reads it.
  async put(file: File): Promise<string> {
    return this.files.put(file.name, new Uint8Array(await file.arrayBuffer()));
  }
}

// Asks for one file through the browser's own file dialog; null when cancelled.
export function chooseFile(accept: string): Promise<File | null> {
  const input = document.getElementById("file-input") as HTMLInputElement;
  input.accept = accept;
  input.value = "";
  return new Promise((resolve) => {
    const done = (file: File | null) => {
      input.onchange = null;
      input.oncancel = null;
      resolve(file);
    };
    input.onchange = () => done(input.files?.[0] ?? null);
    input.oncancel = () => done(null);
    input.click();
  });
}
