#include "platform/LoadReport.h"

#include <algorithm>
#include <utility>

#include "platform/Text.h"

namespace quastor {

std::vector<std::string> MessageTexts(const std::vector<LoadMessage>& messages) {
  std::vector<std::string> texts;
  texts.reserve(messages.size());
  for (const LoadMessage& message : messages)
    texts.push_back(message.text);
  return texts;
}

bool LoadReport::FileUnread() const {
  return std::any_of(failures.begin(), failures.end(),
                     [](const LoadFailure& failure) { return failure.position == 0; });
}

void TellGap(std::vector<LoadMessage>& messages, LoadReport& report, std::string sentence) {
  messages.push_back({false, sentence});
  report.gaps.push_back(std::move(sentence));
}

void TellGaps(std::vector<LoadMessage>& messages, const LoadReport& report, std::size_t first) {
  for (std::size_t i = first; i < report.gaps.size(); ++i)
    messages.push_back({false, report.gaps[i]});
}

std::string OverwriteQuestion(const LoadReport& report, const char* question,
                              const std::string& file_name) {
  std::string sentences;
  for (const std::string& gap : report.gaps) {
    if (!sentences.empty())
      sentences += '\n';
    sentences += gap;
  }
  return FormatText(question, {sentences, file_name});
}

}  // namespace quastor
