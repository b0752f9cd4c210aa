// What the program says about itself: version, description, language, icon and menu entry, and
// the platform it asks Qt for.
#pragma once

class QIcon;

namespace kelo::app {

// From project(VERSION) in the top CMakeLists.txt.
inline constexpr char Version[] = KELO_VERSION_TEXT;
inline constexpr char Description[] = "Zandor à Chiffres";
inline constexpr char Language[] = "fr_FR";
inline constexpr char ExecutableName[] = "zandor-chiffres";

// The three question marks, in every size kept in the resources.
QIcon icon();

// Sets the version and the icon on the running application.
void applyApplicationInfo();

// Before the application exists: the platform plugins to try, unless QT_QPA_PLATFORM names them.
void choosePlatform();

// Before the application exists: with no session bus named and none at its usual place, tells
// the libraries there is none, rather than have D-Bus start one for the display that outlives
// the game (dbus-launch --autolaunch).
void noSessionBusAutolaunch();

// The menu entry's name, by which docks match the window to its entry on Wayland and X11; set
// before the window is first shown.
void applyDesktopFileName();

}  // namespace kelo::app
