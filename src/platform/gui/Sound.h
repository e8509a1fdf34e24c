#pragma once
// Plays a wave file and waits until it has ended (bounded), as the completion
// sound wants. A missing file plays the desktop's default beep; no sound device
// is not an error.
#include <QString>

namespace platform {
void playWaveAndWait(const QString &file, int maxWaitMs = 15000);
}
