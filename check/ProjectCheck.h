#pragma once
// The project check: loads every file of the current project through the readers its windows
// and steps use, and lists every problem that a window would report, refuse, drop or could not
// show. It only reads: no file is written, created or removed.
//
// A problem is one line, "<file>: <where>: <reason>": the file's name in the project; where
// in it ("file", "record 3", "row 2", "rows 17 to 20", an element of pargen.xml, a page of a
// table editor, "GSD file", "configuration image"); and why. The files come in a fixed order
// (pargen.xml, sdo.xml, rpdodef.xml, sdopdo.xml, emcydef.xml, emcyword.xml, Receive_Frame.xml,
// Receive_Info.xml, Send_Frame.xml, Send_Info.xml, strings.xml), each file's problems in file
// order. A
// missing file is no problem, since its window starts from its defaults or empty tables, with
// one exception: "GSD File" refuses a project without pargen.xml. A note tells what the
// windows keep as it is but do not know, such as an attribute of a later version.

#include <cstddef>
#include <string>
#include <vector>

namespace quastor {

struct AppState;

// Where the window of a problem's file shows it, as far as the check knows: each part is -1
// (or empty) when not known, and the window then opens at its start.
struct ProblemPlace {
  int page = -1;        // the CAN A page (0) or the CAN B page (1) of a CANopen table
  int row = -1;         // from 0: the grid row, the list's rule, word or PDO, or the frame
  int column = -1;      // from 0: the grid's data column, the rule's field, or the frame's byte
  int entry = -1;       // from 0: a stored PDO's SDO entry in the list of its PDO
  std::string element;  // pargen.xml: the element whose control shows the value

  bool operator==(const ProblemPlace& other) const {
    return page == other.page && row == other.row && column == other.column &&
           entry == other.entry && element == other.element;
  }
};

struct CheckProblem {
  std::string file;    // the file's name in the project
  std::string where;   // in the file
  std::string reason;  // full project paths in the readers' messages are given as file names
  bool note = false;   // told for the user's information: no window refuses or loses anything
  ProblemPlace place;
};

// "<file>: <where>: <reason>", a note with "note: " before its reason.
std::string ProblemLine(const CheckProblem& problem);

// Every problem of the current project's files; none when no project is selected.
std::vector<CheckProblem> CheckProject(const AppState& state);

// The problems as lines, in order.
std::vector<std::string> CheckProjectLines(const AppState& state);

// How many of the problems are more than notes.
std::size_t FaultCount(const std::vector<CheckProblem>& problems);

}  // namespace quastor
