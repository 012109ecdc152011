#pragma once
// Captions that every window's buttons share, so that each is written once.

namespace quastor::widget_texts {

inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "Cancel";
// OK and Cancel of the table editors, with their Alt keys.
inline constexpr char kOkKey[] = "&OK";
inline constexpr char kCancelKey[] = "&Cancel";
inline constexpr char kExport[] = "Export";
inline constexpr char kImport[] = "Import";
inline constexpr char kClose[] = "X";
// The context menu entry of a cell that is filled from a chooser.
inline constexpr char kPickString[] = "Pick string\u2026";

}  // namespace quastor::widget_texts
