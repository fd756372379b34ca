// page.js -- the page's side of the web build, put in front of lamplight.js:
// the run folder fetched into the game's working folder, the layers kept in
// the browser's storage, the canvas, keys, mouse, timer ticks and Web Audio
// that Allegro's web platform (packaging/web/allegro-patches) asks for.
'use strict';

// The files of the run folder, served from game/ beside the page.
var LAMPLIGHT_DATAFILES = ['data.dat', 'guy.dat', 'monster.dat', 'patches.dat'];
var LAMPLIGHT_LAYERS = ['map.map', 'obj.map', 'mob.map'];
var LAMPLIGHT_PLAY = '/play'; // the game's working folder (in memory)
var LAMPLIGHT_SAVE = '/save'; // the edited layers, kept in IndexedDB

var lamplightPage = {
  params: new URLSearchParams(window.location.search),
  canvas: null,     // the game's screen
  scale: 1,         // device pixels per game pixel
  keysDown: {},     // browser key codes held, for letting go on blur
  audio: null,      // {context, node} while the game's sound is open
  timer: 0,         // the interval that runs Allegro's timer queue
  storageSaves: 0,  // layer saves written to the browser's storage
  saving: false,
  saveAgain: false,
  replay: null,     // the recording ?replay= names, or null
};

// One line of the page's output: what the game prints, and the page's own notes.
function lamplightLine(text, kind) {
  var out = document.getElementById('output');
  if (!out) { console.log(text); return; }
  var line = document.createElement('div');
  line.className = kind || 'stdout';
  line.textContent = text;
  out.appendChild(line);
}

// The options the page's address gives: ?replay=NAME.rec plays a recording
// shipped in game/, ?scale=N fixes the scale (1..8), ?speed=N makes rest() N
// times shorter (2..50; for watching recordings quickly).
function lamplightOption(name, low, high) {
  var text = lamplightPage.params.get(name);
  if (text === null) return 0;
  var n = /^[0-9]+$/.test(text) ? parseInt(text, 10) : NaN;
  if (!(n >= low && n <= high)) {
    lamplightLine('?' + name + '=' + text + ': must be a whole number ' + low + '..' + high + '; ignored', 'stderr');
    return 0;
  }
  return n;
}

function lamplightReplayName() {
  var name = lamplightPage.params.get('replay');
  if (name === null) return null;
  if (!/^[A-Za-z0-9_-]+\.rec$/.test(name)) {
    lamplightLine('?replay=' + name + ': a recording is named like solution.rec; ignored', 'stderr');
    return null;
  }
  return name;
}

// The largest whole number of device pixels per game pixel that fits the
// page beside its controls (or the one ?scale= asks for).
function lamplightFit() {
  var c = lamplightPage.canvas;
  if (!c || !c.width) return;
  var dpr = window.devicePixelRatio || 1;
  var bar = document.getElementById('controls');
  var roomW = window.innerWidth * dpr;
  var roomH = (window.innerHeight - (bar ? bar.offsetHeight : 0) - 8) * dpr;
  var k = lamplightOption('scale', 1, 8) ||
          Math.max(1, Math.floor(Math.min(roomW / c.width, roomH / c.height)));
  lamplightPage.scale = k;
  c.style.width = (c.width * k / dpr) + 'px';
  c.style.height = (c.height * k / dpr) + 'px';
}

async function lamplightFetch(name) {
  try {
    var response = await fetch('game/' + name);
    if (!response.ok) return null;
    return new Uint8Array(await response.arrayBuffer());
  } catch (e) {
    return null;
  }
}

function lamplightSync(populate) {
  return new Promise(function (done) {
    FS.syncfs(populate, function (err) {
      if (err) lamplightLine('the browser\'s storage: ' + err, 'stderr');
      done(!err);
    });
  });
}

// The run folder: the datafiles from the package, each layer from the
// browser's storage when one was saved there, else the default world's. A
// file the server does not have is left out: the game says which.
async function lamplightFillRunFolder() {
  FS.mkdir(LAMPLIGHT_PLAY);
  FS.mkdir(LAMPLIGHT_SAVE);
  FS.mount(IDBFS, {}, LAMPLIGHT_SAVE);
  await lamplightSync(true);
  var replay = lamplightPage.replay;
  var wanted = LAMPLIGHT_DATAFILES.concat(replay ? [replay] : []);
  LAMPLIGHT_LAYERS.forEach(function (name) {
    var saved = LAMPLIGHT_SAVE + '/' + name;
    if (FS.analyzePath(saved).exists)
      FS.writeFile(LAMPLIGHT_PLAY + '/' + name, FS.readFile(saved));
    else
      wanted.push(name);
  });
  var bytes = await Promise.all(wanted.map(lamplightFetch));
  wanted.forEach(function (name, i) {
    if (bytes[i]) FS.writeFile(LAMPLIGHT_PLAY + '/' + name, bytes[i]);
  });
  FS.chdir(LAMPLIGHT_PLAY);
}

// After the game renames a saved layer into place, the three layers are
// copied to the browser's storage (one write at a time, the last one always).
async function lamplightKeepLayers() {
  if (lamplightPage.saving) { lamplightPage.saveAgain = true; return; }
  lamplightPage.saving = true;
  do {
    lamplightPage.saveAgain = false;
    LAMPLIGHT_LAYERS.forEach(function (name) {
      var path = LAMPLIGHT_PLAY + '/' + name;
      if (FS.analyzePath(path).exists)
        FS.writeFile(LAMPLIGHT_SAVE + '/' + name, FS.readFile(path));
    });
    if (await lamplightSync(false)) lamplightPage.storageSaves++;
  } while (lamplightPage.saveAgain);
  lamplightPage.saving = false;
}

function lamplightWatchSaves() {
  var rename = FS.rename;
  FS.rename = function (from, to) {
    rename(from, to);
    var path = to.charAt(0) === '/' ? to : FS.cwd() + '/' + to; // the game names them relative
    var name = path.split('/').pop();
    if (path === LAMPLIGHT_PLAY + '/' + name && LAMPLIGHT_LAYERS.indexOf(name) >= 0)
      lamplightKeepLayers();
  };
}

// "Default world": forgets the saved layers and starts again.
async function lamplightResetWorld() {
  LAMPLIGHT_LAYERS.forEach(function (name) {
    var saved = LAMPLIGHT_SAVE + '/' + name;
    if (FS.analyzePath(saved).exists) FS.unlink(saved);
  });
  await lamplightSync(false);
  window.location.reload();
}

// "Download world": the three layer files as the game has them now.
function lamplightDownloadWorld() {
  LAMPLIGHT_LAYERS.forEach(function (name) {
    var path = LAMPLIGHT_PLAY + '/' + name;
    if (!FS.analyzePath(path).exists) return;
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([FS.readFile(path)], {type: 'application/octet-stream'}));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
  });
}

// Keys: browser key codes to the platform, which knows Allegro's; the page
// does nothing else with the keys the game takes (no scrolling on arrows).
function lamplightKey(event, down) {
  if (!Module.calledRun || ABORT) return;
  if (down) lamplightPage.keysDown[event.keyCode] = event.location; else delete lamplightPage.keysDown[event.keyCode];
  if (Module._web_key(event.keyCode, event.location, down ? 1 : 0)) event.preventDefault();
  if (down) lamplightResumeAudio();
}

function lamplightLetGo() {
  if (!Module.calledRun || ABORT) return;
  Object.keys(lamplightPage.keysDown).forEach(function (code) {
    Module._web_key(+code, lamplightPage.keysDown[code], 0);
  });
  lamplightPage.keysDown = {};
}

// The mouse in game pixels, clamped to the screen as the library clamps it.
function lamplightMouse(event) {
  if (!Module.calledRun || ABORT) return;
  var c = lamplightPage.canvas, rect = c.getBoundingClientRect();
  var x = Math.floor((event.clientX - rect.left) * c.width / rect.width);
  var y = Math.floor((event.clientY - rect.top) * c.height / rect.height);
  x = Math.min(Math.max(x, 0), c.width - 1);
  y = Math.min(Math.max(y, 0), c.height - 1);
  Module._web_mouse(x, y, event.buttons & 7);
  if (event.type === 'mousedown') { event.preventDefault(); lamplightResumeAudio(); }
}

function lamplightResumeAudio() {
  var a = lamplightPage.audio;
  if (a && a.context.state === 'suspended') a.context.resume();
}

// What the platform calls.
Module.webScreenSize = function (w, h) {
  var c = lamplightPage.canvas;
  c.width = w;
  c.height = h;
  lamplightFit();
};

Module.webShows = []; // when the first frames were shown (ms since the page's start)
Module.webBusy = [0, 0]; // the program's running time between yields (ms), and the yields
Module.webShow = function (rgba, w, h) {
  var c = lamplightPage.canvas;
  c.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4), w, h), 0, 0);
  if (Module.webShows.length < 8) Module.webShows.push(performance.now());
};

Module.webPace = function () { return lamplightOption('speed', 2, 50) || 1; };

Module.webTimerStart = function () {
  lamplightPage.timer = setInterval(function () { if (!ABORT) Module._web_timer_tick(); }, 5);
};
Module.webTimerStop = function () { clearInterval(lamplightPage.timer); };

// Sound: the platform's mixer pulled in blocks of `frames` stereo frames.
// webAudioPeak and webAudioBlocks say what was played (for the page's tests).
Module.webAudioPeak = 0;
Module.webAudioBlocks = 0;
Module.webAudioOpen = function (frames) {
  var Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return 0;
  var context = new Context();
  var node = context.createScriptProcessor(frames * 2, 0, 2);
  node.onaudioprocess = function (e) {
    var left = e.outputBuffer.getChannelData(0), right = e.outputBuffer.getChannelData(1);
    for (var done = 0; done < left.length; done += frames) {
      var p = ABORT ? 0 : Module._web_audio_mix();
      for (var i = 0; i < frames; i++) {
        var l = p ? HEAP16[(p >> 1) + 2 * i] / 32768 : 0, r = p ? HEAP16[(p >> 1) + 2 * i + 1] / 32768 : 0;
        left[done + i] = l;
        right[done + i] = r;
        Module.webAudioPeak = Math.max(Module.webAudioPeak, Math.abs(l), Math.abs(r));
      }
      if (p) Module.webAudioBlocks++;
    }
  };
  node.connect(context.destination);
  lamplightPage.audio = {context: context, node: node};
  return context.sampleRate;
};
Module.webAudioClose = function () {
  var a = lamplightPage.audio;
  if (!a) return;
  a.node.disconnect();
  a.context.close();
  lamplightPage.audio = null;
};
Module.webAudioState = function () { return lamplightPage.audio ? lamplightPage.audio.context.state : 'closed'; };

// The game's command line, read by emscripten before preRun.
lamplightPage.replay = lamplightReplayName();
Module.arguments = lamplightPage.replay ? ['--replay', lamplightPage.replay] : [];

Module.print = function (text) { lamplightLine(text, 'stdout'); };
Module.printErr = function (text) { lamplightLine(text, 'stderr'); };
Module.webEnded = null; // the exit status once the game has ended
Module.onExit = function (status) {
  Module.webEnded = status;
  lamplightLine('The game has ended (status ' + status + '). Reload the page to play again.', 'note');
};
Module.onAbort = function (what) {
  Module.webEnded = 'abort';
  lamplightLine('The game stopped: ' + what, 'stderr');
};

Module.preRun = [function () {
  lamplightPage.canvas = document.getElementById('screen');
  window.addEventListener('keydown', function (e) { lamplightKey(e, true); });
  window.addEventListener('keyup', function (e) { lamplightKey(e, false); });
  window.addEventListener('blur', lamplightLetGo);
  window.addEventListener('resize', lamplightFit);
  ['mousemove', 'mousedown', 'mouseup'].forEach(function (type) {
    lamplightPage.canvas.addEventListener(type, lamplightMouse);
  });
  lamplightPage.canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  document.getElementById('reset-world').addEventListener('click', lamplightResetWorld);
  document.getElementById('download-world').addEventListener('click', lamplightDownloadWorld);
  lamplightWatchSaves();
  addRunDependency('lamplight-run-folder');
  lamplightFillRunFolder().then(function () { removeRunDependency('lamplight-run-folder'); });
}];
Module.webStorageSaves = function () { return lamplightPage.storageSaves; };
