#include "ui/SystemSound.h"

#include <atomic>

namespace {

void SystemPlayer(UINT beepType) { ::MessageBeep(beepType); }

std::atomic<SoundPlayer> currentPlayer{SystemPlayer};

}  // namespace

SoundPlayer SetSoundPlayer(SoundPlayer player) { return currentPlayer.exchange(player ? player : SystemPlayer); }

void PlaySystemSound(UINT beepType) { currentPlayer.load()(beepType); }
