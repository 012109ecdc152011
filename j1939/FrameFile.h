#pragma once
// What the frame lists and the frame info tables share about their files: which file of the
// project each direction uses, reading a row's attributes with the system's messages, and the
// sentences of a load's report: what the windows do not show, so that OK asks before a partial
// load turns into a shorter file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/LoadReport.h"
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
void NoteFrameFileUnread(std::vector<LoadMessage>& messages, LoadReport& report,
                         const std::filesystem::path& file, const std::string& message);

// Tells that reading of file stopped at row (1-based) of count: the error box, then the gap.
void NoteFrameReadingStopped(std::vector<LoadMessage>& messages, LoadReport& report,
                             const std::filesystem::path& file, std::size_t row, std::size_t count,
                             const FrameRowFailure& failure);

// Tells that row (1-based) of file could not be read and the reading went on past it.
void NoteFrameRowUnread(std::vector<LoadMessage>& messages, LoadReport& report,
                        const std::filesystem::path& file, std::size_t row,
                        const FrameRowFailure& failure);

// Refuses, with the load error, while file exists and does not load: OK then writes nothing
// over a file that the window could not show.
Status RefuseUnreadable(const std::filesystem::path& file);

}  // namespace quastor
