// gxtkAudio over the OpenAL table: construction with device fallbacks, lazy
// sources with borrowing, channel states, the discarded-buffer flush, and the
// framework functions LoadSound / PlaySound and gxtkSample's discard.
#include "audio/gxtkAudio.h"

#include <AL/al.h>

#include <cmath>
#include <cstdlib>

#include "audio/AudioData.h"
#include "audio/OpenAlApi.h"
#include "io/DataPath.h"

std::vector<unsigned int>& DiscardedBuffers() {
    static std::vector<unsigned int> buffers;
    return buffers;
}

gxtkSample::~gxtkSample() { gxtkSample::Discard(); }

void gxtkSample::Discard() {
    if (buffer == 0) return;
    DiscardedBuffers().push_back(buffer);
    buffer = 0;
}

std::shared_ptr<c_Sound> LoadSound(AudioDevice& audio, const String& path) {
    std::shared_ptr<gxtkSample> sample = audio.LoadSample(ToDataPath(path));
    if (!sample) return nullptr;
    return std::make_shared<c_Sound>(std::move(sample));
}

void PlaySound(AudioDevice& audio, const c_Sound* sound, int channel, int flags) {
    if (sound && sound->sample) audio.PlaySample(sound->sample, channel, flags);
}

int BufferFormatFor(int bytesPerSample, int channels) {
    if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

// ---- construction

gxtkAudio::gxtkAudio() : gxtkAudio(MakeOpenAlApi()) {}

gxtkAudio::gxtkAudio(std::unique_ptr<OpenAlApi> al) : al_(std::move(al)) {
    OpenDefaultDevice();
    SetUpContext();
}

gxtkAudio::gxtkAudio(OpenLaterTag tag) : gxtkAudio(MakeOpenAlApi(), tag) {}

gxtkAudio::gxtkAudio(std::unique_ptr<OpenAlApi> al, OpenLaterTag) : al_(std::move(al)) { opened_ = false; }

void gxtkAudio::SetUpContext() {
    al_->DistanceModel(AL_NONE);
    ClearChannels();
    AcquireSource(audio::kMusicChannel);
}

void gxtkAudio::Open() {
    if (opened_) return;
    opened_ = true;
    // What the channels were given so far, before ClearChannels forgets it.
    Channel wanted[kChannelRecords];
    for (int i = 0; i < kChannelRecords; ++i) wanted[i] = channels_[i];
    OpenDefaultDevice();
    SetUpContext();
    for (const PendingUpload& upload : pendingUploads_)
        if (const std::shared_ptr<gxtkSample> sample = upload.sample.lock()) Upload(*sample, upload.audio);
    pendingUploads_.clear();
    pendingUploads_.shrink_to_fit();
    PauseDeviceWhenSilent();
    for (int i = 0; i < kChannelRecords; ++i) {
        if (wanted[i].wantedGain != kUnknown) SetVolume(i, wanted[i].wantedGain);
        if (wanted[i].wantedRate != kUnknown) SetRate(i, wanted[i].wantedRate);
        if (wanted[i].panWanted) SetPan(i, wanted[i].wantedPan);
    }
}

gxtkAudio::gxtkAudio(std::unique_ptr<OpenAlApi> al, LoopbackTag) : al_(std::move(al)) {
    hasDevice_ = true;
    hasContext_ = true;
    loopback_ = true;
    al_->DistanceModel(AL_NONE);
    ClearChannels();
    AcquireSource(audio::kMusicChannel);
}

std::unique_ptr<gxtkAudio> gxtkAudio::OpenLoopback(int sampleRate) {
    std::unique_ptr<OpenAlApi> al = MakeOpenAlApi();
    if (!al->OpenLoopbackDevice(sampleRate)) return nullptr;
    return std::unique_ptr<gxtkAudio>(new gxtkAudio(std::move(al), LoopbackTag{}));
}

gxtkAudio::~gxtkAudio() {
    // Buffer names belong to the device that goes away with this driver; a
    // later driver must not delete its own buffers under those names. Samples
    // the channels still hold are released first so their names are dropped too.
    ClearChannels();
    DiscardedBuffers().clear();
}

// Failures go to standard error: they are diagnostics, and the program runs
// on silent.
void gxtkAudio::OpenDefaultDevice() {
    hasDevice_ = al_->OpenDevice(nullptr) || al_->OpenDevice("Generic Hardware") || al_->OpenDevice("Generic Software");
    if (!hasDevice_) {
        LogError("OpenAl error: alcOpenDevice failed");
        return;
    }
    if (!al_->CreateContext()) {
        LogError("OpenAl error: alcCreateContext failed");
        return;
    }
    if (!al_->MakeContextCurrent()) {
        LogError("OpenAl error: alcMakeContextCurrent failed");
        return;
    }
    hasContext_ = true;
}

void gxtkAudio::SetDevicePause(bool pause) {
    devicePause_ = pause;
    if (pause) {
        PauseDeviceWhenSilent();
    } else {
        ResumeDevice();
    }
}

// A paused device mixes nothing: no mixer work while the tracker is silent.
// Loopback devices mix only when asked and are never paused. The pause waits
// for a stretch of silence: pausing stops the device's thread (the caller
// waits up to one mixing period for it), and a resumed device mixes its first
// period a period late, so pausing at every stop made keys and stops slower.
bool gxtkAudio::Silent() const {
    for (const Channel& channel : channels_)
        if (channel.state == audio::kPlaying) return false;
    return true;
}

void gxtkAudio::PauseDeviceWhenSilent() {
    if (!devicePause_ || !hasContext_ || loopback_ || devicePaused_ || !Silent()) return;
    if (silentUpdates_ < 0) silentUpdates_ = 0;
}

void gxtkAudio::AfterUpdate() {
    if (silentUpdates_ < 0 || ++silentUpdates_ < kSilentUpdatesBeforePause) return;
    silentUpdates_ = -1;
    if (devicePause_ && !devicePaused_ && Silent()) devicePaused_ = al_->PauseDevice(true);
}

void gxtkAudio::ResumeForInput() {
    if (!devicePaused_) return;
    ResumeDevice();
    PauseDeviceWhenSilent();
}

void gxtkAudio::ResumeDevice() {
    silentUpdates_ = -1;
    if (!devicePaused_) return;
    al_->PauseDevice(false);
    devicePaused_ = false;
}

void gxtkAudio::ClearChannels() {
    for (Channel& channel : channels_) channel = Channel();
}

void gxtkAudio::AcquireSource(int channel) {
    channels_[channel].gain = kUnknown;
    channels_[channel].rate = kUnknown;
    al_->GetError();
    channels_[channel].source = al_->GenSource();
    if (al_->GetError() == AL_NO_ERROR) return;
    channels_[channel].source = 0;
    for (int i = 0; i < audio::kChannelCount; ++i) {
        if (channels_[i].source == 0) continue;
        if (ChannelState(i) != audio::kStopped) continue;
        channels_[channel].source = channels_[i].source;
        channels_[i].source = 0;
        return;
    }
}

// ---- suspend and resume

void gxtkAudio::Suspend() {
    for (Channel& channel : channels_) {
        if (channel.state == audio::kPlaying && al_->SourceState(channel.source) == AL_PLAYING)
            al_->SourcePause(channel.source);
    }
}

void gxtkAudio::Resume() {
    for (Channel& channel : channels_) {
        if (channel.state == audio::kPlaying && al_->SourceState(channel.source) == AL_PAUSED)
            al_->SourcePlay(channel.source);
    }
}

// ---- samples

std::shared_ptr<gxtkSample> gxtkAudio::LoadSample(const String& path) {
    FlushDiscarded();
    auto sample = std::make_shared<gxtkSample>();
    if (opened_) return LoadSampleData(*sample, path) ? sample : nullptr;
    // Decoded now, so a missing or broken file is known at once; the buffer waits.
    DecodedAudio decoded = Decode(path);
    if (!decoded.data) return nullptr;
    pendingUploads_.push_back(PendingUpload{sample, std::move(decoded)});
    return sample;
}

bool gxtkAudio::LoadSampleData(gxtkSample& sample, const String& path) {
    const DecodedAudio decoded = Decode(path);
    if (!decoded.data) return false;
    Upload(sample, decoded);
    return true;
}

gxtkAudio::DecodedAudio gxtkAudio::Decode(const String& path) {
    int length = 0, channels = 0, bytesPerSample = 0, sampleRate = 0;
    DecodedAudio decoded;
    decoded.data.reset(LoadAudioData(path, length, channels, bytesPerSample, sampleRate));
    decoded.size = length * channels * bytesPerSample;
    decoded.format = BufferFormatFor(bytesPerSample, channels);
    decoded.sampleRate = sampleRate;
    return decoded;
}

void gxtkAudio::Upload(gxtkSample& sample, const DecodedAudio& audio) {
    sample.buffer = al_->GenBuffer();
    al_->BufferData(sample.buffer, audio.format, audio.data.get(), audio.size, audio.sampleRate);
}

void gxtkAudio::FlushDiscarded() {
    std::vector<unsigned int>& discarded = DiscardedBuffers();
    if (discarded.empty()) return;
    for (Channel& channel : channels_) {
        if (channel.state != audio::kStopped && al_->SourceState(channel.source) == AL_STOPPED)
            al_->Sourcei(channel.source, AL_BUFFER, 0);
    }
    std::vector<unsigned int> kept;
    for (unsigned int buffer : discarded) {
        al_->GetError();
        al_->DeleteBuffer(buffer);
        if (al_->GetError() != AL_NO_ERROR) kept.push_back(buffer);
    }
    discarded.swap(kept);
}

// ---- channels

int gxtkAudio::PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) {
    Open();
    FlushDiscarded();
    const unsigned int source = SourceOf(channel);
    if (source == 0) return -1;
    ResumeDevice();
    al_->SourceStop(source);
    al_->Sourcei(source, AL_BUFFER, static_cast<int>(sample ? sample->buffer : 0));
    al_->Sourcei(source, AL_LOOPING, flags != 0 ? 1 : 0);
    al_->SourcePlay(source);
    Channel& record = channels_[channel];
    record.sample = sample;
    record.flags = flags;
    record.state = audio::kPlaying;
    return 0;
}

void gxtkAudio::StopChannel(int channel) {
    Channel& record = channels_[channel];
    if (record.state == audio::kStopped) return;
    al_->SourceStop(record.source);
    record.state = audio::kStopped;
    PauseDeviceWhenSilent();
}

void gxtkAudio::PauseChannel(int channel) {
    Channel& record = channels_[channel];
    if (record.state != audio::kPlaying) return;
    if (al_->SourceState(record.source) == AL_STOPPED) {
        record.state = audio::kStopped;
        return;
    }
    al_->SourcePause(record.source);
    record.state = audio::kPaused;
    PauseDeviceWhenSilent();
}

void gxtkAudio::ResumeChannel(int channel) {
    Channel& record = channels_[channel];
    if (record.state != audio::kPaused) return;
    ResumeDevice();
    al_->SourcePlay(record.source);
    record.state = audio::kPlaying;
}

int gxtkAudio::ChannelState(int channel) {
    Channel& record = channels_[channel];
    if (record.state == audio::kPlaying && al_->SourceState(record.source) == AL_STOPPED)
        record.state = audio::kStopped;
    return record.state;
}

// The editor and the player set every channel's volume and rate each update;
// the same value again would only take the mixer's lock.
void gxtkAudio::SetVolume(int channel, float volume) {
    if (!opened_) {
        channels_[channel].wantedGain = volume;
        return;
    }
    const unsigned int source = SourceOf(channel);
    if (source != 0 && channels_[channel].gain == volume) return;
    al_->Sourcef(source, AL_GAIN, volume);
    channels_[channel].gain = source != 0 ? volume : kUnknown;
}

void gxtkAudio::SetPan(int channel, float pan) {
    if (!opened_) {
        channels_[channel].panWanted = true;
        channels_[channel].wantedPan = pan;
        return;
    }
    al_->Source3f(SourceOf(channel), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
}

void gxtkAudio::SetRate(int channel, float rate) {
    if (!opened_) {
        channels_[channel].wantedRate = rate;
        return;
    }
    const unsigned int source = SourceOf(channel);
    if (source != 0 && channels_[channel].rate == rate) return;
    al_->Sourcef(source, AL_PITCH, rate);
    channels_[channel].rate = source != 0 ? rate : kUnknown;
}

bool gxtkAudio::RenderFrames(int16_t* interleavedStereo, int frames) {
    return loopback_ && al_->RenderSamples(interleavedStereo, frames);
}

bool gxtkAudio::RenderFloatFrames(float* interleavedStereo, int frames) {
    return loopback_ && al_->RenderFloatSamples(interleavedStereo, frames);
}

// ---- music: the channel operations on channel 32, through their virtual slots

int gxtkAudio::PlayMusic(const String& path, int flags) {
    StopMusic();
    std::shared_ptr<gxtkSample> sample = LoadSample(path);
    if (!sample) return -1;
    PlaySample(sample, audio::kMusicChannel, flags);
    return 0;
}

void gxtkAudio::StopMusic() { StopChannel(audio::kMusicChannel); }
void gxtkAudio::PauseMusic() { PauseChannel(audio::kMusicChannel); }
void gxtkAudio::ResumeMusic() { ResumeChannel(audio::kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(audio::kMusicChannel); }
void gxtkAudio::SetMusicVolume(float volume) { SetVolume(audio::kMusicChannel, volume); }
