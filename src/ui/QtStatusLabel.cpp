#include "ui/QtStatusLabel.hpp"

#include <QLabel>

namespace zorlo {

QtStatusLabel::QtStatusLabel(QLabel& label) : label_(label) {
    label_.setTextFormat(Qt::PlainText);
}

void QtStatusLabel::detach() {
    caption_ = caption();
    detached_ = true;
}

Text QtStatusLabel::caption() const {
    return detached_ ? caption_ : label_.text().toStdU16String();
}

void QtStatusLabel::setCaption(const Text& caption) {
    if (detached_) {
        caption_ = caption;
    } else {
        label_.setText(QString::fromStdU16String(caption));
    }
}

} // namespace zorlo
