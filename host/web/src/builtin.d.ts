// Put into the page when it is built: the device's WebAssembly module in base64, and the
// repository's examples.
declare module 'orvanta:engine-wasm' {
  const base64: string;
  export default base64;
}
// Every built-in example ('demo', then 'gallery/NAME' in order) as one zip in base64 whose
// entries are EXAMPLE/FILE.
declare module 'orvanta:examples' {
  export const names: string[];
  export const zip: string;
}
