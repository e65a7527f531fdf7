// Put into the page when it is built: the device's WebAssembly module in base64, and the
// demo folder of the repository's examples, each file's name and its bytes in base64.
declare module 'orvanta:engine-wasm' {
  const base64: string;
  export default base64;
}
declare module 'orvanta:demo' {
  const files: Record<string, string>;
  export default files;
}
// Every built-in example ('demo', then 'gallery/NAME' in order) as one zip in base64 whose
// entries are EXAMPLE/FILE.
declare module 'orvanta:examples' {
  export const names: string[];
  export const zip: string;
}
