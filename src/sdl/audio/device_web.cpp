// device_web.cpp -- the page's sound device. SDL's own device for the browser mixes in the event of
// a ScriptProcessorNode, and the browser plays a quantum of silence whenever that event is still
// running when its audio thread wants the next one: on a busy machine, a click every few seconds.
// Here the main loop mixes a lead ahead, a frame at a time, and an AudioWorklet plays the queue on
// the audio thread without ever waiting for the page.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>

#include "core/audio/mixer.h"
#include "core/log/debug_log.h"
#include "sdl/audio/audio.h"
#include "sdl/audio/device.h"

SDL_AudioDeviceID AudioDevice = 0;

namespace {

// 100 ms mixed ahead: a frame of the page may come that much late before the sound breaks.
constexpr int LeadFrames = MixRate / 10;
constexpr int PostFrames = 1024;

int16_t Mixed[2 * PostFrames];

// clang-format off
// 0 when the page has a context at the game's rate, else why not. The context starts suspended
// until the player's first click or key, which it takes without keeping it from the game.
EM_JS(int, OpenPageAudio, (int rate), {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) {
        return 1;
    }
    var context = new Context({ sampleRate: rate });
    if (!context.audioWorklet) {
        context.close();
        return 2;
    }
    var audio = { context: context, node: null, written: 0, played: 0 };
    Module.quadroneAudio = audio;
    var player = 'registerProcessor("quadrone-player", class extends AudioWorkletProcessor {' +
        '  constructor() {' +
        '    super();' +
        '    this.queue = []; this.at = 0; this.played = 0; this.quanta = 0;' +
        '    this.port.onmessage = (event) => this.queue.push(event.data);' +
        '  }' +
        '  process(inputs, outputs) {' +
        '    const left = outputs[0][0], right = outputs[0][1];' +
        '    let i = 0;' +
        '    while (i < left.length && this.queue.length > 0) {' +
        '      const samples = this.queue[0];' +
        '      for (; i < left.length && this.at < samples.length; i++, this.at += 2) {' +
        '        left[i] = samples[this.at]; right[i] = samples[this.at + 1];' +
        '      }' +
        '      if (this.at >= samples.length) { this.queue.shift(); this.at = 0; }' +
        '    }' +
        '    left.fill(0, i); right.fill(0, i);' +
        '    this.played += i;' +
        '    if (++this.quanta % 8 === 0) { this.port.postMessage(this.played); }' +
        '    return true;' +
        '  }' +
        '});';
    var url = URL.createObjectURL(new Blob([player], { type: "text/javascript" }));
    context.audioWorklet.addModule(url).then(function () {
        var node = new AudioWorkletNode(context, "quadrone-player", { numberOfInputs: 0, outputChannelCount: [2] });
        node.port.onmessage = function (event) { audio.played = event.data; };
        node.connect(context.destination);
        audio.node = node;
    }, function (error) {
        console.warn("The sound cannot play: " + error);
    });
    var resume = function () {
        if (context.state === "suspended") {
            context.resume();
        }
    };
    ["keydown", "mousedown", "pointerdown", "touchstart"].forEach(function (type) {
        window.addEventListener(type, resume, true);
    });
    return 0;
});

// Frames mixed and not yet played, or -1 while the player is not there yet.
EM_JS(int, PageAudioLead, (), {
    var audio = Module.quadroneAudio;
    return audio && audio.node ? audio.written - audio.played : -1;
});

EM_JS(void, PlayInPage, (const int16_t* samples, int frames), {
    var audio = Module.quadroneAudio;
    var floats = new Float32Array(2 * frames);
    var from = samples >> 1;
    for (var i = 0; i < floats.length; i++) {
        floats[i] = HEAP16[from + i] / 32768;
    }
    audio.node.port.postMessage(floats, [floats.buffer]);
    audio.written += frames;
});

EM_JS(void, ClosePageAudio, (), {
    var audio = Module.quadroneAudio;
    if (audio) {
        audio.context.close();
        Module.quadroneAudio = null;
    }
});
// clang-format on

const char* WhyNoAudio(int reason)
{
    return reason == 1 ? "the browser has no Web Audio" : "the browser has no AudioWorklet for this page";
}

}  // namespace

bool StartAudio()
{
    if (AudioDevice != 0) {
        return true;
    }
    const int reason = OpenPageAudio(MixRate);
    if (reason != 0) {
        char line[256];
        std::snprintf(line, sizeof line, "No audio device, the game plays silently: %s", WhyNoAudio(reason));
        WriteDebugLog(line);
        return false;
    }
    AudioDevice = 1;
    return true;
}

void FeedAudioDevice()
{
    if (AudioDevice == 0) {
        return;
    }
    const int lead = PageAudioLead();
    for (int missing = lead < 0 ? 0 : LeadFrames - lead; missing > 0; missing -= PostFrames) {
        const int frames = std::min(missing, PostFrames);
        MixDeviceFrames(Mixed, static_cast<uint32_t>(frames));
        PlayInPage(Mixed, frames);
    }
}

void StopAudio()
{
    CloseMusic();
    if (AudioDevice == 0) {
        return;
    }
    ClosePageAudio();
    AudioDevice = 0;
    DeleteEffects();
}
