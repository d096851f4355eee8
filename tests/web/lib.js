// lib.js -- what the browser checks share: the local server, Debian's Chromium driven through
// puppeteer-core, the canvas and the log read back from the page, and the sound it plays.
"use strict";

const childProcess = require("child_process");
const fs = require("fs");
const path = require("path");
const puppeteer = require("puppeteer-core");

// Rectangles of the game area (x, y, width, height).
const TITLE = [0, 0, 400, 170];
const BOARD = [200, 48, 240, 384];
const CONTROLS = [80, 60, 480, 360];
const PLATE = [234, 136, 12, 153];

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// until(seconds, test): tries test every 100 ms until it holds; false when time runs out.
async function until(seconds, test) {
    for (const end = Date.now() + seconds * 1000; Date.now() < end; await sleep(100)) {
        if (await test()) {
            return true;
        }
    }
    return false;
}

// serve(folder): python's http.server on a free port of 127.0.0.1; its address and process.
async function serve(folder) {
    const server = childProcess.spawn(
        "python3",
        ["-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", folder, "0"],
        { stdio: ["ignore", "pipe", "ignore"] },
    );
    let output = "";
    server.stdout.on("data", (data) => (output += data));
    if (!(await until(10, () => /port (\d+)/.test(output)))) {
        server.kill();
        throw new Error("the local server did not start");
    }
    return { server, address: `http://127.0.0.1:${output.match(/port (\d+)/)[1]}/` };
}

async function launch() {
    const args = ["--autoplay-policy=no-user-gesture-required", "--mute-audio"];
    if (process.getuid() === 0) {
        args.push("--no-sandbox");
    }
    return puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true, args });
}

// Test-only: every AudioContext sends what reaches its destination through a worklet that records
// it as interleaved stereo float; the page's sound goes on to the real destination as before.
function tapAudio() {
    const Real = window.AudioContext || window.webkitAudioContext;
    const capture = { rate: 0, chunks: [] };
    window.quadroneCapture = capture;
    // 32 quanta to a message: one a quantum was 344 tasks a second on the page's main thread, beside
    // the game's own frames.
    const source = `registerProcessor("tap", class extends AudioWorkletProcessor {
        constructor() {
            super();
            this.out = new Float32Array(2 * 128 * 32);
            this.at = 0;
        }
        process(inputs) {
            const input = inputs[0], n = 128;
            for (let i = 0; i < n; i++, this.at += 2) {
                this.out[this.at] = input.length > 0 ? input[0][i] : 0;
                this.out[this.at + 1] = input.length > 0 ? input[input.length > 1 ? 1 : 0][i] : 0;
            }
            if (this.at === this.out.length) {
                this.port.postMessage(this.out, [this.out.buffer]);
                this.out = new Float32Array(2 * 128 * 32);
                this.at = 0;
            }
            return true;
        }
    });`;
    class Tapped extends Real {
        constructor(...args) {
            super(...args);
            this.tap = this.createGain();
            this.tap.connect(super.destination);
            capture.rate = this.sampleRate;
            const url = URL.createObjectURL(new Blob([source], { type: "text/javascript" }));
            this.audioWorklet.addModule(url).then(() => {
                const recorder = new AudioWorkletNode(this, "tap");
                recorder.port.onmessage = (event) => capture.chunks.push(event.data);
                this.tap.connect(recorder);
                recorder.connect(super.destination);
            });
        }
        get destination() {
            return this.tap || super.destination;
        }
    }
    window.AudioContext = Tapped;
    window.webkitAudioContext = Tapped;
}

// Test-only: before main starts, QUADRONE_SEED in the game's environment when a seed is given, and
// run(FS) of each damage once the data files are in place.
function hookModule(damages, seed) {
    let module;
    Object.defineProperty(window, "Module", {
        configurable: true,
        get: () => module,
        set(value) {
            // quadrone.js assigns the page's object again.
            if (value === module) {
                return;
            }
            module = value;
            if (seed) {
                module.preRun = [].concat(module.preRun || [], () => (window.ENV.QUADRONE_SEED = seed));
            }
            const before = module.onRuntimeInitialized;
            module.onRuntimeInitialized = () => {
                for (const damage of damages) {
                    new Function("FS", damage)(window.FS);
                }
                if (before) {
                    before();
                }
            };
        },
    });
}

// In the page: the game area's pixels as base64 RGBA, and debug.log wherever the game keeps it.
function pageHelpers() {
    window.quadronePixels = (x, y, width, height) => {
        const copy = document.createElement("canvas");
        copy.width = width;
        copy.height = height;
        const context = copy.getContext("2d");
        context.drawImage(document.getElementById("canvas"), x, y, width, height, 0, 0, width, height);
        const data = context.getImageData(0, 0, width, height).data;
        let text = "";
        for (let i = 0; i < data.length; i += 0x8000) {
            text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
        }
        return btoa(text);
    };
    window.quadroneLogPath = () => {
        const find = (folder) => {
            for (const name of window.FS.readdir(folder)) {
                const file = `${folder === "/" ? "" : folder}/${name}`;
                if (name === "." || name === ".." || file === "/dev" || file === "/proc") {
                    continue;
                }
                if (window.FS.isDir(window.FS.stat(file).mode)) {
                    const found = find(file);
                    if (found) {
                        return found;
                    }
                } else if (name === "debug.log") {
                    return file;
                }
            }
            return null;
        };
        return window.FS ? find("/") : null;
    };
    window.quadroneLog = () => {
        const file = window.quadroneLogPath();
        return file ? window.FS.readFile(file, { encoding: "utf8" }) : "";
    };
    window.quadroneTakeSound = () => {
        const chunks = window.quadroneCapture.chunks.splice(0);
        const bytes = new Uint8Array(chunks.reduce((sum, chunk) => sum + chunk.byteLength, 0));
        let at = 0;
        for (const chunk of chunks) {
            bytes.set(new Uint8Array(chunk.buffer), at);
            at += chunk.byteLength;
        }
        let text = "";
        for (let i = 0; i < bytes.length; i += 0x8000) {
            text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        }
        return btoa(text);
    };
}

// A page of the game and the verbs of a check. options.damage: statements run on Emscripten's FS
// before main; options.seed: the game's QUADRONE_SEED; options.capture: a file that receives what the page plays; options.untapped: the
// sound is not recorded (the bench measures the page as a player gets it); options.scripts:
// [function, ...arguments] run in the page before its own.
class Game {
    constructor(browser, address, options = {}) {
        // Each game has storage of its own.
        this.browser = browser;
        this.address = address;
        this.options = options;
        this.console = [];
    }

    async open() {
        Game.opened.push(this);
        this.context = await this.browser.createBrowserContext();
        this.page = await this.context.newPage();
        await this.page.setViewport({ width: 800, height: 600 });
        this.page.on("console", (message) => this.console.push(message.text()));
        this.page.on("pageerror", (error) => this.console.push(`page error: ${error.message}`));
        if (!this.options.untapped) {
            await this.page.evaluateOnNewDocument(tapAudio);
        }
        await this.page.evaluateOnNewDocument(pageHelpers);
        for (const [script, ...args] of this.options.scripts || []) {
            await this.page.evaluateOnNewDocument(script, ...args);
        }
        if (this.options.damage || this.options.seed) {
            await this.page.evaluateOnNewDocument(hookModule, this.options.damage || [], this.options.seed || "");
        }
        await this.load(() => this.page.goto(this.address));
        return this;
    }

    async load(navigate) {
        await navigate();
        const box = this.options.damage ? "#box" : null;
        const ready = () => this.logHas("Starting game...") || (box && this.boxShown());
        if (!(await until(30, ready))) {
            throw new Error(`start-up did not finish within 30 s; the console:\n${this.console.join("\n")}`);
        }
        this.corner = await this.page.$eval("#canvas", (canvas) => {
            const rect = canvas.getBoundingClientRect();
            return [rect.left, rect.top];
        });
        await sleep(500);
    }

    async reload() {
        await this.load(() => this.page.reload());
    }

    async close() {
        await this.context.close();
    }

    async log() {
        return (await this.page.evaluate(() => window.quadroneLog())).split("\n");
    }

    async logHas(line) {
        return (await this.log()).includes(line);
    }

    // logInOrder(lines): null when the lines appear in this order, else the first one missing.
    async logInOrder(lines) {
        const log = await this.log();
        let at = 0;
        for (const line of lines) {
            const found = log.indexOf(line, at);
            if (found < 0) {
                return `the log lacks "${line}" (after line ${at})`;
            }
            at = found + 1;
        }
        return null;
    }

    async boxShown() {
        return this.page.evaluate(() => {
            const box = document.getElementById("box");
            return box !== null && box.getAttribute("role") === "dialog" && box.offsetParent !== null;
        });
    }

    // pixels(x, y, width, height): that rectangle of the game area, RGBA.
    async pixels(x, y, width, height) {
        return Buffer.from(await this.page.evaluate((...rect) => window.quadronePixels(...rect), x, y, width, height), "base64");
    }

    // lit(x, y, width, height): the pixels brighter than 8 % in one of their channels.
    async lit(...rect) {
        const rgba = await this.pixels(...rect);
        let count = 0;
        for (let i = 0; i < rgba.length; i += 4) {
            count += Math.max(rgba[i], rgba[i + 1], rgba[i + 2]) > 20 ? 1 : 0;
        }
        return count;
    }

    async click(x, y) {
        await this.page.mouse.move(this.corner[0] + x, this.corner[1] + y);
        await sleep(100);
        await this.page.mouse.down();
        await sleep(150);
        await this.page.mouse.up();
        await sleep(400);
    }

    async press(...keys) {
        for (const key of keys) {
            await this.page.keyboard.press(key, { delay: 60 });
            await sleep(60);
        }
        await sleep(300);
    }

    async hold(key, seconds) {
        await this.page.keyboard.down(key);
        await sleep(seconds * 1000);
        await this.page.keyboard.up(key);
        await sleep(200);
    }

    // takeSound(): appends what the page played since the last call to options.capture; its size.
    async takeSound() {
        const bytes = Buffer.from(await this.page.evaluate(() => window.quadroneTakeSound()), "base64");
        fs.appendFileSync(this.options.capture, bytes);
        return fs.statSync(this.options.capture).size;
    }

    async soundRate() {
        return this.page.evaluate(() => window.quadroneCapture.rate);
    }
}

// differing(expected, actual): how many RGB pixels differ between raw RGB and RGBA of one size.
function differing(rgb, rgba) {
    let count = 0;
    for (let p = 0; p * 3 < rgb.length; p++) {
        const same = rgb[3 * p] === rgba[4 * p] && rgb[3 * p + 1] === rgba[4 * p + 1] && rgb[3 * p + 2] === rgba[4 * p + 2];
        count += same ? 0 : 1;
    }
    return rgba.length / 4 === rgb.length / 3 ? count : Infinity;
}

// crop(rgb, width, rect): a rectangle of a raw RGB picture.
function crop(rgb, width, [x, y, w, h]) {
    const out = Buffer.alloc(w * h * 3);
    for (let row = 0; row < h; row++) {
        rgb.copy(out, row * w * 3, ((y + row) * width + x) * 3, ((y + row) * width + x + w) * 3);
    }
    return out;
}

// bmp(file): a 24-bit BMP's width, height and raw top-down RGB.
function bmp(file) {
    const data = fs.readFileSync(file);
    const offset = data.readUInt32LE(10);
    const width = data.readInt32LE(18);
    const height = data.readInt32LE(22);
    if (data.readUInt16LE(28) !== 24) {
        throw new Error(`${path.basename(file)} is not a 24-bit bitmap`);
    }
    const stride = Math.ceil((width * 3) / 4) * 4;
    const rgb = Buffer.alloc(width * Math.abs(height) * 3);
    for (let row = 0; row < Math.abs(height); row++) {
        const from = offset + (height > 0 ? Math.abs(height) - 1 - row : row) * stride;
        for (let x = 0; x < width; x++) {
            rgb[(row * width + x) * 3] = data[from + x * 3 + 2];
            rgb[(row * width + x) * 3 + 1] = data[from + x * 3 + 1];
            rgb[(row * width + x) * 3 + 2] = data[from + x * 3];
        }
    }
    return { width, height: Math.abs(height), rgb };
}

// Every game opened, for closeAll after each check.
Game.opened = [];
Game.closeAll = async () => {
    for (const game of Game.opened.splice(0)) {
        await game.context.close().catch(() => {});
    }
};

module.exports = { TITLE, BOARD, CONTROLS, PLATE, sleep, until, serve, launch, Game, differing, crop, bmp };
