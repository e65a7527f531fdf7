import { spawn } from 'child_process';
import * as path from 'path';
import * as vscode from 'vscode';
import { LanguageClient, LanguageClientOptions, ServerOptions } from 'vscode-languageclient/node';

import { isConfigurationFile, LANGUAGE_ID } from './documents';
import { registerPreview } from './preview';
import { locateProgram } from './programs';

let client: LanguageClient | undefined;
let starting: Promise<void> | undefined;
// A server that failed to start is tried again only on the restart command or a new
// setting, not on every document opened, which would repeat the same error message.
let startFailed = false;
let output: vscode.OutputChannel;

// Documents this extension has given the language once. A user who then switches one back
// to plain text keeps that choice for the session: giving the language again on the next
// open event would undo it.
const claimed = new Set<string>();

export async function activate(context: vscode.ExtensionContext): Promise<void> {
    output = vscode.window.createOutputChannel('Orvanta');
    context.subscriptions.push(
        output,
        vscode.workspace.onDidOpenTextDocument((document) => opened(context, document)),
        vscode.commands.registerCommand('orvanta.openInWindow', (uri?: vscode.Uri) =>
            openInWindow(context, uri),
        ),
        vscode.commands.registerCommand('orvanta.restartServer', () => restartServer(context)),
        registerPreview(context),
        vscode.workspace.onDidChangeConfiguration((event) => {
            if (event.affectsConfiguration('orvanta.serverPath')) void restartServer(context);
        }),
    );
    vscode.workspace.textDocuments.forEach((document) => opened(context, document));
}

export async function deactivate(): Promise<void> {
    await stopServer();
}

// The manifest gives the language to every config.txt; the other text files of its folder
// can only be recognised once they are open. Giving a document the language opens it again
// under that language, which starts the server: any text file activates the extension, but
// only a configuration file costs a server process.
function opened(context: vscode.ExtensionContext, document: vscode.TextDocument): void {
    if (document.languageId === LANGUAGE_ID) {
        if (client === undefined && starting === undefined && !startFailed) {
            starting = startServer(context).finally(() => (starting = undefined));
        }
        return;
    }
    if (document.languageId !== 'plaintext' || document.uri.scheme !== 'file') return;
    const key = document.uri.toString();
    if (claimed.has(key) || !isConfigurationFile(document.uri.fsPath)) return;
    claimed.add(key);
    void vscode.languages.setTextDocumentLanguage(document, LANGUAGE_ID);
}

async function startServer(context: vscode.ExtensionContext): Promise<void> {
    const settings = vscode.workspace.getConfiguration('orvanta');
    const command = locateProgram(
        'orvanta-cli',
        settings.get<string>('serverPath'),
        process.platform,
        context.extensionPath,
    );
    // No transport is named on purpose: naming stdio would make the client append a
    // --stdio argument, and the server talks over standard input and output anyway.
    const serverOptions: ServerOptions = { command, args: ['lsp'] };
    const clientOptions: LanguageClientOptions = {
        documentSelector: [
            { scheme: 'file', language: LANGUAGE_ID },
            { scheme: 'untitled', language: LANGUAGE_ID },
        ],
        outputChannel: output,
    };
    client = new LanguageClient('orvanta', 'Orvanta', serverOptions, clientOptions);
    startFailed = false;
    try {
        await client.start();
    } catch (error) {
        client = undefined;
        startFailed = true;
        const reason = error instanceof Error ? error.message : String(error);
        void vscode.window.showErrorMessage(
            `Orvanta: could not start '${command} lsp' (${reason}). Install Orvanta, or set ` +
                `"orvanta.serverPath" to the orvanta-cli program.`,
        );
    }
}

async function stopServer(): Promise<void> {
    const running = client;
    client = undefined;
    if (running !== undefined) await running.stop();
}

async function restartServer(context: vscode.ExtensionContext): Promise<void> {
    await starting;
    await stopServer();
    await startServer(context);
}

// The window shows a card folder as the device reads its card: the folder that holds the
// document, whichever of its files is open.
function openInWindow(context: vscode.ExtensionContext, uri: vscode.Uri | undefined): void {
    // The palette offers the command everywhere: Theia, and so Arduino IDE, does not know the
    // editor's language while the palette has the focus, and would hide a command offered
    // only for it.
    const target = uri ?? vscode.window.activeTextEditor?.document.uri;
    if (target === undefined || target.scheme !== 'file' || !isConfigurationFile(target.fsPath)) {
        void vscode.window.showErrorMessage(
            'Orvanta: open a configuration file first; the window shows the folder that holds it.',
        );
        return;
    }
    const folder = path.dirname(target.fsPath);
    const program = locateProgram(
        'orvanta',
        vscode.workspace.getConfiguration('orvanta').get<string>('windowPath'),
        process.platform,
        context.extensionPath,
    );
    output.appendLine(`Starting ${program} ${folder}`);
    const child = spawn(program, [folder], { cwd: folder, detached: true, stdio: 'ignore' });
    child.on('error', (error) => {
        void vscode.window.showErrorMessage(
            `Orvanta: could not start '${program}' (${error.message}). Install Orvanta, or set ` +
                `"orvanta.windowPath" to the orvanta window program.`,
        );
    });
    child.unref();
}
