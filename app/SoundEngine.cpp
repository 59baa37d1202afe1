// c_SoundEngine's hooks.
#include "app/SoundEngine.h"

#include "host/Framework.h"
#include "song/SongModel.h"

int c_SoundEngine::OnCreate() {
    BuildEmptySong(*this);
    SetUpdateRate(kUpdateRate);
    return 0;
}

int c_SoundEngine::OnUpdate() { return 0; }

int c_SoundEngine::OnRender() { return 0; }
