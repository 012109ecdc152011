#include "platform/MessageService.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/QtText.h"

namespace quastor {

void QtMessageService::Plain(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, Q(title_), Q(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void QtMessageService::Error(const std::string& text) {
  QMessageBox::critical(QApplication::activeWindow(), Q(title_), Q(text));
}

std::vector<std::string> MessageRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const auto& message : messages_)
    texts.push_back(message.text);
  return texts;
}

}  // namespace quastor
