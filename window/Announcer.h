// Makes screen readers speak a sentence at once, wherever the keyboard focus is.
#pragma once

#include <QLabel>
#include <QString>

namespace kelo {

// The label the announcements come from; a class of its own so that its accessible role can be
// a notification.
class NotificationLabel final : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;
};

class Announcer {
  public:
    // The announcements come from an invisible child of `window`, which must outlive this.
    explicit Announcer(QWidget* window);

    // Spoken once; an empty text says nothing.
    void announce(const QString& text);

  private:
    NotificationLabel* label_;
};

}  // namespace kelo
