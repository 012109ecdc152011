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

struct CheckProblem {
  std::string file;    // the file's name in the project
  std::string where;   // in the file
  std::string reason;  // full project paths in the readers' messages are given as file names
  bool note = false;   // told for the user's information: no window refuses or loses anything
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
