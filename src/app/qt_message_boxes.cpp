#include "app/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace velnor {
namespace {

int show(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
         QMessageBox::StandardButtons buttons, const std::string& caption = "Velnor") {
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons,
                    parent);
    // Texts carry names and comments from files of any origin: shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

QWidget* QtMessageBoxes::owner() const {
    // A box asked for from inside a dialog belongs to that dialog, otherwise to the main window.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return parent_;
}

bool QtMessageBoxes::question(const std::string& text) {
    return show(owner(), QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

bool QtMessageBoxes::warningQuestion(const std::string& text) {
    return show(owner(), QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

void QtMessageBoxes::information(const std::string& text) {
    show(owner(), QMessageBox::Information, text, QMessageBox::Ok);
}

void QtMessageBoxes::message(const std::string& text, const std::string& caption) {
    // The debugging message of the road conditions has no owner window.
    show(caption == "デバッグ" ? nullptr : owner(), QMessageBox::NoIcon, text, QMessageBox::Ok,
         caption);
}

} // namespace velnor
