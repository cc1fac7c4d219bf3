// The page around the program: it hands the chosen calendar files to a fresh instance of
// the program (built to WebAssembly) for every run, exactly as a drop on the program's
// icon would, and shows what the program printed and the two schedules, the club calendar
// and the match days it wrote.
// window.termarium.run(files) is the one way in, for the page's own button, for tests
// and for clubs that embed the page.
(function () {
  'use strict';

  // Each file goes into a folder of its own, numbered in reading order, so that two
  // files of the same name both arrive; the schedules land in the folder of the first
  // file that is read.
  const k_work_folder = '/Spielplaene';
  const k_output_types = { '.xml': 'application/xml', '.html': 'text/html', '.ics': 'text/calendar' };

  // The bytes of a File, or of {name, bytes}; null when the browser cannot read them.
  async function read_bytes(file) {
    try {
      if (typeof Blob !== 'undefined' && file instanceof Blob) return new Uint8Array(await file.arrayBuffer());
      if (file && file.bytes instanceof Uint8Array) return file.bytes;
      if (file && (file.bytes instanceof ArrayBuffer || Array.isArray(file.bytes))) return new Uint8Array(file.bytes);
    } catch (error) {
      // An unreadable file is not put in place: the program then reports it cannot open it.
    }
    return null;
  }

  function name_of(file) {
    return file && typeof file.name === 'string' ? file.name : '';
  }

  // The program asks for the club when it reads league files and knows none; the page
  // offers the clubs it lists as a choice and hands the choice over as typed input.
  const k_club_question = 'In den Liga-Dateien spielen diese Vereine:\n';
  const k_club_line = /^  (\d+) (.*)$/;

  // The clubs the console lists in its question, [{number, name}]; empty when it asked none.
  function clubs_asked(console_text) {
    const at = console_text.indexOf(k_club_question);
    if (at < 0) return [];
    const clubs = [];
    for (const line of console_text.slice(at + k_club_question.length).split('\n')) {
      const found = k_club_line.exec(line);
      if (!found) break;
      clubs.push({ number: found[1], name: found[2] });
    }
    return clubs;
  }

  // Runs the program once over the files, in their order; answer, where given, is the
  // line standard input holds (the club), else standard input ends at once. Resolves to
  // the exit status, the console text exactly as printed, every file the run wrote, by
  // name, and the clubs the program asked to choose from (empty when it asked nothing).
  async function run(files, answer) {
    const list = Array.from(files || []);
    const contents = await Promise.all(list.map(read_bytes));
    const printed = [];
    const typed = typeof answer === 'string' ? Array.from(new TextEncoder().encode(answer + '\n')) : [];
    const program = await createTermarium({
      print: function () {},
      printErr: function () {},
      preRun: [function (module) {
        // Standard input holds the answer, if any, and then ends, so the wait for Enter
        // ends at once; standard output arrives byte by byte, so that nothing is decoded twice.
        module.FS.init(function () { return typed.length > 0 ? typed.shift() : null; },
                       function (byte) { if (byte !== null) printed.push(byte); },
                       function () {});
      }],
    });
    const fs = program.FS;
    fs.mkdir(k_work_folder);
    fs.chdir(k_work_folder);
    const args = list.map(function (file, index) {
      const folder = String(index + 1);
      const path = folder + '/' + name_of(file);
      fs.mkdir(folder);
      if (contents[index] !== null) {
        try {
          fs.writeFile(path, contents[index]);
        } catch (error) {
          // A name the file system refuses: the program reports the file as unopenable.
        }
      }
      return path;
    });
    // The outputs land in the folder of the first file the program read, which need not
    // be the first one chosen (a skipped file may stand before it): whatever a folder
    // holds beside its one input is an output.
    const status = program.callMain(args);

    const outputs = {};
    list.forEach(function (file, index) {
      const folder = String(index + 1);
      for (const name of fs.readdir(folder)) {
        if (name === '.' || name === '..' || name === name_of(file)) continue;
        const path = folder + '/' + name;
        if (fs.isFile(fs.stat(path).mode)) outputs[name] = fs.readFile(path);
      }
    });
    const console_text = new TextDecoder().decode(new Uint8Array(printed));
    const clubs = typeof answer === 'string' ? [] : clubs_asked(console_text);
    return { status: status, console: console_text, outputs: outputs, clubs: clubs };
  }

  window.termarium = { run: run };

  // --- The page's own controls ----------------------------------------------------

  const drop_zone = document.getElementById('ablage');
  const choose_button = document.getElementById('auswaehlen');
  const chooser = document.getElementById('dateiwahl');
  const file_list = document.getElementById('dateiliste');
  const start_button = document.getElementById('starten');
  const clear_button = document.getElementById('leeren');
  const console_view = document.getElementById('konsole');
  const failure = document.getElementById('fehler');
  const failure_heading = document.getElementById('fehler-titel');
  const result = document.getElementById('ergebnis');
  const result_heading = document.getElementById('ergebnis-titel');
  const downloads = document.getElementById('downloads');
  const preview = document.getElementById('vorschau');
  const match_days = document.getElementById('spieltage');
  const print_button = document.getElementById('drucken');
  const club_choice = document.getElementById('vereinswahl');
  const club_heading = document.getElementById('vereinswahl-titel');
  const club_select = document.getElementById('verein');
  const club_button = document.getElementById('verein-weiter');
  const table_style = document.getElementById('tabellenstil').textContent;

  let chosen = [];         // the files in reading order
  let download_urls = [];  // object URLs of the current downloads, released on the next run

  // A button of a file's list entry; its name says what it does to which file, since
  // the arrow alone means nothing to a screen reader.
  function small_button(symbol, action_text, file, enabled, action) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = symbol;
    button.dataset.action = action_text;
    button.setAttribute('aria-label', name_of(file) + ' ' + action_text);
    button.title = action_text;
    button.disabled = !enabled;
    button.addEventListener('click', action);
    return button;
  }

  // The focus stays with the file that moved: on the same kind of button, or on the
  // other arrow where this one has reached the end of the list.
  function move(index, offset) {
    const target = index + offset;
    if (target < 0 || target >= chosen.length) return;
    const moved = chosen[index];
    chosen[index] = chosen[target];
    chosen[target] = moved;
    show_list();
    const buttons = file_list.children[target].querySelectorAll('button');
    const wanted = offset < 0 ? 0 : 1;
    (buttons[wanted].disabled ? buttons[1 - wanted] : buttons[wanted]).focus();
  }

  // After a file left the list, the focus goes to the entry that took its place, or to
  // the one before it, or back to choosing files.
  function remove(index) {
    chosen.splice(index, 1);
    show_list();
    const entry = file_list.children[Math.min(index, chosen.length - 1)];
    (entry ? entry.querySelector('button:last-of-type') : choose_button).focus();
  }

  function show_list() {
    file_list.textContent = '';
    chosen.forEach(function (file, index) {
      const item = document.createElement('li');
      const name = document.createElement('span');
      name.className = 'name';
      name.textContent = name_of(file);
      item.appendChild(name);
      item.appendChild(small_button('▲', 'nach oben', file, index > 0, function () { move(index, -1); }));
      item.appendChild(small_button('▼', 'nach unten', file, index < chosen.length - 1, function () { move(index, 1); }));
      item.appendChild(small_button('✕', 'aus der Liste nehmen', file, true, function () { remove(index); }));
      file_list.appendChild(item);
    });
    start_button.disabled = chosen.length === 0;
    clear_button.disabled = chosen.length === 0;
  }

  function add_files(files) {
    chosen = chosen.concat(Array.from(files));
    show_list();
  }

  function release_downloads() {
    downloads.textContent = '';
    download_urls.forEach(function (url) { URL.revokeObjectURL(url); });
    download_urls = [];
  }

  // The match days end like the table fragment in ".html"; only their name tells them apart.
  const k_match_days_tail = '_Spieltage.html';

  function show_outputs(outputs) {
    let fragment = null;
    let plan = null;
    for (const name of Object.keys(outputs).sort()) {
      const extension = name.slice(name.lastIndexOf('.'));
      const blob = new Blob([outputs[name]], { type: k_output_types[extension] || 'application/octet-stream' });
      const url = URL.createObjectURL(blob);
      download_urls.push(url);
      const link = document.createElement('a');
      link.href = url;
      link.download = name;
      link.textContent = name + ' herunterladen';
      downloads.appendChild(link);
      if (name.endsWith(k_match_days_tail)) {
        plan = new TextDecoder().decode(outputs[name]);
      } else if (extension === '.html') {
        fragment = new TextDecoder().decode(outputs[name]);
      }
    }
    // The table as the club's page shows it; sandboxed, so that nothing in it runs.
    preview.srcdoc = '<!DOCTYPE html><html lang="de"><head><meta charset="utf-8">' +
                     '<meta name="viewport" content="width=device-width, initial-scale=1"><style>body{margin:8px}' +
                     table_style + '</style></head><body>' + (fragment || '') + '</body></html>';
    // The match days are a whole document of their own, with no script in it; its frame
    // may be printed from here, and nothing in it can run.
    match_days.srcdoc = plan || '';
    result.hidden = false;
  }

  // Takes the user to what the run gave: its heading gets the focus, and the view (on a
  // phone far below) moves there.
  function point_to(heading) {
    heading.focus({ preventScroll: true });
    heading.scrollIntoView({ block: 'start' });
  }

  // Offers the clubs the program asked about; the next run takes the one chosen.
  function offer_clubs(clubs) {
    club_select.textContent = '';
    for (const club of clubs) {
      const option = document.createElement('option');
      option.value = club.number;
      option.textContent = club.name;
      club_select.appendChild(option);
    }
    club_choice.hidden = false;
  }

  // One run over the chosen files, answer the club's line for standard input (undefined
  // for none); shows what it gave.
  async function start_run(answer) {
    start_button.disabled = true;
    club_button.disabled = true;
    release_downloads();
    result.hidden = true;
    failure.hidden = true;
    club_choice.hidden = true;
    console_view.classList.remove('fehler');
    console_view.textContent = 'Der Spielplan wird erstellt …';
    let succeeded = false;
    let asked = false;
    try {
      const outcome = await run(chosen, answer);
      console_view.textContent = outcome.console;
      if (outcome.status === 0) {
        show_outputs(outcome.outputs);
        succeeded = true;
      } else if (outcome.clubs.length > 0) {
        offer_clubs(outcome.clubs);
        asked = true;
      }
    } catch (error) {
      console_view.textContent = 'Das Programm konnte im Browser nicht laufen: ' + error;
    }
    if (!succeeded && !asked) {
      console_view.classList.add('fehler');
      failure.hidden = false;
    }
    start_button.disabled = chosen.length === 0;
    club_button.disabled = false;
    point_to(succeeded ? result_heading : asked ? club_heading : failure_heading);
  }

  function start() { return start_run(undefined); }

  choose_button.addEventListener('click', function () { chooser.click(); });
  chooser.addEventListener('change', function () {
    add_files(chooser.files);
    chooser.value = '';  // the same file may be chosen again
  });
  drop_zone.addEventListener('dragover', function (event) {
    event.preventDefault();
    drop_zone.classList.add('ziel');
  });
  drop_zone.addEventListener('dragleave', function () { drop_zone.classList.remove('ziel'); });
  drop_zone.addEventListener('drop', function (event) {
    event.preventDefault();
    drop_zone.classList.remove('ziel');
    if (event.dataTransfer) add_files(event.dataTransfer.files);
  });
  // Files dropped beside the zone are not opened by the browser instead.
  window.addEventListener('dragover', function (event) { event.preventDefault(); });
  window.addEventListener('drop', function (event) { event.preventDefault(); });
  start_button.addEventListener('click', start);
  club_button.addEventListener('click', function () { start_run(club_select.value); });
  print_button.addEventListener('click', function () { match_days.contentWindow.print(); });
  clear_button.addEventListener('click', function () {
    chosen = [];
    club_choice.hidden = true;
    show_list();
    choose_button.focus();
  });
  show_list();
}());
