// A label whose caption is the value a screen reader reads out under the label's own name.
#pragma once

#include <QLabel>

namespace kelo {

class ValueLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ValueLabel(QWidget* parent);

    // Sets the caption and tells assistive technology that the value changed.
    void setCaption(const QString& caption);

    // Makes QAccessible build ValueLabel's interface; safe to call more than once.
    static void registerAccessibility();
};

}  // namespace kelo
