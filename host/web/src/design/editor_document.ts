import { invertedEffects, isolateHistory, redo, undo } from '@codemirror/commands';
import { EditorSelection, StateEffect, Transaction, type Extension } from '@codemirror/state';
import { EditorView } from '@codemirror/view';

import type { Editor } from '../editor';
import { offsetOf } from '../language';
import type { KeptOverride, Readings } from '../readings';
import type { Workspace } from '../workspace';
import type { DesignDocument, EditAnswer } from './design_api';

// The page's DesignDocument: the CodeMirror editor. Each apply is one transaction of its
// own in the editor's history, so Ctrl+Z and Ctrl+Y undo and redo it between typing. The
// reading overrides ride along as an effect whose inverse CodeMirror keeps in the history:
// an undo moves them back and sets those of removed lines again.

interface LinesMoved {
  file: string;
  moves: [number, number][]; // 1-based [old, new], new 0 for a removed line
  restore: KeptOverride[]; // set again after the move
  dropped: KeptOverride[]; // what the move drops, for the inverse to restore
}

const linesMoved = StateEffect.define<LinesMoved>();

function inverse(moved: LinesMoved): LinesMoved {
  return {
    file: moved.file,
    moves: moved.moves.filter(([, to]) => to >= 1).map(([from, to]) => [to, from]),
    restore: moved.dropped,
    dropped: moved.restore,
  };
}

// The old line to new line pairs of an answer's line map that change, 1-based.
export function movesOf(lineMap: number[] | undefined): [number, number][] {
  const moves: [number, number][] = [];
  lineMap?.forEach((to, from) => {
    if (to !== from) moves.push([from + 1, to < 0 ? 0 : to + 1]);
  });
  return moves;
}

export class EditorDocument implements DesignDocument {
  private readonly undoListeners = new Set<() => void>();
  private readonly cursorListeners = new Set<(name: string, line: number) => void>();
  // The extension the editor must carry for the overrides to follow edits and undo.
  readonly extension: Extension;

  constructor(
    private readonly workspace: Workspace,
    private readonly readings: Readings,
    private readonly editor: () => Editor,
  ) {
    this.extension = [
      invertedEffects.of((tr) =>
        tr.effects.flatMap((effect) => (effect.is(linesMoved) ? [linesMoved.of(inverse(effect.value))] : [])),
      ),
      EditorView.updateListener.of((update) => {
        if (update.view.hasFocus && update.transactions.some((tr) => tr.isUserEvent('select')))
          for (const listener of this.cursorListeners) listener(this.editor().file, this.editor().cursorLine);
        const moved: LinesMoved[] = [];
        let undone = false;
        for (const tr of update.transactions) {
          for (const effect of tr.effects) if (effect.is(linesMoved)) moved.push(effect.value);
          if (tr.docChanged && (tr.isUserEvent('undo') || tr.isUserEvent('redo'))) undone = true;
        }
        if (moved.length === 0 && !undone) return;
        // The overrides move before the device loads the new text, which would drop those
        // of lines it no longer has; those that come back are set once the device has the
        // text whose lines they name.
        for (const value of moved) this.readings.moveLines(value.file, value.moves);
        queueMicrotask(() => {
          this.editor().flush();
          for (const value of moved) this.readings.restoreOverrides(value.restore);
          if (undone) this.undoListeners.forEach((listener) => listener());
        });
      }),
    ];
  }

  text(name: string): string {
    const editor = this.editor();
    return name === editor.file ? editor.view.state.sliceDoc() : this.workspace.text(name);
  }

  apply(name: string, answer: EditAnswer): void {
    const editor = this.editor();
    if (name !== editor.file) this.workspace.open(name);
    const view = editor.view;
    const doc = view.state.doc;
    const changes = (answer.edits ?? []).map((edit) => ({
      from: offsetOf(doc, edit.from),
      to: offsetOf(doc, edit.to),
      insert: edit.text,
    }));
    const moves = movesOf(answer.lineMap);
    const removed = moves.filter(([, to]) => to < 1).map(([from]) => from);
    const effects = moves.length
      ? [linesMoved.of({ file: name, moves, restore: [], dropped: this.readings.overridesOn(name, removed) })]
      : [];
    view.dispatch({
      changes,
      effects,
      annotations: [Transaction.userEvent.of('design'), isolateHistory.of('full')],
    });
    // The device takes the text at once rather than after the typing delay.
    editor.flush();
  }

  reveal(name: string, line: number): void {
    const editor = this.editor();
    if (name !== editor.file) this.workspace.open(name);
    const doc = editor.view.state.doc;
    const target = doc.line(Math.min(Math.max(1, line), doc.lines));
    editor.view.dispatch({ selection: EditorSelection.cursor(target.from), scrollIntoView: true });
  }

  // Only the cursor the user moves in the editor (keys, pointer) counts: not a reveal from
  // the display, typing, or a file shown anew.
  onCursor(listener: (name: string, line: number) => void): void {
    this.cursorListeners.add(listener);
  }

  // The editor's own undo and redo, for the display's Ctrl+Z and Ctrl+Y.
  undo(): void {
    undo(this.editor().view);
    this.editor().flush();
  }

  redo(): void {
    redo(this.editor().view);
    this.editor().flush();
  }

  // Calls back after an undo or redo changed the text, wherever it was asked for.
  onUndo(listener: () => void): void {
    this.undoListeners.add(listener);
  }
}
