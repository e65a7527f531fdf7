// The page's plain buttons: a label, a tooltip, and what a click does.
export function button(label: string, title: string, action?: () => unknown): HTMLButtonElement {
  const made = document.createElement('button');
  made.type = 'button';
  made.textContent = label;
  made.title = title;
  if (action) made.addEventListener('click', () => void action());
  return made;
}
