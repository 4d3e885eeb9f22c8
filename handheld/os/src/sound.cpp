#include "handheld/sound.h"

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <mutex>
#include <string>
#include <vector>

#include "handheld/home.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace handheld {

namespace {

std::mutex observerMutex;
SoundObserver soundObserver;
bool audioOutputEnabled = true;

// A handheld sound is a short click or chime; anything longer than this is cut rather than blocking the
// user-interface thread for minutes.
constexpr sf_count_t kMaxPlaybackSeconds = 30;

struct DecodedSound {
    std::vector<short> samples;  // interleaved
    int channels = 0;
    int sampleRateHz = 0;
};

bool Decode(const std::string& hostPath, DecodedSound& sound) {
    SF_INFO info{};
    SNDFILE* file = sf_open(hostPath.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        HH_TRACE("sound", "cannot decode %s: %s", hostPath.c_str(), sf_strerror(nullptr));
        return false;
    }
    bool ok = info.channels > 0 && info.channels <= 8 && info.samplerate > 0 && info.frames >= 0;
    if (ok) {
        const sf_count_t frames = std::min<sf_count_t>(info.frames, kMaxPlaybackSeconds * info.samplerate);
        sound.channels = info.channels;
        sound.sampleRateHz = info.samplerate;
        sound.samples.resize(static_cast<std::size_t>(frames * info.channels));
        const sf_count_t read = sf_readf_short(file, sound.samples.data(), frames);
        sound.samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(read, 0) * info.channels));
    }
    sf_close(file);
    return ok;
}

// ALSA reports a missing card on standard error by itself; the trace channel says it instead.
void QuietAlsaError(const char*, int, const char*, int, const char*, ...) {}

bool Play(const DecodedSound& sound) {
    static const bool quiet = (snd_lib_error_set_handler(&QuietAlsaError), true);
    (void)quiet;
    snd_pcm_t* pcm = nullptr;
    // Opened non-blocking so that a busy or missing device fails at once instead of hanging the caller.
    int rc = snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (rc < 0) {
        HH_TRACE("sound", "no audio device: %s", snd_strerror(rc));
        return false;
    }
    snd_pcm_nonblock(pcm, 0);
    constexpr unsigned kLatencyUs = 100000;
    rc = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                            static_cast<unsigned>(sound.channels), static_cast<unsigned>(sound.sampleRateHz), 1,
                            kLatencyUs);
    if (rc < 0) {
        HH_TRACE("sound", "audio device refused the format: %s", snd_strerror(rc));
        snd_pcm_close(pcm);
        return false;
    }
    const short* next = sound.samples.data();
    snd_pcm_uframes_t framesLeft = sound.samples.size() / static_cast<std::size_t>(sound.channels);
    while (framesLeft > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, next, framesLeft);
        if (written < 0) written = snd_pcm_recover(pcm, static_cast<int>(written), 1);
        if (written < 0) {
            HH_TRACE("sound", "playback failed: %s", snd_strerror(static_cast<int>(written)));
            snd_pcm_close(pcm);
            return false;
        }
        next += written * sound.channels;
        framesLeft -= static_cast<snd_pcm_uframes_t>(written);
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
    return true;
}

}  // namespace

BOOL PlaySoundW(LPCWSTR sound, void* module, DWORD flags) {
    const std::u16string path = sound ? std::u16string(sound) : std::u16string();
    bool played = false;
    if (flags & SND_ASYNC) {
        HH_TRACE("sound", "asynchronous playback is not offered");
    } else if (module != nullptr) {
        HH_TRACE("sound", "sounds from resources are not offered");
    } else if (!path.empty()) {
        const auto host = HostPath(path);
        DecodedSound decoded;
        if (host && Decode(host->string(), decoded)) {
            bool output;
            {
                std::lock_guard lock(observerMutex);
                output = audioOutputEnabled;
            }
            played = output ? Play(decoded) : true;
        }
    }
    SoundObserver observer;
    {
        std::lock_guard lock(observerMutex);
        observer = soundObserver;
    }
    if (observer) observer(path, played);
    return played ? TRUE : FALSE;
}

SoundObserver SetSoundObserver(SoundObserver observer) {
    std::lock_guard lock(observerMutex);
    std::swap(observer, soundObserver);
    return observer;
}

void SetAudioOutputEnabled(bool enabled) {
    std::lock_guard lock(observerMutex);
    audioOutputEnabled = enabled;
}

}  // namespace handheld
