// Browser tests of the Termarium page in headless Chromium, opened from file:// as a
// volunteer opens it from disk. Every run in the page is compared byte for byte with the
// Linux program on the same files in the same order: the console text, the exit status and
// both schedules. Through the file chooser (with the order changed by the page's own
// buttons, the downloads saved under their names) and through window.termarium.run: the
// sample calendars, failures, a 41-file and a 40-file run; a run a week later with the
// last club calendar among the files, which reports the changes since; a whole league's
// file, whose clubs the page offers as a choice and hands the chosen one to the program as
// its input. The page makes no request but for itself, logs no error and breaks no rule of
// its content security policy; axe-core finds nothing serious in it; a volunteer gets from
// choosing files to the downloads by keyboard alone; the club's table stays within a
// phone's screen. The match days of a club of three sports strike a called-off match
// through, pass axe-core, print to A4 with every match and each week on one page, and fit
// a phone's screen.
// Exit status 0 when every check passed, 1 when one failed, 77 when a tool is missing.
//   node page_test.mjs PAGE PROGRAM MAKE_WORKLOAD EXAMPLES_DIR TOOLS_DIR OUT_DIR
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [page_path, program, make_workload, examples_dir, tools_dir, out_dir] =
  process.argv.slice(2, 8).map((arg) => path.resolve(arg));
const k_skipped = 77;
const k_chromium = process.env.TERMARIUM_CHROMIUM || '/usr/bin/chromium';
const k_samples = [
  'Spielplan_2025-2026_Herren1.ics', 'Spielplan_2025-2026_Herren2.ics', 'Spielplan_2025-2026_Herren3.ics',
  'Spielplan_2025-2026_U19-1.ics', 'Spielplan_2025-2026_U19-2.ics', 'Spielplan_2025-2026_U15-1.ics',
];
const k_run_limit_ms = 60000;  // far beyond any run; a hung page fails instead of stalling
const k_closing_prompt = 'Enter druecken um Proramm zu schliessen\n';  // the console window's, not the page's
const k_phone = { width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 1 };

function skip(reason) {
  console.log('SKIPPED: ' + reason);
  process.exit(k_skipped);
}

let failures = 0;
function check(condition, what) {
  console.log((condition ? 'ok     ' : 'FAILED ') + what);
  if (!condition) failures += 1;
}

if (!fs.existsSync(page_path)) skip(`the page ${page_path} was not built (it needs em++, Debian package emscripten)`);
if (!fs.existsSync(k_chromium)) skip(`Chromium is not installed at ${k_chromium} (Debian package chromium)`);
for (const tool of ['puppeteer-core', 'axe-core']) {
  if (!fs.existsSync(path.join(tools_dir, 'node_modules', tool))) skip(`${tool} is not installed in ${tools_dir} (npm ci there)`);
}
const tools = createRequire(path.join(tools_dir, 'package.json'));
const puppeteer = tools('puppeteer-core');
const axe_source = fs.readFileSync(tools.resolve('axe-core/axe.min.js'), 'utf8');

// What the Linux program does with these files ({name, bytes}, bytes null for a file
// that cannot be read) in this order, laid out as the page lays them out: each file in
// a folder of its own, numbered, the schedules in the folder of the first file read.
function linux_run(files, answer) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'termarium-web-'));
  const args = files.map((file, index) => {
    const folder = path.join(work, String(index + 1));
    fs.mkdirSync(folder);
    if (file.bytes !== null) fs.writeFileSync(path.join(folder, file.name), file.bytes);
    return String(index + 1) + '/' + file.name;
  });
  const run = spawnSync(program, args, { cwd: work, input: answer === undefined ? '' : answer + '\n' });
  const outputs = {};
  files.forEach((file, index) => {
    const folder = path.join(work, String(index + 1));
    for (const name of fs.readdirSync(folder)) {
      if (name !== file.name) outputs[name] = fs.readFileSync(path.join(folder, name));
    }
  });
  fs.rmSync(work, { recursive: true, force: true });
  return { status: run.status, console: run.stdout.toString('utf8'), outputs };
}

// The club calendar stamps each event with the time of its run, and it and the match days
// name that time ("Stand: Di, 09.12.2025 07:45"); two runs differ there only.
const k_stamp = /\r\nDTSTAMP:(\d{8}T\d{6}Z)\r\n/g;
const k_run_time = /Stand: [A-Z][a-z]\\?, \d\d\.\d\d\.\d{4} \d\d:\d\d/g;

function without_stamps(name, bytes) {
  const data = Buffer.from(bytes);
  if (!name.endsWith('.ics') && !name.endsWith('_Spieltage.html')) return data;
  return Buffer.from(data.toString('latin1').replace(k_stamp, '\r\nDTSTAMP:<Lauf>\r\n')
    .replace(k_run_time, 'Stand: <Lauf>'), 'latin1');
}

// True when a calendar's stamps are all the same and within a minute of now.
function stamped_now(bytes) {
  const stamps = [...Buffer.from(bytes).toString('latin1').matchAll(k_stamp)].map((found) => found[1]);
  const at = (stamp) => Date.UTC(+stamp.slice(0, 4), +stamp.slice(4, 6) - 1, +stamp.slice(6, 8),
                                 +stamp.slice(9, 11), +stamp.slice(11, 13), +stamp.slice(13, 15));
  return stamps.length > 0 && stamps.every((stamp) => stamp === stamps[0]) &&
         Math.abs(Date.now() - at(stamps[0])) < 60000;
}

// The same bytes, the calendar's stamps aside.
function same_file(name, one, other) {
  return Buffer.compare(without_stamps(name, one), without_stamps(name, other)) === 0;
}

function same_outputs(page_outputs, linux_outputs) {
  const names = Object.keys(linux_outputs).sort();
  if (JSON.stringify(Object.keys(page_outputs).sort()) !== JSON.stringify(names)) return false;
  return names.every((name) => same_file(name, page_outputs[name], linux_outputs[name]));
}

// Runs files through window.termarium.run (with the answer on standard input, where
// given) and compares everything with the Linux program.
async function compare_run(page, what, files, expected_status, answer) {
  const page_run = await page.evaluate(async (given, typed) => {
    const outcome = await window.termarium.run(given.map((file) => ({
      name: file.name, bytes: file.bytes === null ? undefined : new Uint8Array(file.bytes),
    })), typed === null ? undefined : typed);
    const outputs = {};
    for (const [name, bytes] of Object.entries(outcome.outputs)) outputs[name] = Array.from(bytes);
    return { status: outcome.status, console: outcome.console, outputs };
  }, files.map((file) => ({ name: file.name, bytes: file.bytes === null ? null : Array.from(file.bytes) })),
  answer === undefined ? null : answer);
  const linux = linux_run(files, answer);
  check(page_run.status === expected_status && linux.status === expected_status,
        `${what}: exit status ${page_run.status} in the page, ${linux.status} on Linux, ${expected_status} wanted`);
  // The page's build prints no closing prompt: it has no console window to close.
  const wanted = linux.console.replace(k_closing_prompt, '');
  check(page_run.console === wanted, `${what}: the same console text, without the closing prompt`);
  if (page_run.console !== wanted) console.log(`page:\n${page_run.console}\nLinux:\n${linux.console}`);
  check(same_outputs(page_run.outputs, linux.outputs),
        `${what}: the same files, byte for byte (${Object.keys(linux.outputs).sort().join(', ') || 'none'})`);
  return page_run;
}

function read_example(name) {
  return { name, bytes: fs.readFileSync(path.join(examples_dir, name)) };
}

// The 40 calendars of a benchmark workload as its maker writes them: the 499-row run, or
// with 'gross' the large one of 4,840 rows.
function workload_files(...shape) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'termarium-workload-'));
  const made = spawnSync(make_workload, [folder, ...shape]);
  const paths = made.stdout.toString('utf8').split('\n').filter((line) => line.length > 0);
  const files = paths.map((file) => ({ name: path.basename(file), bytes: fs.readFileSync(file) }));
  fs.rmSync(folder, { recursive: true, force: true });
  return files;
}

// The findings of axe-core on the page as it stands that a user would be stopped by.
async function serious_findings(page, what) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) await page.evaluate(axe_source);
  const found = await page.evaluate(async () => {
    const results = await window.axe.run(document, { resultTypes: ['violations'] });
    return results.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical')
      .map((v) => `${v.id} (${v.impact}): ${v.nodes.map((node) => node.target.join(' ')).join(', ')}`);
  });
  check(found.length === 0, `axe-core, ${what}: nothing serious or critical${found.length ? ': ' + found.join('; ') : ''}`);
}

// What the focused element is: its id, or else its accessible name.
function focused(page) {
  return page.evaluate(() => {
    const element = document.activeElement;
    return element ? element.id || element.getAttribute('aria-label') || element.textContent : '';
  });
}

// Presses Tab until the focus is on the element the test names, at most limit times.
async function tab_to(page, wanted, limit = 30) {
  for (let i = 0; i < limit; ++i) {
    await page.keyboard.press('Tab');
    if (await page.evaluate((test) => new Function('element', test)(document.activeElement), wanted)) return true;
  }
  return false;
}

// Waits until a download of that name is complete in the folder.
async function downloaded(folder, name) {
  const saved = path.join(folder, name);
  for (let waited = 0; waited < k_run_limit_ms && !fs.existsSync(saved); waited += 50) {
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  await new Promise((resolve) => setTimeout(resolve, 200));  // the last bytes of the download
  return fs.existsSync(saved) ? fs.readFileSync(saved) : null;
}

// Presses Enter on the focused control and returns the file chooser it opens. Puppeteer
// catches a chooser only once its interception is on, which takes a moment after asking;
// a chooser that came sooner went by unseen, and the key is pressed once more.
async function press_for_file_chooser(page) {
  for (let attempt = 1; ; ++attempt) {
    const waiting = page.waitForFileChooser({ timeout: 5000 });
    await new Promise((resolve) => setTimeout(resolve, 100));
    await page.keyboard.press('Enter');
    try {
      return await waiting;
    } catch (error) {
      if (attempt === 3) throw error;
    }
  }
}

async function wait_for_console(page) {
  await page.waitForFunction(() => {
    const text = document.getElementById('konsole').textContent;
    return text.length > 0 && !text.startsWith('Der Spielplan wird erstellt');
  }, { timeout: k_run_limit_ms });
  return page.$eval('#konsole', (element) => element.textContent);
}

// The match days of a club of six teams in three sports, as the Linux program writes them:
// every match stands in its week, a called-off one struck through; axe-core finds nothing
// serious, the document printed to A4 by Chromium holds every match, each week's block
// stands on one page, and at phone width nothing leaves the screen.
async function check_match_days(browser) {
  const club_dir = path.join(examples_dir, 'mehrere-sportarten');
  const club = fs.readdirSync(club_dir).filter((name) => name.endsWith('.ics')).sort()
    .map((name) => ({ name, bytes: fs.readFileSync(path.join(club_dir, name)) }));
  const run = linux_run(club);
  const plan = run.outputs['Termarium_2025-2026_Spieltage.html'];
  check(run.status === 0 && plan !== undefined, 'the club of three sports gives its match days');
  if (plan === undefined) return;
  const document_path = path.join(out_dir, 'spieltage.html');
  fs.writeFileSync(document_path, plan);
  const page = await browser.newPage();
  await page.setViewport({ width: 1000, height: 900 });
  await page.goto(pathToFileURL(document_path).href, { waitUntil: 'load' });
  await serious_findings(page, 'the match days');
  // Each week's block: its heading and the day of each of its rows.
  const blocks = await page.$$eval('#spieltage ~ section.block', (sections) => sections.map((section) => ({
    heading: section.querySelector('caption').textContent,
    days: Array.from(section.querySelectorAll('tbody tr .tag'), (cell) => cell.textContent),
    opponents: Array.from(section.querySelectorAll('tbody tr td:nth-child(4)'), (cell) => cell.textContent),
    // A called-off row as the browser shows it: marked, and every cell struck through.
    called_off: Array.from(section.querySelectorAll('tbody tr.abgesagt'), (row) => ({
      marked: row.querySelector('span.absage')?.textContent === 'abgesagt',
      struck: Array.from(row.cells).every((cell) => getComputedStyle(cell).textDecorationLine.includes('line-through')),
    })),
  })).filter((block) => block.heading.startsWith('KW')));
  const rows = blocks.reduce((count, block) => count + block.days.length, 0);
  // The console counts each team's matches, and its called-off ones apart: "3 Spiele, 1 abgesagt".
  const count = (pattern) => (run.console.match(pattern) || []).reduce((sum, line) => sum + +line.match(/\d+/)[0], 0);
  const matches = count(/: (\d+) Spiele/g);
  const called_off = count(/ Spiele, (\d+) abgesagt/g);
  check(rows === matches + called_off && called_off > 0,
        `the match days list every match, week by week: ${rows} rows for ${matches} matches and ${called_off} called off`);
  const struck = blocks.flatMap((block) => block.called_off);
  check(struck.length === called_off && struck.every((row) => row.marked && row.struck),
        `each called-off match is the one row struck through and marked "abgesagt": ${JSON.stringify(struck)}`);
  const pdf_path = path.join(out_dir, 'spieltage.pdf');
  await page.pdf({ path: pdf_path, format: 'A4', preferCSSPageSize: true });
  await page.close();

  const pdftotext = spawnSync('pdftotext', ['-v']);
  if (pdftotext.error) {
    console.log('SKIPPED the printed match days: pdftotext is not installed (Debian package poppler-utils)');
    return;
  }
  const page_texts = [];
  for (let number = 1; ; ++number) {
    const text = spawnSync('pdftotext', ['-f', String(number), '-l', String(number), '-layout', pdf_path, '-']);
    if (text.status !== 0) break;
    page_texts.push(text.stdout.toString('utf8'));
  }
  const squeezed = (text) => text.replace(/\s+/g, '');
  const all = squeezed(page_texts.join(''));
  const missing = blocks.flatMap((block) => block.opponents).filter((name) => !all.includes(squeezed(name)));
  check(page_texts.length > 0 && missing.length === 0,
        `the printed match days (${page_texts.length} A4 pages) hold every opponent${missing.length ? ': not ' + missing.join(', ') : ''}`);
  const split = blocks.filter((block) => {
    const page_of = page_texts.findIndex((text) => squeezed(text).includes(squeezed(block.heading)));
    if (page_of < 0) return true;
    const on_page = squeezed(page_texts[page_of]);
    return block.days.some((day) => on_page.split(squeezed(day)).length - 1 <
                                    block.days.filter((other) => other === day).length);
  });
  check(split.length === 0, `every week's block stands on one printed page${split.length ? ': not ' + split.map((block) => block.heading).join('; ') : ''}`);

  const phone = await browser.newPage();
  await phone.setViewport(k_phone);
  await phone.goto(pathToFileURL(document_path).href, { waitUntil: 'load' });
  const width = await phone.evaluate(() => document.documentElement.scrollWidth);
  check(width <= k_phone.width, `the match days fit a ${k_phone.width}-pixel phone (${width} pixels wide)`);
  await phone.screenshot({ path: path.join(out_dir, 'spieltage-phone.png'), fullPage: true });
  await phone.close();
}

async function main() {
  fs.mkdirSync(out_dir, { recursive: true });
  const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'termarium-downloads-'));
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'termarium-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: k_chromium,
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--disable-dev-shm-usage'],
  });
  try {
    const page_url = pathToFileURL(path.resolve(page_path)).href;
    const foreign = [];
    const errors = [];
    // A page as the tests open it: every request but the page's own and its downloads,
    // every error and every refusal of the content security policy is recorded.
    const open_page = async (viewport) => {
      const opened = await browser.newPage();
      await opened.setViewport(viewport);
      opened.on('request', (request) => {
        const url = request.url();
        if (url !== page_url && !url.startsWith('blob:')) foreign.push(url.slice(0, 80));
      });
      const record = (text) => { if (!errors.includes(text.slice(0, 160))) errors.push(text.slice(0, 160)); };
      opened.on('pageerror', (error) => record(String(error)));
      opened.on('console', (message) => { if (message.type() === 'error') record(message.text()); });
      await opened.evaluateOnNewDocument(() => {
        document.addEventListener('securitypolicyviolation', (event) => {
          console.error(`content security policy: ${event.violatedDirective} refused ${event.blockedURI}`);
        });
      });
      await opened.goto(page_url, { waitUntil: 'load' });
      return opened;
    };
    const page = await open_page({ width: 1000, height: 900 });
    check(await page.evaluate(() => typeof window.termarium?.run === 'function'), 'the page offers window.termarium.run');
    await serious_findings(page, 'the page as it opens');

    // --- Through the file chooser, as a volunteer does it -----------------------------
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    const chooser = await page.$('#dateiwahl');
    const chosen = [k_samples[3], k_samples[0], k_samples[1]];
    await chooser.uploadFile(...chosen.map((name) => path.join(examples_dir, name)));
    // U19-1 was chosen first; one step down puts Herren1 first, and so its season and folder.
    await page.click(`#dateiliste li:nth-child(1) button[aria-label="${k_samples[3]} nach unten"]`);
    const listed = await page.$$eval('#dateiliste .name', (names) => names.map((name) => name.textContent));
    const order = [k_samples[0], k_samples[3], k_samples[1]];
    check(JSON.stringify(listed) === JSON.stringify(order), `the list shows the changed order: ${listed.join(', ')}`);
    check(await focused(page) === `${k_samples[3]} nach unten`, 'the focus stays on the moved file\'s button');
    await serious_findings(page, 'three files chosen');
    await page.click('#starten');
    const shown = await wait_for_console(page);
    const linux = linux_run(order.map(read_example));
    check(linux.console.includes(k_closing_prompt) && shown === linux.console.replace(k_closing_prompt, ''),
          'file chooser: the console text of the Linux program, without its closing prompt');
    check(await focused(page) === 'ergebnis-titel', 'after the run the focus is on the result');
    await serious_findings(page, 'after a run');
    const links = await page.$$eval('#downloads a', (anchors) => anchors.map((anchor) => anchor.download));
    check(JSON.stringify(links) === JSON.stringify(Object.keys(linux.outputs).sort()),
          `file chooser: downloads under the program's names: ${links.join(', ')}`);
    check(links.includes('Termarium_2025-2026.ics'), 'file chooser: the club calendar is offered for download');
    for (const name of links) {
      await page.click(`#downloads a[download="${name}"]`);
      const saved = await downloaded(downloads, name);
      check(saved !== null && same_file(name, saved, linux.outputs[name]),
            `file chooser: the downloaded ${name} is the Linux program's, byte for byte` +
            (name.endsWith('.ics') ? ' (its time stamps aside)' : ''));
      if (saved !== null && name.endsWith('.ics')) {
        check(stamped_now(saved), `file chooser: ${name} is stamped with the time of its run`);
      }
    }
    const plan_name = 'Termarium_2025-2026_Spieltage.html';
    check(links.includes(plan_name), 'file chooser: the match days are offered for download');
    const plan_shown = await page.$eval('#spieltage', (frame) => frame.srcdoc);
    check(linux.outputs[plan_name] !== undefined &&
          same_file(plan_name, Buffer.from(plan_shown, 'utf8'), linux.outputs[plan_name]),
          'the match days are shown as the Linux program wrote them');
    await page.click('#drucken');  // printing from the frame must raise no error (recorded below)
    const preview = await page.$eval('#vorschau', (frame) => frame.srcdoc);
    check(preview.includes('Jugend_U19_1') && preview.includes('td.Jugend_U19_1'),
          'the preview shows the table with the stylesheet of its classes');
    await page.screenshot({ path: path.join(out_dir, 'termarium-page.png'), fullPage: true });

    // The club's table on a phone: the page stays within the screen, the table scrolls
    // sideways inside it.
    const phone = await browser.newPage();
    await phone.setViewport(k_phone);
    await phone.setContent(preview, { waitUntil: 'load' });
    const widths = await phone.evaluate(() => {
      const table = document.querySelector('table');
      return { page: document.documentElement.scrollWidth, screen: window.innerWidth, table: table.clientWidth,
               content: table.scrollWidth };
    });
    check(widths.screen === k_phone.width && widths.page <= widths.screen && widths.table <= widths.screen &&
          widths.content > widths.table,
          `the club's table on a ${k_phone.width}-pixel phone scrolls inside the page: ${JSON.stringify(widths)}`);
    await phone.screenshot({ path: path.join(out_dir, 'club-table-phone.png') });
    await phone.close();

    // A failure: the program's message, and nothing to download.
    await page.click('#leeren');
    const truncated = path.join(downloads, 'Spielplan_2025-2026_abgeschnitten.ics');
    const sample = fs.readFileSync(path.join(examples_dir, k_samples[0]));
    fs.writeFileSync(truncated, sample.subarray(0, sample.length >> 1));
    await chooser.uploadFile(truncated);
    await page.click('#starten');
    const failed = await wait_for_console(page);
    const linux_failed = linux_run([{ name: path.basename(truncated), bytes: fs.readFileSync(truncated) }]);
    check(failed === linux_failed.console.replace(k_closing_prompt, '') && linux_failed.status === 1,
          'file chooser, cut file: the program\'s message, without its closing prompt');
    check(await page.$eval('#ergebnis', (element) => element.hidden) &&
          (await page.$$('#downloads a')).length === 0, 'file chooser, cut file: no download is offered');
    check(await page.$eval('#fehler', (element) => !element.hidden && element.getAttribute('role') === 'alert' &&
                           element.querySelector('h2').textContent.startsWith('Fehler')) &&
          await page.$eval('#konsole', (element) => element.classList.contains('fehler')) &&
          await focused(page) === 'fehler-titel',
          'file chooser, cut file: the failure is marked, announced and has the focus');
    await serious_findings(page, 'after a failure');
    await page.screenshot({ path: path.join(out_dir, 'termarium-page-failure.png'), fullPage: true });

    // --- A whole league's file: the page offers the clubs the program asks about ---------
    await page.click('#leeren');
    const league_path = path.join(examples_dir, 'ganze-liga', 'Volleyball_2025-2026_BK26F.ics');
    const league = { name: path.basename(league_path), bytes: fs.readFileSync(league_path) };
    await chooser.uploadFile(league_path);
    await page.click('#starten');
    await page.waitForSelector('#vereinswahl:not([hidden])', { timeout: k_run_limit_ms });
    const asked = linux_run([league]);
    const clubs_listed = [...asked.console.matchAll(/^ {2}(\d+) (.*)$/gm)].map((found) => `${found[1]} ${found[2]}`);
    const offered = await page.$$eval('#verein option', (options) => options.map((option) => `${option.value} ${option.textContent}`));
    check(asked.status === 1 && clubs_listed.length === 6 && JSON.stringify(offered) === JSON.stringify(clubs_listed),
          `league file: the page offers the clubs the program lists: ${offered.join(', ')}`);
    check(await focused(page) === 'vereinswahl-titel' && await page.$eval('#fehler', (element) => element.hidden),
          'league file: the question has the focus and is no failure');
    await serious_findings(page, 'the club to choose');
    await page.select('#verein', '4');
    await page.click('#verein-weiter');
    await page.waitForSelector('#ergebnis:not([hidden])', { timeout: k_run_limit_ms });
    const answered = linux_run([league], '4');
    const answered_shown = await page.$eval('#konsole', (element) => element.textContent);
    check(answered.status === 0 && answered.console.includes('SV Ostheim VI (BK26F): 14 Spiele\n') &&
          answered_shown === answered.console.replace(k_closing_prompt, ''),
          'league file: the chosen club gives the Linux program\'s run with that answer');
    const league_links = await page.$$eval('#downloads a', (anchors) => anchors.map((anchor) => anchor.download));
    check(JSON.stringify(league_links) === JSON.stringify(Object.keys(answered.outputs).sort()),
          `league file: the outputs are offered: ${league_links.join(', ')}`);
    await page.click('#leeren');

    // --- By keyboard alone, as a volunteer without a mouse ------------------------------
    const keyboard_downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'termarium-keyboard-'));
    const keys = await open_page({ width: 1000, height: 900 });
    const keys_cdp = await keys.createCDPSession();
    await keys_cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: keyboard_downloads });
    await keys.keyboard.press('Tab');
    check(await focused(keys) === 'auswaehlen', 'keyboard: the first Tab stop is the file chooser');
    const file_dialog = await press_for_file_chooser(keys);
    await file_dialog.accept(chosen.map((name) => path.join(examples_dir, name)));
    await keys.waitForSelector('#dateiliste li:nth-child(3)');
    const down = `${k_samples[3]} nach unten`;
    check(await tab_to(keys, `return element.getAttribute('aria-label') === ${JSON.stringify(down)};`),
          'keyboard: Tab reaches the first file\'s "nach unten"');
    await keys.keyboard.press('Space');
    check(await focused(keys) === down, 'keyboard: after Space the focus stays on the moved file\'s button');
    check(await tab_to(keys, "return element.id === 'starten';"), 'keyboard: Tab reaches "Spielplan erstellen"');
    await keys.keyboard.press('Enter');
    await wait_for_console(keys);
    check(await focused(keys) === 'ergebnis-titel', 'keyboard: after the run the focus is on the result');
    const first_link = Object.keys(linux.outputs).sort()[0];
    check(await tab_to(keys, `return element.getAttribute('download') === ${JSON.stringify(first_link)};`, 3),
          'keyboard: the next Tab stop is the first download');
    await keys.keyboard.press('Enter');
    const saved_by_keys = await downloaded(keyboard_downloads, first_link);
    check(saved_by_keys !== null && same_file(first_link, saved_by_keys, linux.outputs[first_link]),
          `keyboard: Enter downloads ${first_link}, the Linux program's byte for byte`);
    await keys.close();
    fs.rmSync(keyboard_downloads, { recursive: true, force: true });

    // --- Through window.termarium.run ---------------------------------------------------
    const samples = k_samples.map(read_example);
    const first_week = await compare_run(page, 'the six samples', samples, 0);
    await compare_run(page, 'the six samples again, from a fresh program', samples, 0);
    // A week later the league has moved the first match by a day; the page has no folder
    // to find the last club calendar in, so the volunteer adds it among the files, and the
    // run reports what changed since, in the console and atop the match days.
    const plan_of = (run) => Buffer.from(run.outputs['Termarium_2025-2026_Spieltage.html'] || []).toString('utf8');
    const moved = { name: samples[0].name,
      bytes: Buffer.from(samples[0].bytes.toString('utf8').replaceAll('20250913T', '20250914T')) };
    const next_week = await compare_run(page, 'the samples a week later, with last week\'s club calendar',
      [moved, ...samples.slice(1),
       { name: 'Termarium_2025-2026.ics', bytes: Buffer.from(first_week.outputs['Termarium_2025-2026.ics']) }], 0);
    const since = next_week.console.match(/^Seit dem letzten Lauf \(([A-Z][a-z], \d\d\.\d\d\.\d{4})\): (.*)$/m);
    check(!first_week.console.includes('Seit dem letzten Lauf') && since !== null && since[2] === '0 neu, 1 verlegt, 0 abgesagt',
          `a week later: the page's console counts the changes since the last run: ${since ? since[0] : 'no such line'}`);
    check(!plan_of(first_week).includes('Änderungen seit dem') && since !== null &&
          plan_of(next_week).includes(`>Änderungen seit dem ${since[1]}</h2>`) &&
          plan_of(next_week).includes('<li>verlegt: TuS Lindenbrück 1 (Bezirksklasse Nord) gegen SG Oberhain 1: ' +
                                      'Sa, 13.09.2025 19:30, Lindenbrück → So, 14.09.2025 19:30, Lindenbrück</li>'),
          'a week later: the match days begin with the changes since that run, the moved match among them');
    // Last week's club calendar and a note in front of the calendars: both skipped, and
    // the outputs are offered from the folder of the first calendar read.
    await compare_run(page, 'a note and the last club calendar chosen first', [
      { name: 'notiz.txt', bytes: Buffer.from('Hallenschluessel bei Frau Berg\n') },
      { name: 'Termarium_2025-2026.ics', bytes: Buffer.from(first_week.outputs['Termarium_2025-2026.ics']) },
      samples[0], samples[1]], 0);
    await compare_run(page, 'a league file with the club by name', [league], 0, 'sv ostheim');
    await compare_run(page, 'a league file beside the club\'s last club calendar', [league,
      { name: 'Termarium_2025-2026.ics', bytes: Buffer.from(linux_run([league], '4').outputs['Termarium_2025-2026.ics']) }], 0);
    await compare_run(page, 'a file the browser cannot read', [samples[0], { name: samples[1].name, bytes: null }], 1);
    await compare_run(page, 'a file in UTF-16', [{ name: 'Spielplan_2025-2026_UTF16.ics',
      bytes: Buffer.concat([Buffer.from([0xFF, 0xFE]), Buffer.from(samples[0].bytes.toString('utf8'), 'utf16le')]) }], 1);
    await compare_run(page, 'a name of 150 bytes', [{ name: 'Spielplan_2025-2026_' + 'x'.repeat(126) + '.ics',
      bytes: samples[0].bytes }], 1);
    await compare_run(page, 'no file at all', [], 1);
    await compare_run(page, '41 files', Array.from({ length: 41 }, () => samples[5]), 1);
    // Each copy with a line of its own, so that none is left out as the same file again.
    const distinct_copy = (sample, i) => ({ name: sample.name, bytes: Buffer.from(sample.bytes.toString('utf8')
      .replace('END:VCALENDAR', `X-KOPIE:${i}\r\nEND:VCALENDAR`)) });
    await compare_run(page, 'every sample seven times', Array.from({ length: 40 }, (_, i) => distinct_copy(samples[i % 6], i)), 0);
    await compare_run(page, 'a name without a season and the same download again',
      [{ name: 'spielplan (1).ics', bytes: samples[0].bytes }, samples[0], samples[1]], 0);
    // Team names inside each other, starts in the zone names of calendar programs; then a
    // start in a zone the program cannot convert.
    const calendar = (events) => ({ name: 'handball-ost.ics', bytes: Buffer.from('BEGIN:VCALENDAR\nVERSION:2.0\n' +
      events.map(([summary, start], i) => `BEGIN:VEVENT\nUID:s-${i}\n${start}\nSUMMARY:${summary}\nEND:VEVENT\n`).join('') +
      'END:VCALENDAR\n') });
    // Forty files of 125 matches: with their separators, 40 rows more than the table holds.
    const crowded = (team) => calendar(Array.from({ length: 125 }, (_, i) =>
      [`TV Ost ${team} - SG Nord ${i}`, `DTSTART:202510${String(i % 28 + 1).padStart(2, '0')}T150000`]));
    await compare_run(page, 'forty files of 125 matches: too many matches', Array.from({ length: 40 }, (_, i) => crowded(i)), 1);
    await compare_run(page, 'whole team names and the zones of calendar programs', [calendar([
      ['TV Oststadt - TV Ost (Kreisliga)', 'DTSTART;TZID=/freeassociation.sourceforge.net/Europe/Berlin:20251004T150000'],
      ['TV Ost - SG Nord (Kreisliga)', 'DTSTART;TZID="W. Europe Standard Time":20251011T150000']])], 0);
    await compare_run(page, 'a start in an unknown time zone', [calendar([
      ['TV Ost - SG Nord (Kreisliga)', 'DTSTART;TZID=America/New_York:20251011T150000']])], 1);
    await check_match_days(browser);

    const workload = workload_files();
    check(workload.length === 40, `the workload holds 40 calendars (${workload.length})`);
    const largest = await compare_run(page, 'the 40-file run of 499 table rows', workload, 0);
    check((largest.console.match(/ Spiele\n/g) || []).length === 40, 'the 40-file run reads every file');
    const large = await compare_run(page, 'the large run of 4,840 table rows', workload_files('gross'), 0);
    check((large.console.match(/: 120 Spiele\n/g) || []).length === 40, 'the large run reads every file whole');

    check(foreign.length === 0, `no request besides the page itself${foreign.length ? ': ' + foreign.join(' ') : ''}`);
    check(errors.length === 0, `no error and no refusal of the content security policy${errors.length ? ': ' + errors.join(' | ') : ''}`);
  } finally {
    await browser.close();
    fs.rmSync(downloads, { recursive: true, force: true });
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(failures === 0 ? 'PASSED' : `FAILED: ${failures} check(s)`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((error) => {
  console.log('FAILED: ' + (error && error.stack ? error.stack : error));
  process.exit(1);
});
