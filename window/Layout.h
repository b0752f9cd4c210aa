// The main window's controls as data: geometry in twips, fonts, colours, borders and stacking.
// The form's builders make every control from these tables; nothing here changes after the window
// is built.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <variant>

#include "BoardCells.h"
#include "Controls.h"
#include "GameState.h"

namespace kelo::layout {

constexpr int TwipsPerPixel = 15;

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

struct Rgb {
    int red;
    int green;
    int blue;
};

// Every font of the window is this face, substituted where it is not installed.
constexpr std::string_view FontFamily = "MS Sans Serif";
// The title's blanks put "B" and "M" over the columns Bon and Mal; the blanks of this face are
// as wide as that needs, those of the usual stand-in narrower.
constexpr std::string_view TitleStandIn = "DejaVu Sans";

struct FontStyle {
    double points;
    bool bold;
    // Where the face is missing, the face drawn instead if not the usual stand-in.
    std::string_view standIn = {};
};

// No value: the platform's button face and button text colours.
struct Colours {
    Rgb background;
    Rgb text;
};

enum class Align { Left, Centre };

// Where the window keeps a control; the member's type is the control's kind.
using Member =
    std::variant<ControlMember<QPushButton>, ControlMember<QLineEdit>, ControlMember<ValueLabel>>;

// Keys that operate a button as a click does, leaving its caption as it is. Alt and `digit` act by
// the key's place in the top row as well, whatever the layout types there. Other `keys` are in
// QKeySequence's portable form and `spoken` names them in French, as a screen reader reads the
// button's description and a sighted player its tooltip. Page Up and Page Down act from the main
// keys only: on the keypad they are the screen reader's.
struct Keys {
    int digit = 0;
    std::string_view keys = {};
    std::string_view spoken = {};
};

struct Control {
    std::string_view name;
    Member member;
    std::string_view caption;
    Twips geometry;
    FontStyle font;
    std::optional<Colours> colours;
    Align align;
    bool border;  // labels only: a single sunken line; the text box keeps the style's frame
    std::string_view accessibleName;
    Keys keys = {};
};

constexpr Rgb Maroon{128, 0, 0};
constexpr Rgb Yellow{255, 255, 0};
constexpr Rgb Navy{0, 0, 128};
constexpr Rgb Cyan{0, 255, 255};
constexpr Rgb DarkGreen{0, 128, 0};
constexpr Rgb Green{0, 255, 0};
constexpr Rgb Purple{128, 0, 128};
constexpr Rgb PalePink{255, 192, 255};

struct FormProperties {
    std::string_view name;
    std::string_view caption;
    int clientWidth;
    int clientHeight;
    Rgb background;
};

constexpr FormProperties Form{"Form1", "       Zandor Chiffres", 3930, 5730, Rgb{1, 0, 66}};

// Buttons and the entry box, in tab order, then the two labels that are not board cells. A
// button's digit is also the length of the game it starts.
// clang-format off
constexpr std::array<Control, 9> Controls{{
    // name          member                           caption                  left  top   width height  font          colours                 align          border accessible name                   keys
    {"Command3ch",   &kelo::Controls::Command3ch,     "3",                     {3180, 240,  495, 855},   {9.75, true}, {},                     Align::Centre, false, "Nouvelle partie à 3 chiffres", {3}},
    {"Command4ch",   &kelo::Controls::Command4ch,     "4",                     {3180, 1200, 495, 855},   {9.75, true}, {},                     Align::Centre, false, "Nouvelle partie à 4 chiffres", {4}},
    {"Command5ch",   &kelo::Controls::Command5ch,     "5",                     {3180, 2160, 495, 855},   {9.75, true}, {},                     Align::Centre, false, "Nouvelle partie à 5 chiffres", {5}},
    {"Commandv",     &kelo::Controls::Commandv,       "v",                     {3180, 3120, 495, 795},   {9.75, true}, {},                     Align::Centre, false, "Voir le code",    {0, "Alt+V", "Alt+V"}},
    {"Commandmoins", &kelo::Controls::Commandmoins,   "-",                     {3180, 4020, 495, 675},   {18, false},  {},                     Align::Centre, false, "Coups précédents", {0, "PgUp", "Page précédente"}},
    {"Commandplus",  &kelo::Controls::Commandplus,    "+",                     {3180, 4800, 495, 675},   {18, false},  {},                     Align::Centre, false, "Coups suivants",  {0, "PgDown", "Page suivante"}},
    {"Text",         &kelo::Controls::Text,           "",                      {720,  5040, 855, 435},   {12, true},   Colours{Maroon, Yellow}, Align::Centre, true,  "Proposition"},
    {"Labeltitre",   &kelo::Controls::Labeltitre,     "    C o d e      B M",  {300,  180,  2595, 315},  {13.5, true, TitleStandIn}, {},                     Align::Left,   false, ""},
    {"Labelncoup",   &kelo::Controls::Labelncoup,     "",                      {2280, 5100, 435, 315},   {12, true},   Colours{Navy, Cyan},    Align::Centre, true,  "Nombre de coups"},
}};
// clang-format on

// Reads the rows of the board again, to a screen reader; named in the entry box's tooltip.
constexpr std::string_view RereadKeys = "Alt+L";
constexpr std::string_view RereadTip = "Alt+L : relire les coups affichés";

// The board: one column per array, BoardRows cells each, row 0 at the top.
struct CellColumn {
    std::string_view name;
    Column column;
    int left;
    Colours colours;
    Align align;
    // The cell's accessible name is "Coup <guess>, <stem>", or "Code, <stem>"; a digit's stem is
    // followed by its position in the code.
    std::string_view accessibleStem;
};

constexpr int CellTop = 540;
constexpr int CellPitch = 540;
constexpr int CellWidth = 315;
constexpr int CellHeight = 495;
constexpr FontStyle CellFont{18, true};

// clang-format off
constexpr std::array<CellColumn, ColumnCount> CellColumns{{
    {"A1",  Column::A1,  300,  {Maroon, Yellow},    Align::Centre, "chiffre"},
    {"A2",  Column::A2,  660,  {Maroon, Yellow},    Align::Centre, "chiffre"},
    {"A3",  Column::A3,  1020, {Maroon, Yellow},    Align::Centre, "chiffre"},
    {"A4",  Column::A4,  1380, {Maroon, Yellow},    Align::Centre, "chiffre"},
    {"A5",  Column::A5,  1740, {Maroon, Yellow},    Align::Centre, "chiffre"},
    {"Bon", Column::Bon, 2160, {DarkGreen, Green},  Align::Left,   "bien placés"},
    {"Mal", Column::Mal, 2520, {Purple, PalePink},  Align::Centre, "mal placés"},
}};
// clang-format on

constexpr Twips cellGeometry(const CellColumn& column, int row) {
    return {column.left, CellTop + CellPitch * row, CellWidth, CellHeight};
}

// Empty sunken rectangles, listed from front to back. The labels (title, counter and cells)
// stand between the frames drawn over them and the two outermost frames behind them.
enum class Layer { OverLabels, UnderLabels };

struct Frame {
    std::string_view name;
    Twips geometry;
    Layer layer;
};

// clang-format off
constexpr std::array<Frame, 24> Frames{{
    // name      left  top   width height
    {"Image25", {1800, 300,  255,  75},   Layer::OverLabels},
    {"Image24", {300,  300,  255,  75},   Layer::OverLabels},
    {"Image22", {1740, 240,  375,  195},  Layer::OverLabels},
    {"Image21", {240,  240,  375,  195},  Layer::OverLabels},
    {"Image20", {1860, 5160, 75,   195},  Layer::OverLabels},
    {"Image19", {360,  5160, 75,   195},  Layer::OverLabels},
    {"Image18", {2220, 5040, 555,  435},  Layer::OverLabels},
    {"Image17", {660,  4980, 975,  555},  Layer::OverLabels},
    {"Image16", {3120, 180,  615,  5355}, Layer::OverLabels},
    {"Image15", {180,  4860, 2775, 75},   Layer::OverLabels},
    {"Image14", {2160, 4980, 675,  555},  Layer::OverLabels},
    {"Image13", {1800, 5100, 195,  315},  Layer::OverLabels},
    {"Image12", {300,  5100, 195,  315},  Layer::OverLabels},
    {"Image10", {2880, 540,  75,   4275}, Layer::OverLabels},
    {"Image9",  {180,  540,  75,   4275}, Layer::OverLabels},
    {"Image11", {180,  180,  2775, 315},  Layer::OverLabels},
    {"Image7",  {1740, 5040, 315,  435},  Layer::OverLabels},
    {"Image8",  {240,  5040, 315,  435},  Layer::OverLabels},
    {"Image6",  {3060, 120,  735,  5475}, Layer::OverLabels},
    {"Image5",  {2880, 4980, 75,   555},  Layer::OverLabels},
    {"Image4",  {1680, 4980, 435,  555},  Layer::OverLabels},
    {"Image3",  {180,  4980, 435,  555},  Layer::OverLabels},
    {"Image2",  {120,  120,  2895, 5475}, Layer::UnderLabels},
    {"Image1",  {0,    0,    3915, 5715}, Layer::UnderLabels},
}};
// clang-format on

// Every twips value above lands on a whole logical pixel, so no control is rounded.
constexpr bool onPixelGrid(const Twips& t) {
    return t.left % TwipsPerPixel == 0 && t.top % TwipsPerPixel == 0 &&
           t.width % TwipsPerPixel == 0 && t.height % TwipsPerPixel == 0;
}

constexpr bool allOnPixelGrid() {
    if (Form.clientWidth % TwipsPerPixel != 0 || Form.clientHeight % TwipsPerPixel != 0) {
        return false;
    }
    for (const auto& c : Controls) {
        if (!onPixelGrid(c.geometry))
            return false;
    }
    for (const auto& f : Frames) {
        if (!onPixelGrid(f.geometry))
            return false;
    }
    for (const auto& column : CellColumns) {
        for (int row = 0; row < BoardRows; ++row) {
            if (!onPixelGrid(cellGeometry(column, row)))
                return false;
        }
    }
    return true;
}
static_assert(allOnPixelGrid());

}  // namespace kelo::layout
