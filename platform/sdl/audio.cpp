// The SDL platform's sounds: one queue on one audio device, each sound converted once to the
// device's format when it is registered or, if no device was open then (the page opens its
// device after the first picture), when the device opens; a new sound cutting off the one still
// queued. With no sound device the game says so in one line and plays silently; muted (M), it
// plays nothing.

#include "platform/platform.h"
#include "platform/sdl/diagnostics.h"
#include "platform/sdl/sdl_state.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace platform::detail {
namespace {

struct Sound {
    std::vector<uint8_t> wav;     // as registered, while no device is open
    std::vector<uint8_t> samples; // in the device's format
};

SDL_AudioDeviceID device = 0;
SDL_AudioSpec deviceSpec{};
std::vector<Sound> sounds;

// A WAV file's samples in the open device's format; none for one that cannot be read.
std::vector<uint8_t> toDeviceFormat(const uint8_t* wav, std::size_t size) {
    std::vector<uint8_t> samples;
    SDL_AudioSpec spec{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(wav, static_cast<int>(size));
    if (SDL_LoadWAV_RW(rw, 1, &spec, &buffer, &length) != nullptr) {
        SDL_AudioCVT cvt;
        if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, deviceSpec.format,
                              deviceSpec.channels, deviceSpec.freq) >= 0) {
            samples.resize(static_cast<std::size_t>(length) * std::max(1, cvt.len_mult));
            std::copy(buffer, buffer + length, samples.begin());
            cvt.buf = samples.data();
            cvt.len = static_cast<int>(length);
            if (cvt.needed != 0) {
                SDL_ConvertAudio(&cvt);
            }
            samples.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len));
        }
        SDL_FreeWAV(buffer);
    }
    return samples;
}

} // namespace

void openAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec want{};
        want.freq = 44100;
        want.format = AUDIO_S16LSB;
        want.channels = 2;
        want.samples = 1024;
        quietenAlsa(true);
        device = SDL_OpenAudioDevice(nullptr, 0, &want, &deviceSpec, 0);
        quietenAlsa(false);
    }
    if (device == 0) {
        std::fprintf(stderr, "zanbury: no sound device: playing silently\n");
        return;
    }
    for (Sound& sound : sounds) { // those registered before the device opened
        sound.samples = toDeviceFormat(sound.wav.data(), sound.wav.size());
        sound.wav = {};
    }
    SDL_PauseAudioDevice(device, 0);
}

void stopSounds() {
    if (device != 0) {
        SDL_ClearQueuedAudio(device);
    }
}

void closeAudio() {
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        device = 0;
    }
    sounds.clear();
}

} // namespace platform::detail

namespace platform {

using detail::device;
using detail::deviceSpec;
using detail::sounds;

int registerSound(const char*, const uint8_t* wav, std::size_t size) {
    detail::Sound sound;
    if (device != 0) {
        sound.samples = detail::toDeviceFormat(wav, size);
    } else {
        sound.wav.assign(wav, wav + size); // until the device opens
    }
    sounds.push_back(std::move(sound));
    return static_cast<int>(sounds.size()) - 1;
}

void playSound(int handle) {
    if (device == 0 || detail::sdl.settings.mute || handle < 0 ||
        handle >= static_cast<int>(sounds.size())) {
        return;
    }
    const detail::Sound& sound = sounds[static_cast<std::size_t>(handle)];
    if (sound.samples.empty()) {
        return;
    }
    // One sound at a time: whatever is still queued is cut off.
    SDL_ClearQueuedAudio(device);
    SDL_QueueAudio(device, sound.samples.data(), static_cast<Uint32>(sound.samples.size()));
}

uint32_t queuedSoundBytes() {
    return device == 0 ? 0 : SDL_GetQueuedAudioSize(device);
}

} // namespace platform
