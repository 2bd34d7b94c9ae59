// Undo and redo over every change of the pictures: each change keeps the state before it, the
// three slots' whole records (pixels, source, which once-per-picture effects are spent) as the
// core keeps them. A state that can no longer be reached is handed to forget.

export interface PageState {
  records: number[];
}

export class History {
  private readonly undos: PageState[] = [];
  private redos: PageState[] = [];
  constructor(private readonly forget: (state: PageState) => void, private readonly limit = 200) {}

  record(before: PageState): void {
    this.undos.push(before);
    if (this.undos.length > this.limit) this.forget(this.undos.shift()!);
    for (const state of this.redos) this.forget(state);
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
