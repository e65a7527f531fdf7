import * as fs from 'fs';
import * as path from 'path';

export const LANGUAGE_ID = 'orvanta';

// The device always starts from this file, so a folder that holds it is a card's folder.
export const FIRST_FILE = 'config.txt';

// Whether a file is a configuration file: the first file itself, or a text file in a folder
// that holds the first file. A folder's other text files are the screens that LoadConfig
// lines chain to; a text file anywhere else is left alone.
export function isConfigurationFile(
    filePath: string,
    exists: (candidate: string) => boolean = fs.existsSync,
): boolean {
    const name = path.basename(filePath);
    if (name === FIRST_FILE) return true;
    if (!name.toLowerCase().endsWith('.txt')) return false;
    return exists(path.join(path.dirname(filePath), FIRST_FILE));
}
