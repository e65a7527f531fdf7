// The questions the file handling asks: which version of a file to keep when the disk and
// the page both changed it, and how to turn a dropped picture into a BMP.

function dialog(className: string, ...content: (Node | string)[]): HTMLDialogElement {
  const shown = document.createElement('dialog');
  shown.className = className;
  shown.append(...content);
  document.body.append(shown);
  shown.addEventListener('close', () => shown.remove());
  return shown;
}

function button(label: string, value: string): HTMLButtonElement {
  const made = document.createElement('button');
  made.type = 'submit';
  made.value = value;
  made.textContent = label;
  return made;
}

function paragraph(text: string): HTMLParagraphElement {
  const made = document.createElement('p');
  made.textContent = text;
  return made;
}

// Asks until answered; Escape keeps the page's edits, which loses nothing on either side.
export function askConflict(name: string): Promise<'mine' | 'disk'> {
  const form = document.createElement('form');
  form.method = 'dialog';
  form.append(
    paragraph(`${name} changed on disk while it had unsaved edits here.`),
    button('Keep my edits', 'mine'),
    button('Take the disk’s version', 'disk'),
  );
  const shown = dialog('conflict', form);
  shown.dataset.file = name;
  shown.showModal();
  return new Promise((resolve) =>
    shown.addEventListener('close', () => resolve(shown.returnValue === 'disk' ? 'disk' : 'mine')),
  );
}

export interface ConvertChoice {
  name: string;
  width: number;
  height: number;
  dither: boolean;
  background: number; // the surface's colour word: red in bits 0-7, green 8-15, blue 16-23
}

// A colour picker's 0xRRGGBB as the surface's colour word.
function surfaceWord(rgb: number): number {
  return ((rgb >> 16) & 0xff) | (rgb & 0xff00) | ((rgb & 0xff) << 16);
}

function field(label: string, input: HTMLInputElement): HTMLLabelElement {
  const made = document.createElement('label');
  made.append(label, ' ', input);
  return made;
}

function input(type: string, value: string, name: string): HTMLInputElement {
  const made = document.createElement('input');
  made.type = type;
  made.value = value;
  made.name = name;
  return made;
}

// Offers to convert the dropped picture `fileName`; resolves to the choices, or undefined
// when the user declines. By default the picture is fitted into the whole panel.
export function askConvert(fileName: string, kind: string): Promise<ConvertChoice | undefined> {
  const name = input('text', `${fileName.replace(/\.[^.]*$/, '') || 'picture'}.bmp`, 'name');
  name.required = true;
  name.pattern = '[^\\/\\\\]+';
  const width = input('number', '128', 'width');
  const height = input('number', '128', 'height');
  for (const side of [width, height]) Object.assign(side, { min: '1', max: '128', required: true });
  const dither = input('checkbox', '', 'dither');
  const background = input('color', '#000000', 'background');
  const form = document.createElement('form');
  form.method = 'dialog';
  form.append(
    paragraph(`${fileName} is a ${kind} picture. The device draws 24-bit BMPs: convert it?`),
    field('Save as', name),
    field('Fit into width', width),
    field('and height', height),
    field('Dither to the panel’s colours', dither),
    field('Background under transparency', background),
    button('Convert', 'convert'),
    button('Cancel', 'cancel'),
  );
  form.querySelector<HTMLButtonElement>('button[value="cancel"]')!.formNoValidate = true;
  const shown = dialog('convert', form);
  shown.showModal();
  return new Promise((resolve) =>
    shown.addEventListener('close', () =>
      resolve(
        shown.returnValue === 'convert'
          ? {
              name: name.value,
              width: Number(width.value),
              height: Number(height.value),
              dither: dither.checked,
              background: surfaceWord(Number.parseInt(background.value.slice(1), 16)),
            }
          : undefined,
      ),
    ),
  );
}
