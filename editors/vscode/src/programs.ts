import * as fs from 'fs';
import * as path from 'path';

export type ProgramName = 'orvanta-cli' | 'orvanta';

// Where to find one of Orvanta's programs. A path set in the settings wins; while the
// setting keeps its default (the bare name), the Windows package's own copy in bin/ is
// used if the package carries one, and otherwise the bare name is looked up on PATH.
export function locateProgram(
    name: ProgramName,
    setting: string | undefined,
    platform: NodeJS.Platform,
    extensionDir: string,
    exists: (candidate: string) => boolean = fs.existsSync,
): string {
    const configured = (setting ?? '').trim();
    if (configured !== '' && configured !== name) return configured;
    if (platform === 'win32') {
        const bundled = path.join(extensionDir, 'bin', `${name}.exe`);
        if (exists(bundled)) return bundled;
    }
    return name;
}
