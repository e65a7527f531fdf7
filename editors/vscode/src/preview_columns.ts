// The language service counts columns in UTF-8 bytes; editors count UTF-16 code units.

// The UTF-16 offset in `lineText` of UTF-8 byte column `byteColumn`. A column inside a
// character's bytes gives that character's start; a column past the end gives the end. A
// lone surrogate counts as three bytes, as TextEncoder writes it (U+FFFD).
export function characterOfByte(lineText: string, byteColumn: number): number {
    let bytes = 0;
    let i = 0;
    while (i < lineText.length) {
        const unit = lineText.charCodeAt(i);
        let size = 1;
        let units = 1;
        if (unit >= 0xd800 && unit <= 0xdbff && i + 1 < lineText.length) {
            const next = lineText.charCodeAt(i + 1);
            if (next >= 0xdc00 && next <= 0xdfff) {
                size = 4;
                units = 2;
            } else {
                size = 3;
            }
        } else if (unit >= 0x800) {
            size = 3;
        } else if (unit >= 0x80) {
            size = 2;
        }
        if (bytes + size > byteColumn) return i;
        bytes += size;
        i += units;
    }
    return lineText.length;
}
