#pragma once
// Message boxes. Windows show their messages through this service so that tests can record
// them instead of showing them.

#include <string>
#include <vector>

class QWidget;

namespace quastor {

class MessageService {
 public:
  virtual ~MessageService() = default;
  // A plain message box with an OK button.
  virtual void Plain(const std::string& text) = 0;
  // An error box: error icon and an OK button.
  virtual void Error(const std::string& text) = 0;
  // A question with the buttons Yes and No (the default); true for Yes.
  virtual bool Ask(const std::string& text) = 0;
};

// Shows QMessageBox dialogs over the active window, titled with the application title.
class QtMessageService : public MessageService {
 public:
  explicit QtMessageService(std::string title) : title_(std::move(title)) {}
  void Plain(const std::string& text) override;
  void Error(const std::string& text) override;
  bool Ask(const std::string& text) override;

 private:
  std::string title_;
};

// Keeps the messages instead of showing them; questions are answered from a list of answers
// (No once it runs out).
class MessageRecorder : public MessageService {
 public:
  enum class Kind { kPlain, kError, kQuestion };
  struct Message {
    Kind kind;
    std::string text;
  };

  void Plain(const std::string& text) override { messages_.push_back({Kind::kPlain, text}); }
  void Error(const std::string& text) override { messages_.push_back({Kind::kError, text}); }
  bool Ask(const std::string& text) override;

  const std::vector<Message>& Messages() const { return messages_; }
  std::vector<std::string> Texts() const;
  void Clear() { messages_.clear(); }
  void AnswerNext(bool yes) { answers_.push_back(yes); }

 private:
  std::vector<Message> messages_;
  std::vector<bool> answers_;
};

}  // namespace quastor
