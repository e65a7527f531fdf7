import * as path from 'path';
import * as vscode from 'vscode';

import { FileContent, isFileName } from './preview_messages';

// A card folder's files as the language server sees them: each file's bytes from disk,
// with the text of a document open in an editor standing in for its file.

// The open document of `folder`'s file `name`, if any.
export function openDocument(folder: string, name: string): vscode.TextDocument | undefined {
    const target = path.join(folder, name);
    return vscode.workspace.textDocuments.find(
        (document) => document.uri.scheme === 'file' && !document.isClosed && document.uri.fsPath === target,
    );
}

// The name of a file of `folder`, or undefined for a file elsewhere (a sub-folder's too).
export function nameInFolder(folder: string, uri: vscode.Uri): string | undefined {
    if (uri.scheme !== 'file' || path.dirname(uri.fsPath) !== folder) return undefined;
    const name = path.basename(uri.fsPath);
    return isFileName(name) ? name : undefined;
}

export function documentContent(folder: string, document: vscode.TextDocument): FileContent | undefined {
    const name = nameInFolder(folder, document.uri);
    return name === undefined ? undefined : { name, text: document.getText() };
}

// The file as the language server sees it: an open document's text, or the bytes on disk;
// undefined when it is neither (removed meanwhile).
export async function fileContent(folder: string, name: string): Promise<FileContent | undefined> {
    const document = openDocument(folder, name);
    if (document !== undefined) return { name, text: document.getText() };
    try {
        const bytes = await vscode.workspace.fs.readFile(vscode.Uri.file(path.join(folder, name)));
        return { name, base64: Buffer.from(bytes).toString('base64') };
    } catch {
        return undefined;
    }
}

// Every file of the folder (not its sub-folders).
export async function folderContents(folder: string): Promise<FileContent[]> {
    const entries = await vscode.workspace.fs.readDirectory(vscode.Uri.file(folder));
    const names = entries
        .filter(([name, type]) => (type & vscode.FileType.File) !== 0 && isFileName(name))
        .map(([name]) => name);
    const files = await Promise.all(names.map((name) => fileContent(folder, name)));
    return files.filter((file): file is FileContent => file !== undefined);
}
