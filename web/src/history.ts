// Undo and redo over every change of the pictures: each change keeps the state before it (the
// three pictures, 27 KiB, and which once-only effects are spent).

export interface PageState {
  slots: Uint8Array[];
  lightUsed: boolean;
  greyUsed: boolean;
}

export class History {
  private readonly undos: PageState[] = [];
  private redos: PageState[] = [];
  constructor(private readonly limit = 200) {}

  record(before: PageState): void {
    this.undos.push(before);
    if (this.undos.length > this.limit) this.undos.shift();
    this.redos = [];
  }

  // The state to go back to, given the present one (which redo then returns to).
  undo(present: PageState): PageState | undefined {
    const state = this.undos.pop();
    if (state) this.redos.push(present);
    return state;
  }

  redo(present: PageState): PageState | undefined {
    const state = this.redos.pop();
    if (state) this.undos.push(present);
    return state;
  }

  get canUndo(): boolean {
    return this.undos.length > 0;
  }
  get canRedo(): boolean {
    return this.redos.length > 0;
  }
}
