// Loads one of the page's own scripts through a classic script element: a page opened from
// file:// may neither fetch nor import(), but it may add a script of its own folder. Each
// script is loaded once; a load that failed is tried again on the next call.
const loaded = new Map<string, Promise<void>>();

export function loadScript(src: string): Promise<void> {
  let loading = loaded.get(src);
  if (!loading) {
    loading = new Promise<void>((resolve, reject) => {
      const script = document.createElement('script');
      script.src = src;
      script.addEventListener('load', () => resolve());
      script.addEventListener('error', () => {
        loaded.delete(src);
        script.remove();
        reject(new Error(`${src} could not be loaded`));
      });
      document.head.append(script);
    });
    loaded.set(src, loading);
  }
  return loading;
}
