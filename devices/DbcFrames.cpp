#include "devices/DbcFrames.h"

#include <cstdio>

#include "devices/DbcFile.h"
#include "devices/DeviceTexts.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = device_texts;

constexpr int kFrameBytes = 8;

}  // namespace

std::string PgnText(std::uint32_t pgn) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(pgn));
  return text;
}

std::vector<std::string> DbcFrame::Cells() const {
  return {name, PgnText(pgn), std::to_string(sourceAddress), std::to_string(length)};
}

DbcFrames J1939Frames(const DbcFile& file) {
  DbcFrames frames;
  for (const DbcMessage& message : file.messages) {
    const auto leave = [&](const std::string& reason) {
      frames.leftOut.push_back(FormatText(texts::kNotListedEntry, {message.name, reason}));
    };
    const std::optional<J1939Id> id = message.J1939();
    if (!id) {
      leave(texts::kStandardIdentifier);
    } else if (id->extendedDataPage != 0) {
      leave(texts::kExtendedDataPage);
    } else if (message.length > kFrameBytes) {
      leave(FormatText(texts::kMoreThanOneFrame, {std::to_string(message.length)}));
    } else {
      frames.frames.push_back({message.name, id->priority, id->dataPage, id->pgn & 0xFFFFu,
                               id->sourceAddress, message.length});
    }
  }
  return frames;
}

Result<DbcFrames> ReadJ1939Frames(const std::filesystem::path& file) {
  const Result<DbcFile> read = ReadDbcFile(file);
  if (!read)
    return read.failure();
  return J1939Frames(*read);
}

}  // namespace quastor
