#include "ui/QtStatusLabel.hpp"

#include <QLabel>

namespace zorlo {

QtStatusLabel::QtStatusLabel(QLabel& label) : label_(label) {
    label_.setTextFormat(Qt::PlainText);
}

Text QtStatusLabel::caption() const {
    return label_.text().toStdU16String();
}

void QtStatusLabel::setCaption(const Text& caption) {
    label_.setText(QString::fromStdU16String(caption));
}

} // namespace zorlo
