#pragma once
// Inside the workbook adapter: a look at the zip archive of an .xlsx or .ods before liborcus
// reads it. liborcus 0.17 allocates what an entry's header claims, so a damaged or hostile
// header would take gigabytes of memory; such archives are refused here.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quastor::workbook {

// An entry's size after inflating, at most (the parts of real workbooks stay far below).
inline constexpr std::uint64_t kZipMaxEntryBytes = 256u << 20;

// What is wrong with the archive's directory, or nothing when every entry lies within the
// archive and inflates to at most kZipMaxEntryBytes.
std::optional<std::string> ZipProblem(std::string_view archive);

}  // namespace quastor::workbook
