#include "ui/QtDialogs.hpp"

#include "ui/Twips.hpp"

#include <QInputDialog>
#include <QMessageBox>

namespace zorlo {

namespace {

QString shown(const Text& text) {
    QString widget = QString::fromStdU16String(text);
    widget.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return widget;
}

} // namespace

void QtDialogs::messageBox(const Text& text, const Text& title) {
    if (detached_) {
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, shown(title), shown(text), QMessageBox::Ok, &owner_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::question(const Text& text, const Text& title) {
    if (detached_) {
        return false;
    }
    QMessageBox box(QMessageBox::Question, shown(title), shown(text),
                    QMessageBox::Yes | QMessageBox::No, &owner_);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<Text> QtDialogs::inputBox(const Text& prompt, const Text& title,
                                        const Text& defaultText, int leftTwips, int topTwips) {
    if (detached_) {
        return std::nullopt;
    }
    QInputDialog box(&owner_);
    box.setWindowTitle(shown(title));
    box.setLabelText(shown(prompt));
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(QString::fromStdU16String(defaultText));
    // An explicit place keeps the dialog from being centred over its owner.
    if (leftTwips >= 0 && topTwips >= 0) {
        box.move(toPixels(leftTwips), toPixels(topTwips));
    }
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue().toStdU16String();
}

} // namespace zorlo
