// The stored definitions of sdopdo.xml keep their PDO through an OK of the PDO table that moves
// PDOs: checked against the definitions' PDO cobids before and after, read back from the files.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "canopen/PdoTable.h"
#include "canopen/StoredPdoFiles.h"
#include "canopen/StoredPdoFollow.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// The CAN A PDOs of the stored definitions stand on the PDO table's page B (en_bypass 0 or 1).
constexpr char kPdos[] =
    "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"1\" en_bypass=\"0\" posind=\"0\" n_tpdo=\"1\"/>"
    "<row cobid=\"0x182\" id_dev_orig=\"2\" en_bypass=\"0\" posind=\"0\" n_tpdo=\"2\"/>"
    "<row cobid=\"0x183\" id_dev_orig=\"3\" en_bypass=\"0\" posind=\"0\" n_tpdo=\"3\"/>"
    "<row cobid=\"0x283\" id_dev_orig=\"9\" en_bypass=\"2\" posind=\"0\" n_tpdo=\"9\"/>"
    "</rpdodef>";
// One definition per PDO: 0x2001 at 0x181, 0x2002 at 0x182, 0x2003 at 0x183, 0x2009 at CAN B's
// 0x283.
constexpr char kDefinitions[] =
    "<sdopdo><row index=\"0x2001\" subindex=\"1\" nrpdo=\"1\" poscomp=\"33\"/>"
    "<row index=\"0x2002\" subindex=\"1\" nrpdo=\"2\" poscomp=\"33\"/>"
    "<row index=\"0x2003\" subindex=\"1\" nrpdo=\"3\" poscomp=\"33\"/>"
    "<row index=\"0x2009\" subindex=\"1\" nrpdo=\"129\" poscomp=\"1\"/></sdopdo>";

// Each definition's index and the cobid of the PDO it names, as the Define Store PDO window
// would show them.
std::map<std::string, std::string> DefinitionPdos(const fs::path& dir) {
  const StoredPdoLoad load = LoadStoredPdo(dir, dir / "sdopdo.xml");
  EXPECT_TRUE(load.complete);
  std::map<std::string, std::string> pdos;
  for (const Side side : kBothSides) {
    for (const TClPdo& pdo : load.model.page(side).pdos) {
      for (const TClSdo& entry : pdo.sdoList)
        pdos[entry.index] = pdo.cobid;
    }
  }
  return pdos;
}

TEST(StoredPdoFollow, DefinitionsKeepTheirPdoWhateverOkDoesToThePdoTable) {
  using Edit = void (*)(GridRows & canA);
  const struct {
    const char* fault;
    Edit edit;
    bool rewrite;
    std::vector<std::string> lost;                  // cobids of deleted PDOs that had definitions
    std::pair<std::string, std::string> renamed{};  // a cobid edited in place: from, to
  } cases[] = {
      {"an OK without edits rewrites sdopdo.xml", [](GridRows&) {}, false, {}},
      {"a cobid that sorts first re-points every definition",
       [](GridRows& a) {
         a[3] = {"0x100", "7", "0", "0", "7"};
       },
       true,
       {}},
      {"a PDO edited in place loses its definitions",
       [](GridRows& a) { a[1][1] = "22"; },
       false,
       {}},
      {"a cobid edited to sort elsewhere loses its definition",
       [](GridRows& a) { a[0][0] = "0x190"; },
       true,
       {},
       {"0x181", "0x190"}},
      {"rows typed in another order lose their definitions",
       [](GridRows& a) { std::swap(a[0], a[2]); },
       false,
       {}},
      {"a deleted PDO's definition is kept or moved to another PDO",
       [](GridRows& a) {
         a[0] = a[1];
         a[1] = a[2];
         a[2] = GridRow(a[2].size());
       },
       true,
       {"0x181"}},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteBytes(dir / "rpdodef.xml", kPdos);
    WriteBytes(dir / "sdopdo.xml", kDefinitions);
    std::map<std::string, std::string> expected = DefinitionPdos(dir.path());
    const SideGrids loaded = LoadPdoTable(dir / "rpdodef.xml").model;
    SideGrids saved = loaded;
    c.edit(saved.b);

    const Result<StoredPdoFollowUp> follow = FollowPdoMoves(dir.path(), loaded, saved);
    ASSERT_TRUE(follow.ok()) << c.fault << ": " << follow.error();
    EXPECT_EQ(follow->rewrite, c.rewrite) << c.fault;
    EXPECT_EQ(follow->lostPdos, c.lost) << c.fault;
    EXPECT_EQ(follow->lost, c.lost.size()) << c.fault;
    const std::string sdopdo_before = ReadBytes(dir / "sdopdo.xml");
    ASSERT_TRUE(SavePdoTableFollowed(dir.path(), saved, *follow).ok()) << c.fault;
    if (!c.rewrite) {
      EXPECT_EQ(ReadBytes(dir / "sdopdo.xml"), sdopdo_before) << c.fault;
    }
    for (auto& [index, cobid] : expected) {
      if (cobid == c.renamed.first)
        cobid = c.renamed.second;
    }
    for (const std::string& cobid : c.lost) {
      for (auto it = expected.begin(); it != expected.end();)
        it = it->second == cobid ? expected.erase(it) : std::next(it);
    }
    EXPECT_EQ(DefinitionPdos(dir.path()), expected) << c.fault;
  }
}

TEST(StoredPdoFollow, UnreadableDefinitionsAreToldAndAFailedSecondWriteUndoesTheFirst) {
  TempDir dir;
  WriteBytes(dir / "rpdodef.xml", kPdos);
  const SideGrids loaded = LoadPdoTable(dir / "rpdodef.xml").model;
  SideGrids saved = loaded;
  saved.b[3] = {"0x100", "7", "0", "0", "7"};

  WriteBytes(dir / "sdopdo.xml", "<sdopdo><row index=\"0x2001\"/></sdopdo>");
  Result<StoredPdoFollowUp> follow = FollowPdoMoves(dir.path(), loaded, saved);
  ASSERT_TRUE(follow.ok());
  EXPECT_FALSE(follow->rewrite);
  ASSERT_TRUE(follow->unread.has_value());
  EXPECT_NE(follow->unread->find("sdopdo.xml"), std::string::npos) << *follow->unread;

  // sdopdo.xml cannot be replaced: rpdodef.xml stays as it was too.
  WriteBytes(dir / "sdopdo.xml", kDefinitions);
  follow = FollowPdoMoves(dir.path(), loaded, saved);
  ASSERT_TRUE(follow.ok() && follow->rewrite);
  fs::remove(dir / "sdopdo.xml");
  fs::create_directory(dir / "sdopdo.xml");
  EXPECT_FALSE(SavePdoTableFollowed(dir.path(), saved, *follow).ok());
  EXPECT_EQ(ReadBytes(dir / "rpdodef.xml"), kPdos);
}

}  // namespace
}  // namespace quastor::test
