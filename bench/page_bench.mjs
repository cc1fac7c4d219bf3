// Benchmark of the browser page against the native program on the largest run: the 40
// calendars of 499 table rows. The page is loaded once in headless Chromium; then the
// median of 20 runs of window.termarium.run (each a fresh program instance, files given
// as bytes already in the page) is set against the median of 20 whole runs of the native
// program on the same files. Prints both and their ratio. Not a test: CTest never runs it.
//   node bench/page_bench.mjs PAGE PROGRAM MAKE_WORKLOAD TOOLS_DIR [RUNS]
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [page_path, program, make_workload, tools_dir] = process.argv.slice(2, 6).map((arg) => path.resolve(arg));
const runs_text = process.argv[6];
const runs = Number(runs_text || 20);
const chromium = process.env.TERMARIUM_CHROMIUM || '/usr/bin/chromium';
const puppeteer = createRequire(path.join(tools_dir, 'package.json'))('puppeteer-core');

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'termarium-page-bench-'));
const paths = spawnSync(make_workload, [folder]).stdout.toString('utf8').split('\n').filter((line) => line);
const files = paths.map((file) => ({ name: path.basename(file), bytes: Array.from(fs.readFileSync(file)) }));

// Native: the whole process, as a volunteer's drop starts it.
const native = [];
for (let i = 0; i < runs; ++i) {
  const start = process.hrtime.bigint();
  const run = spawnSync(program, paths, { cwd: folder, input: '' });
  native.push(Number(process.hrtime.bigint() - start) / 1e6);
  if (run.status !== 0) throw new Error('the native run failed: ' + run.stdout);
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'termarium-page-bench-profile-'));
const browser = await puppeteer.launch({
  executablePath: chromium, headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'],
});
try {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.resolve(page_path)).href, { waitUntil: 'load' });
  const in_page = await page.evaluate(async (given, count) => {
    const calendars = given.map((file) => ({ name: file.name, bytes: new Uint8Array(file.bytes) }));
    const times = [];
    for (let i = 0; i < count; ++i) {
      const start = performance.now();
      const outcome = await window.termarium.run(calendars);
      times.push(performance.now() - start);
      if (outcome.status !== 0) throw new Error('the page run failed: ' + outcome.console);
    }
    return times;
  }, files, runs);
  const page_ms = median(in_page);
  const native_ms = median(native);
  console.log(`40 files, 499 table rows, median of ${runs} runs`);
  console.log(`  in the page (fresh program instance each): ${page_ms.toFixed(2)} ms`);
  console.log(`  native program (whole process):            ${native_ms.toFixed(2)} ms`);
  console.log(`  ratio page / native:                        ${(page_ms / native_ms).toFixed(2)}`);
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
  fs.rmSync(folder, { recursive: true, force: true });
}
