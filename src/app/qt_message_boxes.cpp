#include "app/qt_message_boxes.h"

#include <QMessageBox>

namespace velnor {
namespace {

int show(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
         QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QStringLiteral("Velnor"), QString::fromStdString(text), buttons, parent);
    return box.exec();
}

} // namespace

bool QtMessageBoxes::question(const std::string& text) {
    return show(parent_, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void QtMessageBoxes::information(const std::string& text) {
    show(parent_, QMessageBox::Information, text, QMessageBox::Ok);
}

void QtMessageBoxes::message(const std::string& text) {
    show(parent_, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

} // namespace velnor
