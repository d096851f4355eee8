// device_web.cpp -- the page's sound device. SDL's own device for the browser mixes in the event of
// a ScriptProcessorNode, and the browser plays a quantum of silence whenever that event is still
// running when its audio thread wants the next one: on a busy machine, a click every few seconds.
// Here the main loop mixes a lead ahead and hands each piece to the browser as a buffer to start
// the moment the one before it ends, so the audio thread never waits for the page, and runs no
// script of the game's.
#include <emscripten.h>

#include "core/audio/mixer.h"
#include "core/log/debug_log.h"
#include "sdl/audio/audio.h"
#include "sdl/audio/device.h"

SDL_AudioDeviceID AudioDevice = 0;

namespace {

// 100 ms mixed ahead of what the browser has rendered, topped up once less than 75 ms is left: a
// frame of the page may come 75 ms late before the sound breaks. With 50 ms, the page's sound check
// heard a render quantum of silence in one run of six on a busy machine.
constexpr int LeadFrames = MixRate / 10;
constexpr int RefillBelowFrames = MixRate * 3 / 40;

int16_t Mixed[2 * LeadFrames];

// clang-format off
// True when the page has a context at the game's rate; a browser without Web Audio, or one that
// refuses the rate, leaves the game silent rather than stopped. The context starts suspended until
// the player's first click or key, which it takes without keeping it from the game. "playback"
// asks for the browser's larger buffers: the sound is mixed ahead anyway, and in headless Chromium
// its audio threads took half as much of a core. The browser renders a whole buffer at a time, its
// baseLatency, ahead of currentTime, which moves on only when the next buffer begins: a buffer
// handed over for a time in that span would start late, by a gap.
EM_JS(int, OpenPageAudio, (int rate), {
    var Context = window.AudioContext || window.webkitAudioContext;
    var context = null;
    try {
        context = Context ? new Context({ sampleRate: rate, latencyHint: "playback" }) : null;
    } catch (error) {
        console.warn("No sound: " + error);
    }
    if (!context) {
        return 0;
    }
    Module.quadroneAudio = {
        context: context,
        rate: rate,
        end: 0,
        rendered: function () {
            return Math.round((context.currentTime + (context.baseLatency || 0)) * rate);
        },
    };
    ["keydown", "mousedown", "pointerdown", "touchstart"].forEach(function (type) {
        window.addEventListener(type, function () {
            if (context.state === "suspended") {
                context.resume();
            }
        }, true);
    });
    return 1;
});

// Frames handed over and not yet rendered; less than none when the page fell behind.
EM_JS(int, PageAudioLead, (), {
    var audio = Module.quadroneAudio;
    return audio.end - audio.rendered();
});

// A page that fell behind starts again 10 ms ahead: a gap, and the sound goes on from where it was.
EM_JS(void, PlayInPage, (const int16_t* samples, int frames), {
    var audio = Module.quadroneAudio;
    var buffer = audio.context.createBuffer(2, frames, audio.rate);
    var left = buffer.getChannelData(0);
    var right = buffer.getChannelData(1);
    for (var i = 0, at = samples >> 1; i < frames; i++, at += 2) {
        left[i] = HEAP16[at] / 32768;
        right[i] = HEAP16[at + 1] / 32768;
    }
    var source = audio.context.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.context.destination);
    audio.end = Math.max(audio.end, audio.rendered() + audio.rate / 100);
    source.start(audio.end / audio.rate);
    audio.end += frames;
});

EM_JS(void, ClosePageAudio, (), {
    Module.quadroneAudio.context.close();
    Module.quadroneAudio = null;
});
// clang-format on

}  // namespace

bool StartAudio()
{
    if (AudioDevice != 0) {
        return true;
    }
    if (OpenPageAudio(MixRate) == 0) {
        WriteDebugLog("No audio device, the game plays silently: the browser gives no Web Audio at 44100 Hz");
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
    if (lead >= RefillBelowFrames) {
        return;
    }
    const int frames = LeadFrames - (lead > 0 ? lead : 0);
    MixDeviceFrames(Mixed, static_cast<uint32_t>(frames));
    PlayInPage(Mixed, frames);
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
