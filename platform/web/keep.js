// What the game keeps between visits, in the browser: settings.ini in localStorage, the best
// games (their table and a recording each) in IndexedDB through the file system's IDBFS. The
// game reads and writes them as files under /keep, as it does in the XDG folders on Linux; this
// loads them before it starts and saves them as they change. Storage the browser refuses leaves
// the game a folder it cannot write, as a read-only disk would, and the game says so once.
(function () {
  const SETTINGS_KEY = 'zorvex/settings.ini';
  const SETTINGS = '/keep/config/zorvex/settings.ini';
  const TABLE = '/keep/data/zorvex/best-games.txt';

  const sync = (FS, load) => new Promise((ok, fail) => FS.syncfs(load, (e) => e ? fail(e) : ok()));
  const read = (FS, path) => FS.analyzePath(path).exists ? FS.readFile(path, {encoding: 'utf8'})
                                                         : null;
  // A file where the folder would be: nothing can be made under it.
  const refuse = (FS, folder) => FS.writeFile(folder, '');

  async function load(Module) {
    const FS = Module.FS;
    for (const dir of ['/keep', '/keep/config', '/keep/data']) FS.mkdir(dir);
    let settings;
    try {
      settings = localStorage.getItem(SETTINGS_KEY);
      localStorage.setItem(`${SETTINGS_KEY}.probe`, '1');
      localStorage.removeItem(`${SETTINGS_KEY}.probe`);
      FS.mkdir('/keep/config/zorvex');
      if (settings !== null) FS.writeFile(SETTINGS, settings);
    } catch (e) {
      refuse(FS, '/keep/config/zorvex');
    }
    let dataKept = true;
    try {
      FS.mount(Module.IDBFS, {}, '/keep/data');
      await sync(FS, true);
    } catch (e) {
      dataKept = false;
      try { FS.unmount('/keep/data'); } catch (ignored) { /* never mounted */ }
      refuse(FS, '/keep/data/zorvex');
    }
    let savedSettings = settings;
    let savedTable = read(FS, TABLE);
    let saving = false;
    const save = () => {
      const now = read(FS, SETTINGS);
      if (now !== null && now !== savedSettings) {
        try { localStorage.setItem(SETTINGS_KEY, now); } catch (e) { console.warn(`settings not saved: ${e}`); }
        savedSettings = now;
      }
      const table = read(FS, TABLE);
      if (dataKept && table !== savedTable && !saving) {
        saving = true;
        sync(FS, false).then(() => { savedTable = table; },
                             (e) => console.warn(`best games not saved: ${e}`))
                       .finally(() => { saving = false; });
      }
    };
    setInterval(save, 500);
    addEventListener('pagehide', save);
  }

  // The best games as the table lists them: [{rank, score, level, date}].
  function games(Module) {
    const text = Module && read(Module.FS, TABLE);
    if (!text) return [];
    return text.split('\n').filter((l) => l && l[0] !== '#').map((l, i) => {
      const [score, level, date] = l.split(' ');
      return {rank: i + 1, score, level, date};
    });
  }

  // The page's control: a list of the best games, each to watch (the page again, with --watch N).
  function control(Module, button, list) {
    button.addEventListener('click', () => {
      list.replaceChildren();
      const all = games(Module);
      if (!all.length) list.textContent = 'No best games yet.';
      for (const g of all) {
        const watch = document.createElement('button');
        watch.type = 'button';
        watch.textContent = `Watch #${g.rank}: ${g.score} points, level ${g.level}, ${g.date}`;
        watch.addEventListener('click', () => location.assign(`?watch=${g.rank}`));
        list.append(watch);
      }
      list.hidden = !list.hidden;
    });
  }

  window.zorvexKeep = {load, games, control};
})();
