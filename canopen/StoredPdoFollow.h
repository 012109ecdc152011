#pragma once
// The stored PDO definitions of sdopdo.xml name their PDO by its position among the side's
// PDOs in rpdodef.xml, and the PDO table is written in cobid order. An OK of the PDO table that
// moves PDOs (a new cobid that sorts before others, a deleted PDO, an imported table) would
// silently re-point the definitions to other PDOs. This works out where each PDO of the file
// goes and rewrites sdopdo.xml in the same OK, so that each definition keeps its PDO.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "canopen/SideGrids.h"
#include "platform/Result.h"

namespace quastor {

struct StoredPdoFollowUp {
  bool rewrite = false;  // definitions name PDOs that move: text goes to sdopdo.xml with OK
  std::string text;      // sdopdo.xml with every definition at its PDO's new position
  std::size_t kept = 0;  // definitions that follow their PDO
  std::size_t lost = 0;  // definitions whose PDO OK deletes (left out of text)
  std::vector<std::string> lostPdos;  // the cobids of those PDOs
  // Set when PDOs move but sdopdo.xml was not read whole, so that it cannot follow: what was
  // not read (may be empty).
  std::optional<std::string> unread;
};

// Where each PDO goes: a row of the loaded grids keeps its PDO when a row of the saved grids
// holds the same cells (moved rows), else when the saved grid's same row holds a PDO (a row
// edited in place); otherwise the PDO is deleted. loaded: the grids as the show filled them
// from rpdodef.xml read whole; saved: the grids OK writes. Fails as PdoTableText does.
Result<StoredPdoFollowUp> FollowPdoMoves(const std::filesystem::path& project_dir,
                                         const SideGrids& loaded, const SideGrids& saved);

// OK of the PDO table: writes rpdodef.xml and, when follow_up.rewrite, sdopdo.xml; when the
// second write fails the first is undone, so that both files stay as they were.
Status SavePdoTableFollowed(const std::filesystem::path& project_dir, const SideGrids& grids,
                            const StoredPdoFollowUp& follow_up);

}  // namespace quastor
