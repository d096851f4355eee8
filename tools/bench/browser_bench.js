// browser_bench.js -- one run of the browser game for scripts/bench.sh, in Debian's headless
// Chromium with an empty cache, as on a first visit: the time from navigation start to the title
// picture, the wasm memory, and the resident memory and share of a core of all the browser's
// processes together. Prints the figures as the bench's results lines.
//   node browser_bench.js RUN WEB_DIR TITLE_RGB
// TITLE_RGB is the title picture's top 400 x 170 pixels as raw RGB.
"use strict";

const childProcess = require("child_process");
const fs = require("fs");
const { TITLE, sleep, serve, launch, Game } = require("../../tests/web/lib");

const [run, webDir, titleRgb] = process.argv.slice(2);
const TICKS_PER_SECOND = Number(childProcess.execSync("getconf CLK_TCK"));
const PLAY_KEYS = ["ArrowLeft", "ArrowRight", " ", "ArrowLeft", "ArrowDown", "ArrowRight", " ", "ArrowDown"];

function record(what, value) {
    console.log(`${run} browser ${what} ${value}`);
}

// In the page: resolves with performance.now() when a picture holding the reference, pixel for
// pixel, is put on a canvas. The game keeps a picture of the whole canvas and puts each change
// with putImageData(image, 0, 0, and the changed area); the picture is read from the call's own
// image, since reading a canvas back can change how the browser draws it afterwards.
function watchTitle(reference, [x, y, width, height]) {
    const expected = Uint8Array.from(atob(reference), (c) => c.charCodeAt(0));
    const put = CanvasRenderingContext2D.prototype.putImageData;
    const holds = (image) => {
        if (image.width < x + width || image.height < y + height) {
            return false;
        }
        for (let row = 0; row < height; row++) {
            for (let column = 0; column < width; column++) {
                const from = 4 * ((y + row) * image.width + x + column);
                const to = 3 * (row * width + column);
                for (let c = 0; c < 3; c++) {
                    if (image.data[from + c] !== expected[to + c]) {
                        return false;
                    }
                }
            }
        }
        return true;
    };
    window.quadroneTitleShown = new Promise((resolve) => {
        CanvasRenderingContext2D.prototype.putImageData = function (image, ...place) {
            put.call(this, image, ...place);
            const now = performance.now();
            if (place[0] === 0 && place[1] === 0 && holds(image)) {
                CanvasRenderingContext2D.prototype.putImageData = put;
                resolve(now);
            }
        };
    });
}

// The browser's process and all its descendants, with the CPU ticks and resident kB of each.
function processTree(root) {
    const all = new Map();
    for (const pid of fs.readdirSync("/proc").filter((name) => /^\d+$/.test(name))) {
        try {
            const stat = fs.readFileSync(`/proc/${pid}/stat`, "utf8");
            const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
            const rss = fs.readFileSync(`/proc/${pid}/status`, "utf8").match(/VmRSS:\s*(\d+)/);
            const ticks = Number(fields[11]) + Number(fields[12]);
            all.set(Number(pid), { parent: Number(fields[1]), ticks, rss: rss ? Number(rss[1]) : 0 });
        } catch {
            // It ended meanwhile.
        }
    }
    const tree = new Map();
    for (let added = [root]; added.length > 0; ) {
        added.forEach((pid) => all.has(pid) && tree.set(pid, all.get(pid)));
        added = [...all.keys()].filter((pid) => !tree.has(pid) && tree.has(all.get(pid).parent));
    }
    return tree;
}

// Percent of one core that the browser's processes used while action ran; a process started
// meanwhile counts whole, one that ended is lost.
async function share(root, action) {
    const before = processTree(root);
    const start = process.hrtime.bigint();
    await action();
    const seconds = Number(process.hrtime.bigint() - start) / 1e9;
    let ticks = 0;
    for (const [pid, { ticks: now }] of processTree(root)) {
        ticks += now - (before.has(pid) ? before.get(pid).ticks : 0);
    }
    return ((100 * ticks) / TICKS_PER_SECOND / seconds).toFixed(1);
}

// Ten seconds of play: each key held 100 ms, then 150 ms without.
async function playKeys(page) {
    for (let i = 0; i < 40; i++) {
        await page.keyboard.down(PLAY_KEYS[i % PLAY_KEYS.length]);
        await sleep(100);
        await page.keyboard.up(PLAY_KEYS[i % PLAY_KEYS.length]);
        await sleep(150);
    }
}

async function main() {
    const { server, address } = await serve(webDir);
    const browser = await launch();
    try {
        const root = browser.process().pid;
        const reference = fs.readFileSync(titleRgb).toString("base64");
        const options = { untapped: true, scripts: [[watchTitle, reference, TITLE]] };
        const game = await new Game(browser, address, options).open();
        // A player's browser has the game's tab alone: the blank one the browser opened with goes.
        for (const page of await browser.defaultBrowserContext().pages()) {
            await page.close();
        }
        const shown = await Promise.race([game.page.evaluate(() => window.quadroneTitleShown), sleep(30000)]);
        if (shown === undefined) {
            throw new Error("the title picture did not show within 30 s");
        }
        record("start-ms", shown.toFixed(0));
        // Open waited half a second after start-up; memory is read 2 s after the title, as for the games.
        await sleep(1500);
        const wasm = await game.page.evaluate(() => window.Module.HEAP8.buffer.byteLength);
        record("wasm-mb", (wasm / 1048576).toFixed(1));
        const kilobytes = [...processTree(root).values()].reduce((sum, { rss }) => sum + rss, 0);
        record("rss-mb", (kilobytes / 1024).toFixed(1));
        // The pointer has not entered the page yet.
        record("title", await share(root, () => sleep(10000)));
        await game.click(480, 190);
        await game.page.mouse.move(0, 0);
        await sleep(1000);
        record("play", await share(root, () => playKeys(game.page)));
    } finally {
        await browser.close();
        server.kill();
    }
}

main().catch((error) => {
    console.error(`browser_bench: ${error.message}`);
    process.exit(1);
});
