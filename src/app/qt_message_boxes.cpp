#include "app/qt_message_boxes.h"

#include <QMessageBox>

namespace velnor {
namespace {

int show(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
         QMessageBox::StandardButtons buttons, const std::string& caption = "Velnor") {
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons,
                    parent);
    return box.exec();
}

} // namespace

bool QtMessageBoxes::question(const std::string& text) {
    return show(parent_, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

bool QtMessageBoxes::warningQuestion(const std::string& text) {
    return show(parent_, QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void QtMessageBoxes::information(const std::string& text) {
    show(parent_, QMessageBox::Information, text, QMessageBox::Ok);
}

void QtMessageBoxes::message(const std::string& text, const std::string& caption) {
    // The debugging message of the road conditions has no owner window.
    show(caption == "Velnor" ? parent_ : nullptr, QMessageBox::NoIcon, text, QMessageBox::Ok,
         caption);
}

} // namespace velnor
