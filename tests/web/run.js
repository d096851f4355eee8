// run.js -- the browser game's checks in headless Chromium; one line for each, exit status 1 when
// any fails.
//   node run.js WEB_DIR ASSETS NATIVE PICTURES WORK [CHECK...]
// ASSETS holds loop1.dat, NATIVE the native build's screens and their seed (native_screens.sh),
// PICTURES the extracted graphics.vbf (vbftool), WORK a folder for captures; CHECKs pick checks by
// name.
"use strict";

const childProcess = require("child_process");
const fs = require("fs");
const path = require("path");
const { TITLE, BOARD, CONTROLS, PLATE, sleep, until, serve, launch, Game, differing, crop, bmp } = require("./lib");

const [webDir, assets, native, pictures, work, ...picked] = process.argv.slice(2);
const nativeTitle = path.join(native, "title.rgb");
const ANALYSIS = path.join(__dirname, "..", "e2e", "sound_analysis.py");

function check(holds, why) {
    if (!holds) {
        throw new Error(why);
    }
}

// shows(game, picture, rect): the rectangle of the canvas is the picture's top left corner.
async function shows(game, picture, [x, y, w, h]) {
    const { width, rgb } = bmp(path.join(pictures, `${picture}.bmp`));
    return differing(crop(rgb, width, [0, 0, w, h]), await game.pixels(x, y, w, h)) === 0;
}

async function title(browser, address) {
    const game = await new Game(browser, address).open();
    const reference = fs.readFileSync(nativeTitle);
    let shown = -1;
    await until(5, async () => (shown = differing(reference, await game.pixels(0, 0, 640, 480))) === 0);
    if (shown !== 0) {
        const canvas = await game.page.$eval("#canvas", (canvas) => canvas.toDataURL());
        fs.writeFileSync(path.join(work, "title.png"), Buffer.from(canvas.split(",")[1], "base64"));
    }
    check(shown === 0, `${shown} of 307200 pixels differ from the native title screen (the canvas: ${work}/title.png)`);
}

// The 24-pixel columns of the board's top eight rows that hold the falling tetrad.
async function columns(game) {
    const rgba = await game.pixels(BOARD[0], BOARD[1], BOARD[2], 192);
    const lit = new Set();
    for (let p = 0; p < rgba.length / 4; p++) {
        if (Math.max(rgba[4 * p], rgba[4 * p + 1], rgba[4 * p + 2]) > 20) {
            lit.add(Math.floor((p % BOARD[2]) / 24));
        }
    }
    return [...lit].sort().join(",");
}

// Down held drops one tetrad after another: three seconds of it piled them up to the top rows,
// where no turn showed (3 runs of 15 under load). It is let go once the next tetrad shows in the
// top two rows.
async function landTetrad(game) {
    const top = () => game.lit(BOARD[0], BOARD[1], BOARD[2], 48);
    await game.page.keyboard.down("ArrowDown");
    const left = await until(5, async () => (await top()) === 0);
    const next = left && (await until(5, async () => (await top()) > 0));
    await game.page.keyboard.up("ArrowDown");
    await sleep(200);
    check(next, "no next tetrad at the top within 10 s of Down");
}

// The seed is the clock: what is compared is how the board answers, not its pixels.
async function play(browser, address) {
    const game = await new Game(browser, address).open();
    await game.click(480, 190);
    const onBoard = await game.lit(...BOARD);
    check(onBoard > 0 && onBoard < 20000, `${onBoard} lit pixels on the board after Play, not one tetrad's`);
    check((await game.lit(49, 180, 120, 120)) > 0, "the preview box is empty");
    // A square looks the same turned: land it and turn the next. Four squares in a row are one
    // game in 2401.
    let turned = false;
    for (let tries = 0; tries < 4 && !turned; tries++) {
        const before = await columns(game);
        await game.press(" ");
        turned = (await columns(game)) !== before;
        if (!turned) {
            await landTetrad(game);
        }
    }
    check(turned, "Space did not turn four tetrads in a row");
    await game.hold("ArrowLeft", 1.2);
    check((await game.lit(200, 48, 24, 300)) > 0, "nothing at the left wall after Left");
    await game.hold("ArrowRight", 1.5);
    check((await game.lit(200, 48, 24, 300)) === 0, "the left wall is still lit after Right");
    check((await game.lit(416, 48, 24, 300)) > 0, "nothing at the right wall after Right");
    const score = await game.pixels(480, 215, 150, 14);
    await game.hold("ArrowDown", 0.6);
    check(!score.equals(await game.pixels(480, 215, 150, 14)), "Down did not change the score line");
}

// The rows of a board picture 240 pixels wide (BYTES a pixel) from its first lit one on.
function fromFirstLit(picture, bytes) {
    const row = BOARD[2] * bytes;
    for (let at = 0; at < picture.length; at += row) {
        for (let i = at; i < at + row; i += bytes) {
            if (Math.max(picture[i], picture[i + 1], picture[i + 2]) > 20) {
                return picture.subarray(at);
            }
        }
    }
    return picture.subarray(picture.length);
}

// From the native build's seed, Play, Left and a turn show the same tetrad in the same column and
// the same turn, pixel for pixel; how far it has fallen meanwhile is the clock's.
async function seeded(browser, address) {
    const seed = fs.readFileSync(path.join(native, "seed"), "utf8").trim();
    const game = await new Game(browser, address, { seed }).open();
    await game.click(480, 190);
    await game.hold("ArrowLeft", 0.1);
    await game.hold(" ", 0.1);
    const reference = fromFirstLit(fs.readFileSync(path.join(native, "play.rgb")), 3);
    const shown = fromFirstLit(await game.pixels(BOARD[0], BOARD[1], BOARD[2], 192), 4);
    const rows = Math.min(reference.length / 3, shown.length / 4) / BOARD[2];
    check(rows >= 24, `no tetrad in the board's top rows (native: ${reference.length / 3 / BOARD[2]} rows from the first lit one)`);
    const differ = differing(reference.subarray(0, rows * BOARD[2] * 3), shown.subarray(0, rows * BOARD[2] * 4));
    check(differ === 0, `${differ} pixels of the tetrad differ from the native build's with seed ${seed}`);
}

async function keys(browser, address) {
    const game = await new Game(browser, address).open();
    const reference = fs.readFileSync(nativeTitle);
    await game.click(480, 190);
    await game.press("F1");
    check(await until(5, () => shows(game, "controls", CONTROLS)), "F1 did not show the controls picture at 80,60");
    await game.click(300, 470);
    check(!(await shows(game, "controls", CONTROLS)), "the controls picture stayed after the click");
    await game.press("Escape");
    const back = async () => differing(crop(reference, 640, TITLE), await game.pixels(...TITLE)) === 0;
    check(await until(5, back), "Escape did not bring back the title picture");
}

// sound: 12 s of the title's music, 5 s after M, 5 s after M again, each judged against loop1.dat
// by the desktop's sound analysis; the recorder adds no gaps of its own, so none may show.
async function sound(browser, address) {
    const capture = path.join(work, "capture.raw");
    fs.rmSync(capture, { force: true });
    const game = await new Game(browser, address, { capture }).open();
    const rate = await game.soundRate();
    check(rate > 0, "the page made no AudioContext");
    const second = rate * 8;
    check(await until(10, async () => (await game.takeSound()) >= second), "no sound was recorded within 10 s");
    const refs = path.join(work, "references");
    fs.mkdirSync(refs, { recursive: true });
    const music = path.join(refs, "music.raw");
    const loop = path.join(assets, "loop1.dat");
    const sox = childProcess.spawnSync("sox", [loop, loop, "-t", "raw", "-r", rate, "-e", "float", "-b", "32", "-c", "2", music]);
    check(sox.status === 0, `sox cannot decode loop1.dat: ${sox.stderr}`);
    const hear = async (what, seconds, ...checks) => {
        const mark = await game.takeSound();
        const enough = async () => (await game.takeSound()) >= mark + seconds * second;
        check(await until(seconds + 10, enough), `${what}: fewer than ${seconds} s of sound within ${seconds + 10} s`);
        const end = fs.statSync(capture).size;
        const args = [ANALYSIS, "music", capture, mark, end, music, refs, ...checks, "jumps == 0", "silent_blocks_inside == 0"];
        const env = { ...process.env, CAPTURE_RATE: String(rate), CAPTURE_SAMPLE: "f32", CAPTURE_DEVICE_GAPS: "no" };
        const judged = childProcess.spawnSync("/usr/bin/python3", args.map(String), { env, encoding: "utf8" });
        check(judged.status === 0, `${what}:\n${judged.stdout}${judged.stderr}`);
    };
    await hear("the title music", 12, "music_seconds >= 11", "worst_correlation >= 0.9", "abs(gain_db) <= 1",
        "loud_residual_blocks == 0", "residual_peak_db <= 0");
    const silence = hear("after M", 5, "sound_to <= 2", "seconds >= 4");
    await game.press("m");
    await silence;
    const back = hear("after M again", 5, "music_seconds >= 3", "sound_to >= seconds - 0.1", "abs(gain_db) <= 1");
    await game.press("m");
    await back;
}

// prompt: "Enter your initials:" is the only pure white across the board at top 220.
async function prompt(game) {
    const rgba = await game.pixels(200, 220, 240, 14);
    return rgba.some((value, i) => i % 4 === 0 && value === 255 && rgba[i + 1] === 255 && rgba[i + 2] === 255);
}

async function scoresShown(game) {
    await game.click(420, 270);
    check(await until(5, () => shows(game, "topscores", PLATE)), "Scores did not show the Top Five plate");
    // The rows alone: behind the plate lies whatever the screen showed before.
    const rows = await game.pixels(250, 190, 150, 80);
    await game.press("Escape");
    return rows;
}

// A table that any finished game enters, as the desktop scenarios give theirs; kept in the folder
// of debug.log and written back to IndexedDB before the reload that reads it.
async function lowTable(game) {
    const rows = [1, 1, 1, 1, 1].map((score) => {
        const row = Buffer.alloc(24);
        row.write("CPU");
        row.writeUInt32LE(score, 20);
        return row;
    });
    const table = [...Buffer.concat(rows)];
    await game.page.evaluate(async (bytes) => {
        const folder = window.quadroneLogPath().replace(/[^/]*$/, "");
        window.FS.writeFile(`${folder}quadrone.dat`, new Uint8Array(bytes));
        await new Promise((resolve) => window.FS.syncfs(false, resolve));
    }, table);
    await game.reload();
}

async function scoresKept(browser, address) {
    const game = await new Game(browser, address).open();
    await lowTable(game);
    const empty = await scoresShown(game);
    await game.click(480, 190);
    await game.page.keyboard.down("ArrowDown");
    const ended = await until(90, () => prompt(game));
    await game.page.keyboard.up("ArrowDown");
    check(ended, "no prompt for initials within 90 s of Down");
    await game.page.keyboard.type("WEB", { delay: 80 });
    await game.press("Enter");
    check(await until(5, () => shows(game, "topscores", PLATE)), "no Top Five screen after the initials");
    await game.press("Escape");
    const saved = await scoresShown(game);
    check(!saved.equals(empty), "the Scores screen did not change with the new result");
    await game.reload();
    const reloaded = await scoresShown(game);
    check(reloaded.equals(saved), "after a reload the Scores screen lost the result (is quadrone.dat kept in IndexedDB?)");
}

// A damaged graphics.vbf: the boxes (caption, text) the desktop builds show, in the page's dialog,
// each answered with OK, then the log lines they write, in order.
const DAMAGED = [
    {
        name: "a wrong signature",
        damage: 'const d = FS.readFile("/graphics.vbf"); d[0] = 0x58; FS.writeFile("/graphics.vbf", d);',
        boxes: [["Error", "Invalid signature"]],
        log: ["DirectSound initialized", "Graphics loaded", "Sounds loaded", "Starting game..."],
    },
    {
        name: "a table three records short",
        damage: 'const d = FS.readFile("/graphics.vbf"); FS.writeFile("/graphics.vbf", d.subarray(0, d.length - 828));',
        boxes: Array(3).fill(["Notice", "Failed while reading on node creation"]),
        log: ["titlescreen.bmp", "Error seeking in VBF file", "Error loading blocks!", "Error loading ghost blocks!",
            "Failed to load spark images", "Graphics loaded", "Sounds loaded", "Starting game..."],
    },
];

async function damaged(browser, address) {
    for (const row of DAMAGED) {
        const game = await new Game(browser, address, { damage: [row.damage] }).open();
        try {
            for (const [n, [caption, text]] of row.boxes.entries()) {
                const missing = `${row.name}: box ${n + 1} of ${row.boxes.length} ("${caption}": ${text}) did not come`;
                const page = `no in-page dialog #box with role="dialog"; the console has:\n${game.console.join("\n")}`;
                check(await until(10, () => game.boxShown()), `${missing}: ${page}`);
                const shown = await game.page.evaluate(() => [
                    document.getElementById("box-caption").textContent, document.getElementById("box-text").textContent]);
                check(shown[0] === caption && shown[1] === text, `${missing}: the dialog shows "${shown[0]}": ${shown[1]}`);
                await game.page.click("#box-ok");
                await sleep(300);
            }
            check(await until(10, () => game.logHas("Starting game...")), `${row.name}: start-up did not finish after the boxes`);
            check(!(await game.boxShown()), `${row.name}: a box more than the ${row.boxes.length} expected`);
            const order = await game.logInOrder(row.log);
            check(order === null, `${row.name}: ${order}`);
        } finally {
            await Game.closeAll();
        }
    }
}

const CHECKS = [
    ["title", "the page shows the native build's title screen, pixel for pixel", title],
    ["play", "Play, a turn, moves to both walls and a drop change the board", play],
    ["seeded", "from the native build's seed, Play, Left and a turn show its tetrad, pixel for pixel", seeded],
    ["keys", "F1 shows the controls, a click resumes, Escape returns to the title", keys],
    ["sound", "the music is loop1.dat without gaps or jumps, within 1 dB; M stops and resumes it", sound],
    ["scores", "a finished game's initials are on the Scores screen after a reload", scoresKept],
    ["damaged", "a damaged graphics.vbf gives the desktop's boxes and log lines", damaged],
];

async function main() {
    const { server, address } = await serve(webDir);
    const browser = await launch();
    let passed = 0;
    let failed = 0;
    try {
        for (const [name, what, run] of CHECKS) {
            if (picked.length > 0 && !picked.includes(name)) {
                continue;
            }
            const start = Date.now();
            try {
                await run(browser, address);
                passed++;
                console.log(`ok   ${name}: ${what} (${((Date.now() - start) / 1000).toFixed(1)} s)`);
            } catch (error) {
                failed++;
                console.log(`FAIL ${name}: ${what}\n     ${String(error.message).replace(/\n/g, "\n     ")}`);
            }
            await Game.closeAll();
        }
    } finally {
        await browser.close();
        server.kill();
    }
    console.log(`${passed} passed, ${failed} failed`);
    process.exitCode = failed > 0 ? 1 : 0;
}

main().catch((error) => {
    console.log(`FAIL: ${error.stack}`);
    process.exitCode = 1;
});
