#pragma once
// The communication settings of a project (pargen.xml): the record, its reading as the
// settings dialog does it, the dialog's validation, and the writing of the file.
//
// pargen.xml is one line without declaration: the root Par_Gen and six text elements in a
// fixed order. Readers look the elements up by name, so the order of a file does not matter
// to them; the writer always puts them in the fixed order.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "platform/TableLoad.h"
#include "platform/XmlDocument.h"

namespace quastor {

struct ParGen {
  std::string profiId = "20";     // PROFI_ID, text as typed
  std::int32_t profiBaud = 10;    // PROFI_BAUD, index in the PROFIBUS baud list
  std::string profiNbIn = "20";   // PROFI_NB_IN, text as typed
  std::string profiNbOut = "20";  // PROFI_NB_OUT, text as typed
  std::string dnetDevId = "10";   // DNET_DEV_ID, text as typed
  std::int32_t dnetBaud = 2;      // DNET_BAUD, index in the DeviceNet list; -1 = none
};

// pargen.xml opened for reading: element texts looked up by name among the root's children.
class ParGenReader {
 public:
  // Fails with the parser's message (file, line, column) or the system's reason.
  Status Open(const std::filesystem::path& file);
  // Fails with the missing-element message.
  Result<std::string> Text(const char* name) const;
  // Text read strictly as an integer.
  Result<std::int32_t> Integer(const char* name) const;

 private:
  std::filesystem::path file_;
  XmlDocument document_;
};

// The file's values, defaults for those not read. The first reading problem stops the reading,
// so later values keep their defaults: it is the one message (an error) and the report's gap.
using ParGenLoad = Loaded<ParGen>;

// Reads the file in the dialog's order: PROFI_ID, PROFI_BAUD (must be an integer),
// PROFI_NB_IN, PROFI_NB_OUT, DNET_DEV_ID, DNET_BAUD (must be an integer). The values are the
// file's own; a missing file gives the defaults and no problem.
ParGenLoad LoadParGen(const std::filesystem::path& file);

// The values as the dialog shows them: the PROFIBUS baud list always stands on "Auto
// Baudrate", and a DeviceNet index outside the list selects nothing (-1).
ParGen AsDialogShows(ParGen values);

// A check of the dialog's OK that values fail: the element it reads and the message.
struct ParGenProblem {
  const char* element;
  const char* message;
};

// The dialog's OK checks, in order, each text read leniently (text that is not a number
// counts as -1): PROFIBUS ID 1..125, Byte IN 0..244, Byte OUT 0..244, DeviceNet ID 0..63,
// then a DeviceNet baud rate chosen from the list. Every check that values fail.
std::vector<ParGenProblem> ParGenProblems(const ParGen& values);

// The same checks; fails with the first message.
Status ValidateParGen(const ParGen& values);

// The file's text: one line, no declaration, the six elements in the fixed order.
std::string ParGenText(const ParGen& values);

// Replaces file atomically with ParGenText; fails with the "Cannot create file" message.
Status SaveParGen(const std::filesystem::path& file, const ParGen& values);

}  // namespace quastor
