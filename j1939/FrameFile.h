#pragma once
// What the frame lists and the frame info tables share about their files: which file of the
// project each direction uses, reading a row's attributes with the system's messages, and the
// report of a load: the messages to show at once and what the windows do not show, so that OK
// asks before a partial load turns into a shorter file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/Result.h"
#include "platform/XmlDocument.h"

namespace quastor {

enum class FrameDirection { kReceive, kSend };

// Receive_Frame.xml or Send_Frame.xml of the project.
const std::filesystem::path& FrameListFile(const ProjectFileSet& files, FrameDirection direction);
// Receive_Info.xml or Send_Info.xml of the project.
const std::filesystem::path& FrameInfoFile(const ProjectFileSet& files, FrameDirection direction);

// How far a load reads past a row it cannot read: the windows stop there, as they always did;
// the project check reads on, so that it names every such row.
enum class FrameReading { kStopAtFirstFailure, kEveryRow };

// What could not be read: a file that does not load (row 0), or a row of it (from 1).
struct FrameFileFailure {
  std::string file;  // the file's name
  std::size_t row = 0;
  std::string reason;
};

struct FrameLoadMessage {
  bool error = false;  // an error box; else a plain message
  std::string text;
};

struct FrameLoadReport {
  std::vector<FrameLoadMessage> messages;  // to show at load, in order
  std::vector<std::string> gaps;           // what the window does not show, one sentence each
  std::vector<FrameFileFailure> failures;  // what could not be read, in the order met

  void Error(std::string text) { messages.push_back({true, std::move(text)}); }
  // A gap: told at load and kept for the question before OK.
  void Gap(std::string sentence);
  bool Complete() const { return gaps.empty(); }
};

// Asked before OK writes file_name without what the report's gaps name.
std::string FrameOverwriteQuestion(const FrameLoadReport& report, const std::string& file_name);

// The name of a file as the messages use it.
std::string FrameSourceName(const std::filesystem::path& file);

// Why a row could not be read: the text the error box shows and the reason the gap names.
struct FrameRowFailure {
  std::string shown;
  std::string reason;
};

// A missing attribute (or a row that is no element): the conversion error of the standard
// error handler, and the attribute named as the reason.
FrameRowFailure MissingAttribute(const std::string& name);
FrameRowFailure RowNotAnElement();
// A value outside the range a row may hold, in file at row (1-based).
FrameRowFailure RowOutOfRange(const std::filesystem::path& file, std::size_t row,
                              std::string reason);

// Tells that file did not load: the error box with the load's message.
void NoteFrameFileUnread(FrameLoadReport& report, const std::filesystem::path& file,
                         const std::string& message);

// Tells that reading of file stopped at row (1-based) of count: the error box, then the gap.
void NoteFrameReadingStopped(FrameLoadReport& report, const std::filesystem::path& file,
                             std::size_t row, std::size_t count, const FrameRowFailure& failure);

// Tells that row (1-based) of file could not be read and the reading went on past it.
void NoteFrameRowUnread(FrameLoadReport& report, const std::filesystem::path& file, std::size_t row,
                        const FrameRowFailure& failure);

// Refuses, with the load error, while file exists and does not load: OK then writes nothing
// over a file that the window could not show.
Status RefuseUnreadable(const std::filesystem::path& file);

}  // namespace quastor
