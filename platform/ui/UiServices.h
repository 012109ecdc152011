#pragma once
// The services every window uses, handed to it at creation.

namespace quastor {

class MessageService;
class Shell;
class FileDialogs;

struct UiServices {
  MessageService& messages;
  Shell& shell;
  FileDialogs& dialogs;
};

}  // namespace quastor
