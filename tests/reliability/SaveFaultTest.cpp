// Every writer of a project file saves atomically: a save that fails part way, through a
// failure injected into the file adapter or a full disk (a file size limit), leaves the
// directory as it was, the previous file byte for byte and no temporary beside it; so does a
// save written in place, where the directory refuses new files.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "canopen/EmcyRulesFiles.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/PdoTable.h"
#include "canopen/SdoTable.h"
#include "canopen/StoredPdoFiles.h"
#include "gateway/ConfigImage.h"
#include "gateway/GsdFile.h"
#include "gateway/ParGen.h"
#include "j1939/FrameInfo.h"
#include "j1939/FrameList.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/SettingsFile.h"
#include "platform/TextCodec.h"
#include "tests/reliability/FaultSupport.h"
#include "tests/support/SaveSupport.h"
#include "tests/support/TestFiles.h"
#include "tools/XmlParser.h"
#include "tools/XmlTree.h"
#include "tools/XmlWrite.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::Injected;
using test::ReadBytes;
using test::Snapshot;
using test::TempDir;
using test::WriteBytes;

std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

// The contents each writer saves: variant 1 small, variant 2 larger and different.

SideGrids SdoGrids(int variant) {
  SideGrids grids = EmptySdoGrids();
  for (GridRows* side : {&grids.a, &grids.b}) {
    for (int r = 0; r < (variant == 1 ? 3 : 1500); ++r) {
      (*side)[r] = {
          "1", Hex(0x2000 + r), "1", "5", Hex(0x6000 + r), "1", "2", "Café " + std::to_string(r)};
    }
  }
  return grids;
}

SideGrids PdoGrids(int variant) {
  SideGrids grids = EmptyPdoGrids();
  for (GridRows* side : {&grids.a, &grids.b}) {
    for (int r = 0; r < (variant == 1 ? 2 : 10); ++r)
      (*side)[r] = {Hex(0x181 + r), std::to_string(r), "1", "0", "1"};
  }
  return grids;
}

StoredPdoModel StoredPdos(int variant) {
  StoredPdoModel model;
  for (const Side side : kBothSides) {
    for (int p = 0; p < 5 * variant; ++p) {
      TClPdo pdo(Hex(0x181 + p), p + 1);
      for (int e = 0; e < 20 * variant; ++e)
        pdo.sdoList.push_back(TClSdo{Hex(0x3000 + e), "1", "33"});
      model.page(side).pdos.push_back(pdo);
    }
  }
  return model;
}

EmcyModel EmcyRuleModel(int variant) {
  EmcyModel model;
  for (int i = 0; i < 100 * variant; ++i) {
    TClEmcy rule;
    for (const auto field : kRuleTexts)
      rule.*field = "0xFF";
    rule.id_dev = std::to_string(1 + i % 127);
    rule.enable = i % 2 == 0;
    rule.alias_pos = i % 9;
    model.page(i % 2 == 0 ? Side::kA : Side::kB).rules.push_back(rule);
  }
  return model;
}

WordModel EmcyWordModel(int variant) {
  WordModel model;
  for (int i = 0; i < 50 * variant; ++i) {
    TClWEmcy word;
    word.index_addrm = Hex(0x2000 + i);
    word.subindex = "1";
    word.devid = std::to_string(1 + i % 127);
    word.ebm.fill(ClEbm{"0xFF", "0x0F", "17"});
    WordPage& page = model.page(i % 2 == 0 ? Side::kA : Side::kB);
    AddWordNode(page, word, static_cast<int>(page.words.size()));
  }
  return model;
}

FrameRows ReceiveFrames(int variant) {
  FrameRows rows = EmptyFrameRows();
  for (int r = 0; r < (variant == 1 ? 2 : kFrameRowCount); ++r)
    rows[r] = {"0", std::to_string(61444 + r), std::to_string(r), "N",
               "Drehzahl Fühler " + std::to_string(r)};
  return rows;
}

FrameInfoTable SendInfos(int variant) {
  FrameInfoTable table;
  for (int f = 0; f < 8 * variant; ++f) {
    table.labels.push_back("F" + std::to_string(f));
    TFrameInfoRec frame;
    frame.Dim = kFrameBytes;
    for (int k = 1; k <= kFrameBytes; ++k)
      frame.B(k) = static_cast<std::uint8_t>((f * kFrameBytes + k) % kDeviceNetBytes);
    table.frames.push_back(frame);
  }
  return table;
}

ParGen ParGenValues(int variant) {
  ParGen values;
  values.profiId = variant == 1 ? "20" : "125";
  values.profiNbIn = variant == 1 ? "20" : "244";
  values.profiNbOut = variant == 1 ? "20" : "200";
  return values;
}

Status WriteTree(const fs::path& project, int variant) {
  std::string text = "<tree>";
  for (int i = 0; i < 200 * variant; ++i)
    text += "<item n=\"" + std::to_string(i) + "\">text</item>";
  const Result<XmlParseTree> document = ParseXml(text + "</tree>");
  if (!document)
    return document.failure();
  AppState state;
  state.ProjectsDir = project.parent_path();
  state.ProjectDir = project;
  return WriteXmlTree(XmlItemTree::FromDocument(*document, "tree.xml"), state);
}

// One writer of a project file.
struct Writer {
  using Step = std::function<Status(const fs::path& project, int variant)>;
  Writer(const char* writer_name, const char* written_file, Step save_step, Step prepare_step = {})
      : name(writer_name), file(written_file), save(save_step), prepare(prepare_step) {}

  const char* name;
  const char* file;  // what it replaces, from the project directory
  Step save;
  Step prepare;  // writes what the save reads, before the fault is set; may be empty
};

const Writer kWriters[] = {
    {"ParGen", "pargen.xml",
     [](const fs::path& p, int v) { return SaveParGen(p / "pargen.xml", ParGenValues(v)); }},
    {"SdoTable", "sdo.xml",
     [](const fs::path& p, int v) { return SaveSdoTable(p / "sdo.xml", SdoGrids(v)); }},
    {"PdoTable", "rpdodef.xml",
     [](const fs::path& p, int v) { return SavePdoTable(p / "rpdodef.xml", PdoGrids(v)); }},
    {"StoredPdo", "sdopdo.xml",
     [](const fs::path& p, int v) { return SaveStoredPdo(p / "sdopdo.xml", StoredPdos(v)); }},
    {"EmcyRules", "emcydef.xml",
     [](const fs::path& p, int v) { return SaveEmcyRules(p / "emcydef.xml", EmcyRuleModel(v)); }},
    {"EmcyWords", "emcyword.xml",
     [](const fs::path& p, int v) { return SaveEmcyWords(p / "emcyword.xml", EmcyWordModel(v)); }},
    {"FrameList", "Receive_Frame.xml",
     [](const fs::path& p, int v) {
       return SaveFrameList(FrameDirection::kReceive, p / "Receive_Frame.xml", ReceiveFrames(v));
     }},
    {"FrameInfo", "Send_Info.xml",
     [](const fs::path& p, int v) {
       return SaveFrameInfo(FrameDirection::kSend, p / "Send_Frame.xml", p / "Send_Info.xml",
                            SendInfos(v));
     }},
    {"SettingsFile", "Quastor_DNET2PROFI.ini",
     [](const fs::path& p, int v) {
       return WriteProfileString(p / "Quastor_DNET2PROFI.ini", "lastproj", "projectname",
                                 v == 1 ? "Plant" : "Plant with a longer name");
     }},
    {"CsvExport", "sdo.csv", [](const fs::path& p, int v) { return ExportSdoCsv(p, SdoGrids(v)); }},
    {"GsdFile", "gateway.gsd",
     [](const fs::path& p, int) { return WriteGsdFile(p, p / "gateway.gsd"); },
     [](const fs::path& p, int v) { return SaveParGen(p / "pargen.xml", ParGenValues(v)); }},
    {"ConfigImage", "bin/bank.bin",
     [](const fs::path& p, int v) {
       return WriteConfigImage(p, ConfigImage(v == 1 ? 10 : 4096, static_cast<std::uint8_t>(v)));
     },
     // The folder the image goes to, which the writer would make.
     [](const fs::path& p, int) {
       fs::create_directories(p / "bin");
       return Status::Ok();
     }},
    {"XmlToolWrite", "tree.xml", WriteTree},
};

// The writer's name in test messages.
void PrintTo(const Writer& writer, std::ostream* out) {
  *out << writer.name;
}

// A project directory below PROJECTS, in a fresh directory.
struct Project {
  TempDir dir;
  fs::path path = dir / "PROJECTS" / "Plant";
  Project() { fs::create_directories(path); }
};

// Saves the variant with what it reads prepared first.
Status PreparedSave(const Writer& writer, const fs::path& project, int variant) {
  if (writer.prepare) {
    if (Status prepared = writer.prepare(project, variant); !prepared)
      return prepared;
  }
  return writer.save(project, variant);
}

class SaveFaults : public testing::TestWithParam<Writer> {
 protected:
  // The bytes variant 2 saves, written where no fault is.
  std::string Updated() {
    Project scratch;
    EXPECT_TRUE(PreparedSave(GetParam(), scratch.path, 2).ok());
    return ReadBytes(scratch.path / GetParam().file);
  }
};

TEST_P(SaveFaults, InjectedFailureLeavesTheDirectoryAsItWas) {
  const Writer& writer = GetParam();
  const std::string updated = Updated();
  ASSERT_GT(updated.size(), 2u);
  using Step = InjectedWriteFault::Step;
  const InjectedWriteFault faults[] = {
      {Step::kWrite, 0, ENOSPC},
      {Step::kWrite, 1, ENOSPC},
      {Step::kWrite, updated.size() / 2, EIO},
      {Step::kWrite, updated.size() - 1, EFBIG},
      {Step::kSync, 0, EIO},
      {Step::kRename, 0, EXDEV},
  };
  // The file exists from an earlier save, or the save would create it.
  for (const bool existing : {true, false}) {
    Project project;
    if (existing) {
      ASSERT_TRUE(PreparedSave(writer, project.path, 1).ok());
      ASSERT_NE(ReadBytes(project.path / writer.file), updated);
    }
    if (writer.prepare) {
      ASSERT_TRUE(writer.prepare(project.path, 2).ok());
    }
    const auto before = Snapshot(project.path);
    for (const InjectedWriteFault& fault : faults) {
      SCOPED_TRACE(testing::Message()
                   << (existing ? "existing file" : "new file") << ", step "
                   << static_cast<int>(fault.step) << " after " << fault.afterBytes << " bytes");
      Status saved;
      {
        Injected injected(fault);
        saved = writer.save(project.path, 2);
      }
      ASSERT_FALSE(saved.ok());
      EXPECT_NE(saved.error().find(SystemReason(fault.error)), std::string::npos) << saved.error();
      EXPECT_EQ(Snapshot(project.path), before);
    }
    ASSERT_TRUE(writer.save(project.path, 2).ok());
    EXPECT_EQ(ReadBytes(project.path / writer.file), updated);
  }
}

// OK without edits: what a window shows of an existing file, written back.
struct Resave {
  const Writer& writer;
  std::function<Status(const fs::path& project)> resave;
};

void PrintTo(const Resave& resave, std::ostream* out) {
  *out << resave.writer.name;
}

const Writer& WriterNamed(const std::string& name) {
  for (const Writer& writer : kWriters) {
    if (name == writer.name)
      return writer;
  }
  throw std::logic_error("no writer " + name);
}

const Resave kResaves[] = {
    {WriterNamed("ParGen"),
     [](const fs::path& p) {
       return SaveParGen(p / "pargen.xml", LoadParGen(p / "pargen.xml").model);
     }},
    {WriterNamed("SdoTable"),
     [](const fs::path& p) {
       return SaveSdoTable(p / "sdo.xml", LoadSdoTable(p / "sdo.xml").model);
     }},
    {WriterNamed("PdoTable"),
     [](const fs::path& p) {
       return SavePdoTable(p / "rpdodef.xml", LoadPdoTable(p / "rpdodef.xml").model);
     }},
    {WriterNamed("StoredPdo"),
     [](const fs::path& p) {
       // The PDOs the entries name.
       if (Status pdos = SavePdoTable(p / "rpdodef.xml", PdoGrids(2)); !pdos)
         return pdos;
       return SaveStoredPdo(p / "sdopdo.xml", LoadStoredPdo(p, p / "sdopdo.xml").model);
     }},
    {WriterNamed("EmcyRules"),
     [](const fs::path& p) {
       return SaveEmcyRules(p / "emcydef.xml", LoadEmcyRules(p / "emcydef.xml").model);
     }},
    {WriterNamed("EmcyWords"),
     [](const fs::path& p) {
       return SaveEmcyWords(p / "emcyword.xml", LoadEmcyWords(p / "emcyword.xml").model);
     }},
    {WriterNamed("FrameList"),
     [](const fs::path& p) {
       const fs::path file = p / "Receive_Frame.xml";
       return SaveFrameList(FrameDirection::kReceive, file,
                            LoadFrameList(FrameDirection::kReceive, file).model);
     }},
    {WriterNamed("FrameInfo"),
     [](const fs::path& p) {
       FrameRows frames = EmptyFrameRows();
       for (int r = 0; r < 8; ++r)
         frames[r] = {"6", "0", std::to_string(61444 + r), "0",
                      "F" + std::to_string(r)};  // send columns
       if (Status listed = SaveFrameList(FrameDirection::kSend, p / "Send_Frame.xml", frames);
           !listed)
         return listed;
       const fs::path list = p / "Send_Frame.xml";
       const fs::path info = p / "Send_Info.xml";
       return SaveFrameInfo(FrameDirection::kSend, list, info, LoadFrameInfo(list, info).model);
     }},
};

class KeptEncoding : public testing::TestWithParam<Resave> {};

// A file that a Windows program saved as 8-bit text, UTF-16 or UTF-8 with a byte order mark
// goes back the same way: writing it as UTF-8 would turn every accented letter into two.
TEST_P(KeptEncoding, OkWithoutEditsWritesTheSameBytesInTheFilesEncoding) {
  const Resave& resave = GetParam();
  Project project;
  ASSERT_TRUE(PreparedSave(resave.writer, project.path, 1).ok());
  const fs::path file = project.path / resave.writer.file;
  const std::string utf8 = ReadBytes(file);
  const Status first = resave.resave(project.path);
  ASSERT_TRUE(first.ok()) << first.error();
  ASSERT_EQ(ReadBytes(file), utf8) << "the file as UTF-8 does not come back as it was";
  for (const TextEncoding encoding : {TextEncoding::kWindows1252, TextEncoding::kUtf8Bom,
                                      TextEncoding::kUtf16Le, TextEncoding::kUtf16Be}) {
    const std::string bytes = EncodeText(utf8, encoding);
    WriteBytes(file, bytes);
    const Status saved = resave.resave(project.path);
    ASSERT_TRUE(saved.ok()) << saved.error();
    EXPECT_EQ(ReadBytes(file), bytes)
        << EncodingName(encoding) << " " << static_cast<int>(encoding);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryXmlWriter, KeptEncoding, testing::ValuesIn(kResaves),
                         [](const testing::TestParamInfo<Resave>& info) {
                           return std::string(info.param.writer.name);
                         });

#ifndef _WIN32

// Runs the save of variant 2 in a child process whose files may not grow past limit bytes, as
// on a full disk: 0 when the save failed with the system's reason, 1 when it saved, 2 when it
// failed for another reason.
int SaveUnderSizeLimit(const Writer& writer, const fs::path& project, rlim_t limit) {
  return test::ChildUnderSizeLimit(limit, [&] {
    const Status saved = writer.save(project, 2);
    if (saved.ok())
      return 1;
    return saved.error().find(SystemReason(EFBIG)) != std::string::npos ? 0 : 2;
  });
}

TEST_P(SaveFaults, FullDiskLeavesTheDirectoryAsItWas) {
  const Writer& writer = GetParam();
  const std::string updated = Updated();
  Project project;
  ASSERT_TRUE(PreparedSave(writer, project.path, 1).ok());
  if (writer.prepare) {
    ASSERT_TRUE(writer.prepare(project.path, 2).ok());
  }
  const auto before = Snapshot(project.path);
  for (const rlim_t limit : {rlim_t{0}, rlim_t{updated.size() / 2}, rlim_t{updated.size() - 1}}) {
    SCOPED_TRACE(testing::Message() << "files limited to " << limit << " bytes");
    EXPECT_EQ(SaveUnderSizeLimit(writer, project.path, limit), 0)
        << "1: saved, 2: another reason, 126: no limit set, above 128: a signal";
    EXPECT_EQ(Snapshot(project.path), before);
  }
}

// The same saves as an ordinary user in a project whose directories refuse that user new
// files, so that they are written in place: an injected failure or a full disk leaves the
// project as it was and no copy of the old content behind, and a save without a fault
// completes.
TEST_P(SaveFaults, InPlaceFailureLeavesTheDirectoryAsItWas) {
  const Writer& writer = GetParam();
  const std::string updated = Updated();
  Project project;
  ASSERT_TRUE(PreparedSave(writer, project.path, 1).ok());
  if (writer.prepare) {
    ASSERT_TRUE(writer.prepare(project.path, 2).ok());
  }
  fs::create_directory(project.dir / "cache");
  test::GiveToUser(project.dir / "cache");
  const test::ScopedCacheHome cache(project.dir / "cache");
  const auto before = Snapshot(project.path);
  const test::RefusingDirectory refusing(project.path);
  using Step = InjectedWriteFault::Step;
  const InjectedWriteFault faults[] = {
      {Step::kWrite, 0, ENOSPC},
      {Step::kWrite, 1, ENOSPC},
      {Step::kWrite, updated.size() / 2, EIO},
      {Step::kWrite, updated.size() - 1, EFBIG},
      {Step::kSync, 0, EIO},
  };
  const std::string injected = test::AsUserInChild([&] {
    std::string problems = test::RefusesNewFile(project.path);
    for (const InjectedWriteFault& fault : faults) {
      const std::string at = "step " + std::to_string(static_cast<int>(fault.step)) + " after " +
                             std::to_string(fault.afterBytes) + " bytes: ";
      test::StepRecorder recorder;
      Status saved;
      {
        Injected set(fault);
        saved = writer.save(project.path, 2);
      }
      if (saved.ok() || saved.error().find(SystemReason(fault.error)) == std::string::npos)
        problems += at + (saved.ok() ? "saved" : saved.error()) + "\n";
      if (recorder.steps.empty() || recorder.steps.front() != WriteStep::kBackupSynced)
        problems += at + "not written in place\n";
      if (Snapshot(project.path) != before)
        problems += at + "the project changed\n";
    }
    return problems;
  });
  EXPECT_EQ(injected, "");
  for (const rlim_t limit : {rlim_t{0}, rlim_t{updated.size() / 2}, rlim_t{updated.size() - 1}}) {
    SCOPED_TRACE(testing::Message() << "files limited to " << limit << " bytes");
    const std::string full = test::AsUserInChild(
        [&]() -> std::string {
          const Status saved = writer.save(project.path, 2);
          if (saved.ok())
            return "saved";
          return saved.error().find(SystemReason(EFBIG)) != std::string::npos ? "" : saved.error();
        },
        limit);
    EXPECT_EQ(full, "");
    EXPECT_EQ(Snapshot(project.path), before);
  }
  EXPECT_EQ(cache.Copies(), std::vector<std::string>{});
  const std::string saved = test::AsUserInChild([&] {
    const Status status = writer.save(project.path, 2);
    return status.ok() ? std::string() : status.error();
  });
  EXPECT_EQ(saved, "");
  EXPECT_EQ(ReadBytes(project.path / writer.file), updated);
  EXPECT_EQ(cache.Copies(), std::vector<std::string>{});
}

#endif  // _WIN32

INSTANTIATE_TEST_SUITE_P(EveryWriter, SaveFaults, testing::ValuesIn(kWriters),
                         [](const testing::TestParamInfo<Writer>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quastor
