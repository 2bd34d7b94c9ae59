// The page's state and the commands every part of it shares: the three pictures, undo and redo,
// messages, and files chosen or dropped.
import type { IconwrightModule, Outcome } from "./core";
import { PageFiles } from "./core";
import { History, type PageState } from "./history";

export const slotNames = ["Normal picture", "Highlighted picture", "Disabled picture"] as const;
export const normalSlot = 0;
export const highlightedSlot = 1;
export const disabledSlot = 2;

export class Page {
  readonly files: PageFiles;
  readonly palette: Uint8Array;
  readonly history = new History((state) => this.forget(state));
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

  // The three slots as the core keeps them.
  state(): PageState {
    return { records: [0, 1, 2].map((k) => this.core.keepRecord(k)) };
  }

  private forget(state: PageState): void {
    for (const record of state.records) this.core.forgetRecord(record);
  }

  private restore(state: PageState): void {
    state.records.forEach((record, k) => this.core.restoreRecord(k, record));
    this.forget(state);
  }

  // What a picture box says of its picture's source.
  sourceText(slot: number): string {
    const source = this.core.source(slot);
    if (source.origin === "generated") return "(made by automatic generation)";
    return source.origin === "file" ? source.file.slice(source.file.lastIndexOf("/") + 1) : "";
  }

  // Runs a command that may change the pictures; one that changed nothing leaves no undo step.
  change(command: () => unknown): void {
    const before = this.state();
    command();
    const after = this.state();
    const same = before.records.every((record, k) => this.core.sameRecords(record, after.records[k]!));
    this.forget(after);
    if (same) this.forget(before);
    else this.history.record(before);
    this.refresh();
  }

  undo(): void {
    const present = this.state();
    const state = this.history.undo(present);
    if (state) this.restore(state);
    else this.forget(present);
    this.refresh();
  }

  redo(): void {
    const present = this.state();
    const state = this.history.redo(present);
    if (state) this.restore(state);
    else this.forget(present);
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
