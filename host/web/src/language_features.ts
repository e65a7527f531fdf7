import { autocompletion, snippet, type Completion, type CompletionContext } from '@codemirror/autocomplete';
import { linter, type Action, type Diagnostic } from '@codemirror/lint';
import type { Extension } from '@codemirror/state';
import { hoverTooltip, type EditorView } from '@codemirror/view';

import { offsetOf, positionOf, type Language } from './language';
import { renderMarkdown } from './markdown';

// Squiggles with quick fixes, hover and completion, each a thin adapter over one answer of
// the language service. `documentName` names the file the editor shows, or null while the
// service is not to be asked (a file opened read-only because of its size).

// Lint soon after typing stops: the squiggles follow the text about as fast as the display.
const LINT_DELAY_MS = 120;

export function languageFeatures(language: Language, documentName: () => string | null): Extension {
  const ready = (view: EditorView): string | null => {
    const name = documentName();
    if (name !== null) language.sync(name, view.state.doc);
    return name;
  };

  const squiggles = linter(
    (view) => {
      const name = ready(view);
      if (name === null) return [];
      const doc = view.state.doc;
      return language.diagnostics(name).map((found): Diagnostic => {
        const actions: Action[] = [];
        if (found.fix) {
          const fix = found.fix;
          const from = offsetOf(doc, fix.from);
          const to = offsetOf(doc, fix.to);
          actions.push({
            name: fix.title,
            apply(target) {
              // A fix is for the text it was found in; a text changed since is linted anew.
              if (target.state.doc !== doc) return;
              target.dispatch({ changes: { from, to, insert: fix.text }, userEvent: 'input.fix' });
            },
          });
        }
        return {
          from: offsetOf(doc, found.from),
          to: offsetOf(doc, found.to),
          severity: found.severity,
          source: found.code,
          message: found.message,
          actions,
        };
      });
    },
    { delay: LINT_DELAY_MS },
  );

  const hover = hoverTooltip((view, pos) => {
    const name = ready(view);
    if (name === null) return null;
    const doc = view.state.doc;
    const found = language.hover(name, positionOf(doc, pos));
    if (!found) return null;
    return {
      pos: offsetOf(doc, found.from),
      end: offsetOf(doc, found.to),
      above: true,
      create: () => ({ dom: renderMarkdown(found.markdown) }),
    };
  });

  const complete = (context: CompletionContext) => {
    const name = documentName();
    if (name === null) return null;
    const doc = context.state.doc;
    language.sync(name, doc);
    const found = language.completions(name, positionOf(doc, context.pos));
    if (found.length === 0) return null;
    const from = offsetOf(doc, found[0].from);
    const options = found.map(
      (item): Completion => ({
        label: item.label,
        type: item.kind === 'file' ? 'text' : 'keyword',
        detail: item.detail || undefined,
        info: item.documentation ? () => renderMarkdown(item.documentation) : undefined,
        // A file name is written as it is: it may hold what a snippet reads as a field.
        apply: item.kind === 'keyword' && item.snippet ? snippet(item.snippet) : item.text,
      }),
    );
    return { from, to: offsetOf(doc, found[0].to), options };
  };

  return [squiggles, hover, autocompletion({ override: [complete] })];
}
