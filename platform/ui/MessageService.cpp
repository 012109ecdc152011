#include "platform/ui/MessageService.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/ui/QtText.h"

namespace quastor {

void QtMessageService::Plain(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, Q(title_), Q(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void QtMessageService::Error(const std::string& text) {
  QMessageBox::critical(QApplication::activeWindow(), Q(title_), Q(text));
}

bool QtMessageService::Ask(const std::string& text) {
  return QMessageBox::question(QApplication::activeWindow(), Q(title_), Q(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

bool MessageRecorder::Ask(const std::string& text) {
  messages_.push_back({Kind::kQuestion, text});
  if (answers_.empty())
    return false;
  const bool yes = answers_.front();
  answers_.erase(answers_.begin());
  return yes;
}

std::vector<std::string> MessageRecorder::Texts() const {
  std::vector<std::string> texts;
  for (const auto& message : messages_)
    texts.push_back(message.text);
  return texts;
}

}  // namespace quastor
