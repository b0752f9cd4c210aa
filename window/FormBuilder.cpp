// The form's controls, fonts, colours and frames, made from the layout tables.
#include "FormBuilder.h"

#include <QFont>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOptionFrame>
#include <algorithm>
#include <limits>
#include <variant>
#include <vector>

#include "FormLook.h"
#include "Layout.h"
#include "ValueLabel.h"

namespace kelo {
namespace build {
namespace {

QRect toPixels(const layout::Twips& t) {
    constexpr int k = layout::TwipsPerPixel;
    return {t.left / k, t.top / k, t.width / k, t.height / k};
}

QColor toColor(const layout::Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

Qt::Alignment toAlignment(layout::Align align) {
    return (align == layout::Align::Left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
}

QFont makeFont(const layout::FontStyle& style) {
    // Where the face itself is missing: Liberation Sans, narrow enough for a five-digit guess in
    // the entry box, then whatever sans-serif the desktop has.
    static const bool substituted = [] {
        QFont::insertSubstitutions(toQString(layout::FontFamily),
                                   {QStringLiteral("Liberation Sans"),
                                    QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(toQString(layout::FontFamily));
    if (!style.standIn.empty())
        font.setFamilies({toQString(layout::FontFamily), toQString(style.standIn)});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(look::fontPixels(style.points));
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    return font;
}

void setColours(QWidget* widget, const layout::Colours& colours, QPalette::ColorRole background,
                QPalette::ColorRole text) {
    QPalette palette = widget->palette();
    palette.setColor(background, toColor(colours.background));
    palette.setColor(text, toColor(colours.text));
    widget->setPalette(palette);
}

// Opaque, optionally sunken; without colours of its own it takes the platform's button colours.
void styleLabel(ValueLabel* label, const std::optional<layout::Colours>& colours, bool border) {
    label->setAutoFillBackground(true);
    label->setFocusPolicy(Qt::NoFocus);
    if (border) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    }
    if (colours) {
        setColours(label, *colours, QPalette::Window, QPalette::WindowText);
    } else {
        label->setBackgroundRole(QPalette::Button);
        label->setForegroundRole(QPalette::ButtonText);
    }
}

// A new-game digit is told with its key's place; the other keys' tip is what a screen reader reads.
QString tip(const layout::Control& control) {
    const int digit = control.keys.digit;
    if (digit == 0)
        return spokenKeys(control);
    return QStringLiteral("%1 (touche %2 du haut ou du pavé)").arg(spokenKeys(control)).arg(digit);
}

// The control of a table row, made as the type of its member says.
QPushButton* make(QWidget& form, const layout::Control& control,
                  ControlMember<QPushButton> /*kind*/) {
    auto* button = new QPushButton(toQString(control.caption), &form);
    // Enter belongs to the entry box; no button may take it as a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    // The digits' keys are DigitShortcuts': a shortcut for them would never fire.
    if (!control.keys.keys.empty()) {
        auto* shortcut = new QShortcut(QKeySequence(toQString(control.keys.keys)), &form);
        QObject::connect(shortcut, &QShortcut::activated, button, &QAbstractButton::click);
    }
    // The button's name is read already; its description adds only the keys, short, so that it
    // delays nothing that follows.
    button->setToolTip(tip(control));
    button->setAccessibleDescription(spokenKeys(control));
    return button;
}

QLineEdit* make(QWidget& form, const layout::Control& control, ControlMember<QLineEdit> /*kind*/) {
    auto* edit = new QLineEdit(toQString(control.caption), &form);
    edit->setAlignment(toAlignment(control.align));
    // The rules decide what a guess may hold; the box takes any text of any length.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setFocusPolicy(Qt::StrongFocus);
    edit->setToolTip(toQString(layout::RereadTip));
    if (control.colours)
        setColours(edit, *control.colours, QPalette::Base, QPalette::Text);
    return edit;
}

ValueLabel* make(QWidget& form, const layout::Control& control,
                 ControlMember<ValueLabel> /*kind*/) {
    auto* label = new ValueLabel(&form);
    label->setText(toQString(control.caption));
    label->setAlignment(toAlignment(control.align));
    styleLabel(label, control.colours, control.border);
    return label;
}

void buildCells(QWidget& form, Controls& controls) {
    const QFont font = makeFont(layout::CellFont);
    for (const auto& column : layout::CellColumns) {
        for (int row = 0; row < BoardRows; ++row) {
            auto* label = new ValueLabel(&form);
            label->setObjectName(QStringLiteral("%1_%2").arg(toQString(column.name)).arg(row));
            label->setProperty("column", toQString(column.name));
            label->setProperty("row", row);
            label->setGeometry(toPixels(layout::cellGeometry(column, row)));
            label->setFont(font);
            label->setAlignment(toAlignment(column.align));
            styleLabel(label, column.colours, true);
            label->setAccessibleName(QStringLiteral("vide"));
            // A cell's name changes with what it shows, which tells a screen reader already. Two
            // text events more per cell would flood Orca when a win or a scroll rewrites the
            // board, and in a flood Orca drops the notification that speaks the outcome.
            label->setTellsTextChanges(false);
            controls.cells.at(static_cast<std::size_t>(column.column))
                .at(static_cast<std::size_t>(row)) = label;
        }
    }
}

}  // namespace

void styleForm(QWidget& form) {
    form.setObjectName(toQString(layout::Form.name));
    form.setWindowTitle(toQString(layout::Form.caption));
    form.setFixedSize(layout::Form.clientWidth / layout::TwipsPerPixel,
                      layout::Form.clientHeight / layout::TwipsPerPixel);
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, toColor(layout::Form.background));
    look::fixEdgeColours(palette);
    form.setPalette(palette);
    form.setAutoFillBackground(true);
}

Controls controls(QWidget& form, QStyle* focusStyle) {
    Controls made;
    QWidget* previousInTabOrder = nullptr;
    for (const auto& control : layout::Controls) {
        QWidget* widget = std::visit(
            [&](auto member) -> QWidget* { return made.*member = make(form, control, member); },
            control.member);
        widget->setObjectName(toQString(control.name));
        widget->setGeometry(toPixels(control.geometry));
        widget->setFont(makeFont(control.font));
        if (!control.accessibleName.empty())
            widget->setAccessibleName(toQString(control.accessibleName));
        if (widget->focusPolicy() != Qt::NoFocus) {
            widget->setStyle(focusStyle);
            if (previousInTabOrder != nullptr)
                QWidget::setTabOrder(previousInTabOrder, widget);
            previousInTabOrder = widget;
        }
    }
    buildCells(form, made);
    return made;
}

// The decorative frames are drawn, not built: as widgets a screen reader would list each of them.
// The form draws them all, back to front, behind its controls; a label that a frame lies over
// draws that frame again over itself.
void drawFrames(const QWidget& form, QPainter& painter, const QRect& area, bool overLabelsOnly) {
    QStyleOptionFrame option;
    option.initFrom(&form);
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.frameShape = QFrame::Panel;
    option.state |= QStyle::State_Sunken;
    for (auto it = layout::Frames.rbegin(); it != layout::Frames.rend(); ++it) {
        option.rect = toPixels(it->geometry);
        if ((!overLabelsOnly || it->layer == layout::Layer::OverLabels) &&
            option.rect.intersects(area)) {
            form.style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, &form);
        }
    }
}

void layFrames(const QWidget& form, const Controls& controls) {
    std::vector<ValueLabel*> labels;
    for (const auto& control : layout::Controls) {
        if (const auto* member = std::get_if<ControlMember<ValueLabel>>(&control.member))
            labels.push_back(controls.*(*member));
    }
    for (const auto& column : controls.cells)
        labels.insert(labels.end(), column.begin(), column.end());
    for (ValueLabel* label : labels) {
        const bool under = std::any_of(layout::Frames.begin(), layout::Frames.end(), [&](auto& f) {
            return f.layer == layout::Layer::OverLabels &&
                   toPixels(f.geometry).intersects(label->geometry());
        });
        if (!under)
            continue;
        label->setOverlay([&form, label](QPainter& painter) {
            painter.translate(-label->pos());
            drawFrames(form, painter, label->geometry(), true);
        });
    }

    // Stack back to front: the labels, then the buttons and the entry box in front of them.
    for (ValueLabel* label : labels)
        label->raise();
    for (QPushButton* button : buttons(controls))
        button->raise();
    controls.Text->raise();
}

}  // namespace build

QString spokenKeys(const layout::Control& control) {
    if (control.keys.digit != 0)
        return QStringLiteral("Alt+%1").arg(control.keys.digit);
    return toQString(control.keys.spoken);
}

QPushButton* lengthButton(const Controls& controls, int length) {
    for (const auto& control : layout::Controls) {
        if (control.keys.digit == length)
            return controls.*std::get<ControlMember<QPushButton>>(control.member);
    }
    return nullptr;
}

std::vector<QPushButton*> buttons(const Controls& controls) {
    std::vector<QPushButton*> all;
    for (const auto& control : layout::Controls) {
        if (const auto* member = std::get_if<ControlMember<QPushButton>>(&control.member))
            all.push_back(controls.*(*member));
    }
    return all;
}

}  // namespace kelo
