import * as path from 'path';
import * as vscode from 'vscode';

import { isConfigurationFile } from './documents';
import { characterOfByte } from './preview_columns';
import { documentContent, fileContent, folderContents, nameInFolder, openDocument } from './preview_folder';
import { previewHtml } from './preview_html';
import { FileContent, FromPreview, isFromPreview, ServiceEdit, ToPreview } from './preview_messages';

// The live preview beside the editor: one webview panel per card folder, running the
// device on the folder's files with the editors' unsaved texts standing in for them. Text
// changes reach it at once, saves and changes on disk through a file watcher; a click on a
// pixel selects its line in an editor, and the editor's cursor outlines its object.

const VIEW_TYPE = 'orvanta.preview';
const previews = new Map<string, Preview>();

export function registerPreview(context: vscode.ExtensionContext): vscode.Disposable {
    // The palette offers the command everywhere: Theia, and so Arduino IDE, does not know the
    // editor's language while the palette has the focus.
    return vscode.commands.registerCommand('orvanta.openPreview', (uri?: vscode.Uri) => {
        const target = uri ?? vscode.window.activeTextEditor?.document.uri;
        if (target === undefined || target.scheme !== 'file' || !isConfigurationFile(target.fsPath)) {
            void vscode.window.showErrorMessage(
                'Orvanta: open a configuration file first; the preview shows the folder that holds it.',
            );
            return;
        }
        const folder = path.dirname(target.fsPath);
        const open = previews.get(folder);
        if (open !== undefined) open.panel.reveal(undefined, true);
        else previews.set(folder, new Preview(context, folder));
    });
}

class Preview {
    readonly panel: vscode.WebviewPanel;
    private readonly subscriptions: vscode.Disposable[] = [];
    private ready = false;
    // The folder as read while the webview loads, and whether a change came in meanwhile,
    // which makes the read stale.
    private firstContents: Promise<FileContent[]>;
    private changedBeforeReady = false;

    constructor(context: vscode.ExtensionContext, private readonly folder: string) {
        const media = vscode.Uri.file(path.join(context.extensionPath, 'media'));
        this.panel = vscode.window.createWebviewPanel(
            VIEW_TYPE,
            `Preview ${path.basename(folder)}`,
            { viewColumn: vscode.ViewColumn.Beside, preserveFocus: true },
            { enableScripts: true, localResourceRoots: [media], retainContextWhenHidden: true },
        );
        const webview = this.panel.webview;
        const uri = (file: string): string => webview.asWebviewUri(vscode.Uri.joinPath(media, file)).toString();
        webview.html = previewHtml(
            {
                cspSource: webview.cspSource,
                engine: uri('orvanta-engine.js'),
                script: uri('orvanta-preview.js'),
                style: uri('style.css'),
                previewStyle: uri('preview.css'),
            },
            `Preview ${path.basename(folder)}`,
        );

        this.firstContents = folderContents(folder).catch((): FileContent[] => []);
        const watcher = vscode.workspace.createFileSystemWatcher(new vscode.RelativePattern(folder, '*'));
        this.subscriptions.push(
            webview.onDidReceiveMessage((message: unknown) => {
                if (!isFromPreview(message)) return;
                this.received(message).catch((error: unknown) => {
                    const reason = error instanceof Error ? error.message : String(error);
                    void vscode.window.showErrorMessage(`Orvanta: the preview of ${this.folder}: ${reason}`);
                });
            }),
            vscode.workspace.onDidChangeTextDocument((event) => {
                if (event.contentChanges.length === 0) return;
                const file = documentContent(this.folder, event.document);
                if (file) this.post({ type: 'file', file, unsaved: event.document.isDirty });
            }),
            vscode.workspace.onDidSaveTextDocument((document) => {
                const file = documentContent(this.folder, document);
                if (file) this.post({ type: 'file', file, unsaved: false });
            }),
            // A document closed unsaved leaves its file as it is on disk.
            vscode.workspace.onDidCloseTextDocument((document) => {
                const name = nameInFolder(this.folder, document.uri);
                if (name !== undefined && document.isDirty) void this.sendFromDisk(name);
            }),
            watcher,
            watcher.onDidCreate((uri) => this.changedOnDisk(uri)),
            watcher.onDidChange((uri) => this.changedOnDisk(uri)),
            watcher.onDidDelete((uri) => {
                const name = nameInFolder(this.folder, uri);
                if (name !== undefined && openDocument(this.folder, name) === undefined)
                    this.post({ type: 'removed', name });
            }),
            vscode.window.onDidChangeTextEditorSelection((event) => this.cursorMoved(event.textEditor, true)),
            vscode.window.onDidChangeActiveTextEditor((editor) => this.cursorMoved(editor, false)),
        );
        this.panel.onDidDispose(() => {
            previews.delete(this.folder);
            for (const subscription of this.subscriptions) subscription.dispose();
        });
    }

    private post(message: ToPreview): void {
        if (this.ready) void this.panel.webview.postMessage(message);
        else if (message.type !== 'cursor') this.changedBeforeReady = true;
    }

    // An open document stands in for its file, so its disk bytes matter only once it closes.
    private changedOnDisk(uri: vscode.Uri): void {
        const name = nameInFolder(this.folder, uri);
        if (name !== undefined && openDocument(this.folder, name) === undefined) void this.sendFromDisk(name);
    }

    private async sendFromDisk(name: string): Promise<void> {
        const file = await fileContent(this.folder, name);
        if (file) this.post({ type: 'file', file, unsaved: false });
        else this.post({ type: 'removed', name });
    }

    // The line of the editor's cursor is outlined while a text editor is active, as the page
    // outlines it while its editor has the focus. `moved` says that the cursor itself moved,
    // rather than another editor becoming active.
    private cursorMoved(editor: vscode.TextEditor | undefined, moved: boolean): void {
        const name = editor && nameInFolder(this.folder, editor.document.uri);
        this.post(name === undefined
            ? { type: 'cursor', name: null, line: 0, moved }
            : { type: 'cursor', name, line: editor!.selection.active.line + 1, moved });
    }

    private async received(message: FromPreview): Promise<void> {
        switch (message.type) {
            case 'ready': {
                // A webview that loads again (the host may reload it) starts from the folder.
                const early = this.firstContents;
                this.firstContents = Promise.resolve([]);
                let files = await early;
                if (files.length === 0 || this.changedBeforeReady || this.ready)
                    files = await folderContents(this.folder);
                // The open documents' texts as they are now: typing goes on while files are read.
                files = files.map((file) => {
                    const document = openDocument(this.folder, file.name);
                    return document === undefined ? file : { name: file.name, text: document.getText() };
                });
                this.ready = true;
                this.post({ type: 'folder', title: this.folder, files });
                this.cursorMoved(vscode.window.activeTextEditor, false);
                break;
            }
            case 'reveal':
                await this.reveal(message.name, message.line);
                break;
            case 'apply':
                await this.apply(message.name, message.edits);
                break;
        }
    }

    // Selects the whole line in an editor: the one showing the file, or a new one in the
    // first column, beside the preview. The focus stays in the preview, whose keys nudge
    // the object a click selected: an editor that shows the file already is not shown
    // again, which Theia would give the focus.
    private async reveal(name: string, line: number): Promise<void> {
        const document = await vscode.workspace.openTextDocument(vscode.Uri.file(path.join(this.folder, name)));
        const range = document.lineAt(Math.min(line - 1, document.lineCount - 1)).range;
        const editor = vscode.window.visibleTextEditors.find((shown) => shown.document === document) ??
            await vscode.window.showTextDocument(document, {
                viewColumn: vscode.ViewColumn.One,
                preserveFocus: true,
                selection: range,
            });
        editor.selection = new vscode.Selection(range.start, range.end);
        editor.revealRange(range, vscode.TextEditorRevealType.InCenterIfOutsideViewport);
    }

    // The edits as one workspace edit: one step of the editor's undo history, leaving the
    // document unsaved, as typing does.
    private async apply(name: string, edits: ServiceEdit[]): Promise<void> {
        const document = await vscode.workspace.openTextDocument(vscode.Uri.file(path.join(this.folder, name)));
        const position = ([line, column]: [number, number]): vscode.Position => {
            if (line >= document.lineCount) return document.lineAt(document.lineCount - 1).range.end;
            return new vscode.Position(line, characterOfByte(document.lineAt(line).text, column));
        };
        const edit = new vscode.WorkspaceEdit();
        for (const change of edits)
            edit.replace(document.uri, new vscode.Range(position(change.from), position(change.to)), change.text);
        if (await vscode.workspace.applyEdit(edit)) return;
        void vscode.window.showErrorMessage(`Orvanta: the preview could not edit ${name}.`);
        // The preview made the edit on its copy already; it takes the editor's text back.
        this.post({ type: 'file', file: { name, text: document.getText() }, unsaved: document.isDirty });
    }
}
