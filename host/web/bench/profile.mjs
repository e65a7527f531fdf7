// Where the page's time to its first picture goes, in headless Chromium:
//   node host/web/bench/profile.mjs SITE_DIR [RUNS]
// Opens the page RUNS times (5 by default) from file:// and RUNS times served, each in a
// fresh context, and prints the median of each step the page marks on its way (the script
// started, the module decoded, the engine ready, the folder ready, the files ready, the
// first picture). Three more runs of each kind are traced, and the main thread's work up
// to the first picture in the run of median CPU time is printed by kind: script
// compiling and running, WebAssembly compiling, style, layout and paint.
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { loadavg } from 'node:os';

const [siteArg, runsArg] = process.argv.slice(2);
if (!siteArg) {
  console.error('usage: node profile.mjs SITE_DIR [RUNS]');
  process.exit(2);
}
const siteDir = resolve(siteArg);
process.env.ORVANTA_SITE = siteDir;
process.env.ORVANTA_EXAMPLES ??= 'unused';
process.env.ORVANTA_NATIVE_CLI ??= 'unused';
const { launchChromium, serveSite } = await import('../tests/support.mjs');
const runs = Number(runsArg ?? 5);

const STEPS = ['script-start', 'wasm-decoded', 'engine-ready', 'folder-ready', 'files-ready', 'first-picture'];
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Opens `url` in a fresh page and returns the page once its first picture is marked.
async function firstPicture(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByName('orvanta-first-picture').length > 0, null,
    { timeout: 20000 });
  return page;
}

// The page's marks, and the navigation's own response end, in ms after navigation.
async function marks(page) {
  return page.evaluate((steps) => {
    const at = { 'response-end': performance.getEntriesByType('navigation')[0]?.responseEnd ?? 0,
                 'dom-interactive': performance.getEntriesByType('navigation')[0]?.domInteractive ?? 0 };
    for (const step of steps) at[step] = performance.getEntriesByName(`orvanta-${step}`)[0]?.startTime;
    return at;
  }, STEPS);
}

// The trace's complete events on the page's main thread, up to its first picture, summed by
// the kinds that tell the story. Nested events are counted in each kind they belong to, so
// the kinds overlap (a compile happens inside a script's evaluation).
const KINDS = {
  'parse HTML': /^ParseHTML$/,
  'evaluate scripts (parse, compile, run top level)': /^EvaluateScript$/,
  'compile scripts': /^(v8\.compile|V8\.CompileCode|v8\.compileModule)$/,
  'WebAssembly compile/instantiate': /^(v8\.wasm\.|wasm\.)/,
  'garbage collection': /^(MinorGC|MajorGC|V8\.GC|v8\.gc)/,
  'style and layout': /^(UpdateLayoutTree|Layout|RecalculateStyles)$/,
  'paint and composite': /^(Paint|PaintImage|UpdateLayer|Layerize|CompositeLayers|PrePaint|Commit)$/,
  'timers and callbacks': /^(TimerFire|FireAnimationFrame|FunctionCall)$/,
};

async function traced(browser, url) {
  const page = await browser.newPage();
  await browser.startTracing(page, {
    categories: ['devtools.timeline', 'v8', 'v8.wasm', 'disabled-by-default-v8.compile', 'blink.user_timing',
                 'loading', 'disabled-by-default-devtools.timeline'],
  });
  await page.goto(url);
  await page.waitForFunction(() => performance.getEntriesByName('orvanta-first-picture').length > 0, null,
    { timeout: 20000 });
  const events = JSON.parse((await browser.stopTracing()).toString()).traceEvents;
  await page.close();
  const mark = events.find((e) => e.name === 'orvanta-first-picture');
  const main = events.find((e) => e.name === 'thread_name' && e.args?.name === 'CrRendererMain' && e.pid === mark?.pid);
  if (!mark || !main) return undefined;
  const start = events.find((e) => e.pid === mark.pid && e.name === 'navigationStart')?.ts
    ?? Math.min(...events.filter((e) => e.pid === mark.pid && e.ts > 0).map((e) => e.ts));
  const sums = Object.fromEntries(Object.keys(KINDS).map((kind) => [kind, 0]));
  let busy = 0;
  let cpu = 0; // the thread's own CPU time in those tasks, which a busy machine stretches less
  let lastEnd = 0;
  const mine = events.filter((e) => e.pid === mark.pid && e.tid === main.tid && e.ph === 'X' && e.ts >= start && e.ts < mark.ts)
    .sort((a, b) => a.ts - b.ts);
  for (const e of mine) {
    for (const [kind, pattern] of Object.entries(KINDS)) if (pattern.test(e.name)) sums[kind] += e.dur / 1000;
    // The main thread's busy time: the union of its outermost tasks.
    const end = e.ts + e.dur;
    if (end > lastEnd) {
      busy += (end - Math.max(e.ts, lastEnd)) / 1000;
      if (e.ts >= lastEnd) cpu += (e.tdur ?? 0) / 1000;
      lastEnd = end;
    }
  }
  // WebAssembly compiles on background threads too (Liftoff and TurboFan).
  const wasmElsewhere = events.filter((e) => e.pid === mark.pid && e.tid !== main.tid && e.ph === 'X' &&
    /^(v8\.wasm\.|wasm\.)/.test(e.name) && e.ts >= start && e.ts < mark.ts).reduce((sum, e) => sum + e.dur / 1000, 0);
  return { total: (mark.ts - start) / 1000, busy, cpu, sums, wasmElsewhere };
}

const { server, origin } = await serveSite();
const browser = await launchChromium();
try {
  for (const [kind, url] of [['file://', pathToFileURL(`${siteDir}/index.html`).href], ['served', `${origin}/`]]) {
    const load = loadavg().map((l) => l.toFixed(2)).join(' ');
    const all = [];
    for (let i = 0; i < runs; ++i) {
      const page = await firstPicture(browser, url);
      all.push(await marks(page));
      await page.close();
    }
    console.log(`\n${kind}: ${runs} fresh pages (load average ${load})`);
    for (const step of ['response-end', 'dom-interactive', ...STEPS]) {
      const values = all.map((m) => m[step]).filter((v) => v !== undefined);
      if (values.length) console.log(`  ${step.padEnd(16)} ${median(values).toFixed(1).padStart(7)} ms  (${values.map((v) => v.toFixed(0)).join(', ')})`);
    }
    // Three traced runs; the one whose main thread used the median CPU time is shown.
    const traces = [];
    for (let i = 0; i < 3; ++i) traces.push(await traced(browser, url));
    const trace = traces.filter(Boolean).sort((a, b) => a.cpu - b.cpu)[1];
    if (!trace) continue;
    console.log(`  traced runs: CPU ${traces.filter(Boolean).map((t) => t.cpu.toFixed(0)).join(', ')} ms; the median one:`);
    console.log(`  traced run: first picture ${trace.total.toFixed(1)} ms after navigation, main thread busy ${trace.busy.toFixed(1)} ms, ` +
      `of which its own CPU time ${trace.cpu.toFixed(1)} ms`);
    for (const [name, ms] of Object.entries(trace.sums)) console.log(`    ${name.padEnd(50)} ${ms.toFixed(1).padStart(7)} ms`);
    console.log(`    ${'WebAssembly compiling on other threads'.padEnd(50)} ${trace.wasmElsewhere.toFixed(1).padStart(7)} ms`);
  }
} finally {
  await browser.close();
  server.close();
}
