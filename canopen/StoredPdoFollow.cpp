#include "canopen/StoredPdoFollow.h"

#include <numeric>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/PdoTable.h"
#include "canopen/StoredPdoFiles.h"
#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;
namespace fs = std::filesystem;

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// The PDO table's pages are the stored definitions' sides the other way round: the page
// "PDO From CanA to CanB" holds the CAN B PDOs of the stored definitions.
Side StoredSideOf(Side page) {
  return page == Side::kA ? Side::kB : Side::kA;
}

// The rows the show filled: every record of the page's side, in file order.
std::size_t LoadedCount(const GridRows& rows) {
  std::size_t count = rows.size();
  while (count > 0 && !RowFilled(rows[count - 1]))
    --count;
  return count;
}

// For each loaded row, the saved row that holds its PDO now, or kNone.
std::vector<std::size_t> MatchRows(const GridRows& loaded, std::size_t loaded_count,
                                   const GridRows& saved, const std::vector<std::size_t>& order) {
  std::vector<bool> written(saved.size(), false);
  for (const std::size_t r : order)
    written[r] = true;
  std::vector<bool> taken(saved.size(), false);
  std::vector<std::size_t> match(loaded_count, kNone);
  const auto take = [&](std::size_t from, std::size_t to) {
    match[from] = to;
    taken[to] = true;
  };
  // Unchanged rows where they stood, then unchanged rows that moved, then rows edited in place.
  for (std::size_t r = 0; r < loaded_count; ++r) {
    if (r < saved.size() && written[r] && saved[r] == loaded[r])
      take(r, r);
  }
  for (std::size_t r = 0; r < loaded_count; ++r) {
    for (std::size_t s = 0; match[r] == kNone && s < saved.size(); ++s) {
      if (written[s] && !taken[s] && saved[s] == loaded[r])
        take(r, s);
    }
  }
  for (std::size_t r = 0; r < loaded_count; ++r) {
    if (match[r] == kNone && r < saved.size() && written[r] && !taken[r])
      take(r, r);
  }
  return match;
}

}  // namespace

Result<StoredPdoFollowUp> FollowPdoMoves(const fs::path& project_dir, const SideGrids& loaded,
                                         const SideGrids& saved) {
  StoredPdoFollowUp follow;
  // Per stored side: the new number of each old PDO (kNone: deleted), and the new PDO list.
  std::vector<std::size_t> moves[2];
  std::vector<TClPdo> newPdos[2];
  bool any_move = false;
  for (const Side page : kBothSides) {
    const Result<std::vector<std::size_t>> order = PdoWriteOrder(page, saved.of(page));
    if (!order)
      return order.failure();
    std::vector<std::size_t> position(saved.of(page).size(), kNone);
    for (std::size_t p = 0; p < order->size(); ++p)
      position[(*order)[p]] = p;
    const std::size_t count = LoadedCount(loaded.of(page));
    const std::vector<std::size_t> match =
        MatchRows(loaded.of(page), count, saved.of(page), *order);
    const int side = static_cast<int>(StoredSideOf(page));
    for (std::size_t r = 0; r < count; ++r) {
      const std::size_t now = match[r] == kNone ? kNone : position[match[r]];
      moves[side].push_back(now);
      any_move = any_move || now != r;
    }
    for (std::size_t p = 0; p < order->size(); ++p) {
      newPdos[side].emplace_back(CellText(saved.of(page)[(*order)[p]], 0),
                                 static_cast<std::int32_t>(p + 1));
    }
  }
  if (!any_move)
    return follow;

  const fs::path sdopdo = ProjectFilesIn(project_dir).sdopdo;
  StoredPdoLoad stored = LoadStoredPdo(project_dir, sdopdo);
  if (!stored.found)
    return follow;
  bool sizes_agree = true;
  for (const Side side : kBothSides)
    sizes_agree =
        sizes_agree && stored.model.page(side).pdos.size() == moves[static_cast<int>(side)].size();
  if (!stored.complete || !sizes_agree) {
    std::string reason;
    for (const std::string& detail : stored.report.gaps)
      reason += (reason.empty() ? "" : "\n") + detail;
    follow.unread = reason;
    return follow;
  }

  StoredPdoModel model;
  for (const Side side : kBothSides) {
    const int s = static_cast<int>(side);
    std::vector<TClPdo>& now = newPdos[s];
    const std::vector<TClPdo>& before = stored.model.page(side).pdos;
    for (std::size_t k = 0; k < before.size(); ++k) {
      const std::vector<TClSdo>& entries = before[k].sdoList;
      if (entries.empty())
        continue;
      if (moves[s][k] == kNone) {
        follow.lost += entries.size();
        follow.lostPdos.push_back(before[k].cobid);
        continue;
      }
      follow.rewrite = follow.rewrite || moves[s][k] != k;
      follow.kept += entries.size();
      std::vector<TClSdo>& list = now[moves[s][k]].sdoList;
      list.insert(list.end(), entries.begin(), entries.end());
    }
    model.page(side).pdos = std::move(now);
  }
  follow.rewrite = follow.rewrite || follow.lost > 0;
  if (!follow.rewrite)
    return follow;
  Result<std::string> text = StoredPdoFileText(model);
  if (!text)
    return text.failure();
  follow.text = std::move(text.value());
  return follow;
}

Status SavePdoTableFollowed(const fs::path& project_dir, const SideGrids& grids,
                            const StoredPdoFollowUp& follow_up) {
  const fs::path rpdodef = ProjectFilesIn(project_dir).rpdodef;
  if (!follow_up.rewrite)
    return SavePdoTable(rpdodef, grids);
  std::error_code ec;
  const bool existed = fs::exists(rpdodef, ec);
  const Result<std::string> before = existed ? ReadWholeFile(rpdodef) : std::string();
  if (!before)
    return before.failure();
  if (Status saved = SavePdoTable(rpdodef, grids); !saved)
    return saved;
  const Status followed =
      WriteXmlFileKeepingEncoding(ProjectFilesIn(project_dir).sdopdo, follow_up.text);
  if (followed)
    return followed;
  // Both files as they were: a PDO table whose definitions name other PDOs is worse than none.
  if (existed)
    (void)WriteFileAtomic(rpdodef, *before);
  else
    fs::remove(rpdodef, ec);
  return followed;
}

}  // namespace quastor
