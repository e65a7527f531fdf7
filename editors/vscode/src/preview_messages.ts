// The messages between the extension and its preview, mirrored from the preview's own
// host/web/src/preview/preview_messages.ts. A file travels as text (an open document's,
// unsaved edits included) or as its bytes in base64 (a file read from disk), since a host's
// messages need not carry typed arrays.

export interface FileContent {
    name: string;
    text?: string;
    base64?: string;
}

// A line and a UTF-8 byte column, both from 0, as the language service counts them.
export type BytePosition = [line: number, column: number];

export interface ServiceEdit {
    from: BytePosition;
    to: BytePosition;
    text: string;
}

export type ToPreview =
    | { type: 'folder'; title: string; files: FileContent[] }
    | { type: 'file'; file: FileContent; unsaved: boolean }
    | { type: 'removed'; name: string }
    | { type: 'cursor'; name: string | null; line: number; moved: boolean };

export type FromPreview =
    | { type: 'ready' }
    | { type: 'reveal'; name: string; line: number }
    | { type: 'apply'; name: string; edits: ServiceEdit[] };

// Whether a message from the webview has the shape of one the extension answers: the
// webview's script is ours, but a message is still checked before it names files or lines.
export function isFromPreview(message: unknown): message is FromPreview {
    if (typeof message !== 'object' || message === null) return false;
    const m = message as Record<string, unknown>;
    const line = (value: unknown): boolean => Number.isInteger(value) && (value as number) >= 0;
    const position = (value: unknown): boolean =>
        Array.isArray(value) && value.length === 2 && line(value[0]) && line(value[1]);
    switch (m.type) {
        case 'ready':
            return true;
        case 'reveal':
            return isFileName(m.name) && line(m.line) && (m.line as number) >= 1;
        case 'apply':
            return isFileName(m.name) && Array.isArray(m.edits) && m.edits.every((e: unknown) => {
                const edit = e as Record<string, unknown>;
                return typeof e === 'object' && e !== null && position(edit.from) && position(edit.to) &&
                    typeof edit.text === 'string';
            });
        default:
            return false;
    }
}

// A card folder's files sit in the folder itself: a name never leads out of it.
export function isFileName(name: unknown): name is string {
    return typeof name === 'string' && name !== '' && name !== '.' && name !== '..' && !/[\\/\0]/.test(name);
}
