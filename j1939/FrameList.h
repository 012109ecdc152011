#pragma once
// The J1939 frame lists (windows TFSetVar, receive, and TFSetPdo, send): 16 frame rows of five
// text cells, kept in Receive_Frame.xml and Send_Frame.xml. Both files have the root
// "Receive_Frames" holding one "row" per frame in list order, the cells' text stored as typed
// in the attributes of the direction's columns.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "j1939/FrameFile.h"
#include "platform/Result.h"
#include "platform/TableLoad.h"
#include "platform/XmlRecordWriter.h"

namespace quastor {

inline constexpr int kFrameRowCount = 16;
inline constexpr int kFrameColumnCount = 5;

struct FrameColumn {
  const char* title;
  int width;  // pixels
  const char* attribute;
  bool checkBox = false;  // "Y" ticked, "N" not
  // The check on OK: the cell, read leniently, lies in min to max; no check without message.
  int min = 0;
  int max = 0;
  const char* rangeMessage = nullptr;
};

struct FrameListKind {
  FrameDirection direction;
  const char* caption;
  int numberWidth;  // the "N°" column
  std::array<FrameColumn, kFrameColumnCount> columns;
};

const FrameListKind& FrameListOf(FrameDirection direction);

// kFrameRowCount rows of kFrameColumnCount cells: the grid's frame rows and columns 1 to 5.
using FrameRows = std::vector<std::vector<std::string>>;
FrameRows EmptyFrameRows();

// Per grid row read from the file, every attribute of its row as read, in the row's order (the
// info windows' "COBID" and "Dim" among them): OK writes them back in their places, the
// cells' texts in place of the columns' own. None for a row not from the file.
using FrameRowsKept = std::vector<XmlAttributeList>;

// The model: the rows, always kFrameRowCount by kFrameColumnCount.
struct FrameListLoad : Loaded<FrameRows> {
  FrameRowsKept kept;
  std::size_t fileRows = 0;  // the rows the file holds, beyond 16 too
};

// The grid as the show fills it from file: empty for a missing file; after a missing
// attribute the rows read so far (the failing one with the cells before it), or with
// kEveryRow every other row too; the first 16 frames of a longer list. A missing "Delete"
// reads as "N".
FrameListLoad LoadFrameList(FrameDirection direction, const std::filesystem::path& file,
                            FrameReading reading = FrameReading::kStopAtFirstFailure);

// A check of OK that a row fails: a numeric cell outside its column's range, or a filled row
// below the first row whose first cell is empty (OK would drop it).
struct FrameRowProblem {
  std::size_t row = 0;                  // the grid's frame row, from 1
  const FrameColumn* column = nullptr;  // the failing cell's column; none for a dropped row
  std::string cell;                     // the failing cell's text
  std::string message;                  // as OK shows it
};

// Every check of OK that rows fail: the numeric cells of each row up to the first row whose
// first cell is empty, in row and column order, then each filled row below it.
std::vector<FrameRowProblem> RowProblems(FrameDirection direction, const FrameRows& rows);

// The rows' checks on OK: the first of RowProblems, whose message does not name the row.
Status CheckRows(FrameDirection direction, const FrameRows& rows);

// What OK shows for a problem: a cell's is named by its row and column as the grid shows
// them ("N° 3, column "Priority": " and the message), a row's names its frames itself.
std::string RowProblemMessage(const FrameRowProblem& problem);

// Whether a grid row holds nothing OK would write (an unticked box holds nothing): the row
// is then no frame, and nothing it kept is written.
bool FrameRowHoldsNothing(FrameDirection direction, const std::vector<std::string>& row);

// The rows that OK writes, the frames of the file: those above the first row whose first
// cell is empty.
std::size_t ListedRows(const FrameRows& rows);

// The file's text: the rows up to the first whose first cell is empty, each with what it kept.
std::string FrameListText(FrameDirection direction, const FrameRows& rows,
                          const FrameRowsKept& kept = {});

// OK: CheckRows, then refuses while the file exists unreadable, then writes atomically.
Status SaveFrameList(FrameDirection direction, const std::filesystem::path& file,
                     const FrameRows& rows, const FrameRowsKept& kept = {});

}  // namespace quastor
