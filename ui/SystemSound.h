#pragma once

#include <windows.h>

// The system sounds that boxes play (MessageBeep types such as
// MB_ICONEXCLAMATION). Tests install a player of their own.
using SoundPlayer = void (*)(UINT beepType);

// Installs a player (none restores the system's) and returns the previous one.
SoundPlayer SetSoundPlayer(SoundPlayer player);

void PlaySystemSound(UINT beepType);
