// What the program says about itself: version, description, language and icon.
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

}  // namespace kelo::app
