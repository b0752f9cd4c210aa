// The program's entry: the application, its one window and the event loop.
#include <QApplication>

#include "AppInfo.h"
#include "Form1.h"
#include "LazySoundPlayer.h"
#include "RandomSource.h"
#include "SignalClose.h"

int main(int argc, char* argv[]) {
    kelo::app::choosePlatform();
    QApplication app(argc, argv);
    kelo::app::applyDesktopFileName();
    kelo::LazySoundPlayer sound(
        (QCoreApplication::applicationDirPath() + '/' + kelo::SoundModuleName).toStdString());
    kelo::ClockRandom random;
    kelo::Form1 form(sound, random);
    const kelo::SignalClose closeOnSignal(form);
    // What the first paint can do without comes after it, before the player's first click.
    QObject::connect(&form, &kelo::Form1::firstGameShown, &app, [&sound] {
        kelo::app::applyApplicationInfo();
        sound.load();
    });
    form.show();
    return QApplication::exec();
}
