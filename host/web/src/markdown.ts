// The little markdown the language service writes (paragraphs, "- " lists, `code` and
// **strong**), built as DOM nodes from text: a file's bytes reach these texts, so nothing
// is ever parsed as HTML.

function inline(parent: HTMLElement, text: string): void {
  // Code spans first, so that asterisks inside code stay as they are.
  const parts = text.split(/(`[^`]*`|\*\*[^*]+\*\*)/);
  for (const part of parts) {
    if (part.length > 1 && part.startsWith('`') && part.endsWith('`')) {
      parent.appendChild(document.createElement('code')).textContent = part.slice(1, -1);
    } else if (part.length > 4 && part.startsWith('**') && part.endsWith('**')) {
      parent.appendChild(document.createElement('strong')).textContent = part.slice(2, -2);
    } else if (part) {
      parent.appendChild(document.createTextNode(part));
    }
  }
}

export function renderMarkdown(markdown: string): HTMLElement {
  const root = document.createElement('div');
  root.className = 'orvanta-markdown';
  for (const block of markdown.split(/\n\s*\n/)) {
    const lines = block.split('\n').filter((line) => line.trim() !== '');
    if (lines.length === 0) continue;
    if (lines.every((line) => line.startsWith('- '))) {
      const list = root.appendChild(document.createElement('ul'));
      for (const line of lines) inline(list.appendChild(document.createElement('li')), line.slice(2));
    } else {
      const paragraph = root.appendChild(document.createElement('p'));
      lines.forEach((line, i) => {
        if (i > 0) paragraph.appendChild(document.createElement('br'));
        inline(paragraph, line);
      });
    }
  }
  return root;
}
