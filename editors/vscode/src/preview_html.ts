// The preview's page in the webview. It loads only the extension's own scripts and styles
// from its media folder, runs WebAssembly from the bytes its script carries, and may fetch
// nothing at all.

export interface PreviewSources {
    cspSource: string; // the webview's origin for the extension's own files
    engine: string; // the URIs of the media folder's files, as the webview gives them
    script: string;
    style: string;
    previewStyle: string;
}

export function contentSecurityPolicy(cspSource: string): string {
    return [
        "default-src 'none'",
        `script-src ${cspSource} 'wasm-unsafe-eval'`,
        `style-src ${cspSource}`,
        `img-src ${cspSource} data:`,
        "base-uri 'none'",
        "form-action 'none'",
    ].join('; ');
}

const attribute = (text: string): string =>
    text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');

export function previewHtml(sources: PreviewSources, title: string): string {
    return `<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="${attribute(contentSecurityPolicy(sources.cspSource))}">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>${attribute(title)}</title>
<link rel="stylesheet" href="${attribute(sources.style)}">
<link rel="stylesheet" href="${attribute(sources.previewStyle)}">
</head>
<body>
<header>
  <nav aria-label="Device">
    <button id="pause" type="button">Pause</button>
    <button id="step" type="button" title="Run one frame, paused">Step</button>
    <button id="restart" type="button" title="A new device, as at power-on">Restart</button>
    <label>Zoom <select id="zoom"></select></label>
  </nav>
</header>
<div id="preview">
  <div id="centre">
    <aside id="palette" aria-label="Palette"></aside>
    <main id="stage"><canvas id="panel" width="128" height="128" aria-label="The display"></canvas></main>
  </div>
  <aside id="inspector" aria-label="Inspector"></aside>
  <aside id="properties" aria-label="Properties"></aside>
  <aside id="readings" aria-label="Readings"></aside>
</div>
<footer id="status" role="status">Starting…</footer>
<script src="${attribute(sources.engine)}"></script>
<script src="${attribute(sources.script)}"></script>
</body>
</html>
`;
}
