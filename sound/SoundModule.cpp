// The Qt Multimedia player as a loadable module, so that the program starts without loading
// Qt Multimedia and the sound server's libraries: they come in after the window is on the screen.
#include "QtSoundPlayer.h"

extern "C" Q_DECL_EXPORT kelo::SoundPlayer* kelo_create_sound_player() {
    return new kelo::QtSoundPlayer;
}
