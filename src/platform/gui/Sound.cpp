#include "platform/gui/Sound.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace platform {

void playWaveAndWait(const QString &file, int maxWaitMs)
{
    if (!QFileInfo(file).isFile()) {
        QApplication::beep();
        return;
    }
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(file));
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Ready)
            effect.play();
        else if (effect.status() == QSoundEffect::Error)
            loop.quit();
    });
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying())
            loop.quit();
    });
    guard.start(maxWaitMs);
    if (effect.status() == QSoundEffect::Ready)
        effect.play();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace platform
