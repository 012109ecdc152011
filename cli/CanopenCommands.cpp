// import TABLE WORKBOOK | export TABLE, for the tables sdo, rpdodef, sdopdo, emcydef and
// emcyword.
// import: loads the table file as the window's show does, imports the sheet as Import does and
// writes the table file as OK does. export: loads the table file the same way and writes
// ProjectDir/TABLE.csv as Export does. A file that could not be read completely is refused
// rather than rewritten without what was not read; a table file that does not exist yet is
// not an error.

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "canopen/CanopenTexts.h"
#include "canopen/EmcyRulesFiles.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/ExportCsv.h"
#include "canopen/PdoTable.h"
#include "canopen/SdoTable.h"
#include "canopen/StoredPdoFiles.h"
#include "canopen/StoredPdoFollow.h"
#include "cli/Cli.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor::cli {
namespace {

namespace texts = canopen_texts;
namespace fs = std::filesystem;

enum class Table { kSdo, kPdo, kStoredPdo, kEmcyRules, kEmcyWords, kUnknown };

Table TableNamed(const std::string& name) {
  if (name == texts::kSdoTable)
    return Table::kSdo;
  if (name == texts::kPdoTable)
    return Table::kPdo;
  if (name == texts::kStoredPdoTable)
    return Table::kStoredPdo;
  if (name == texts::kEmcyTable)
    return Table::kEmcyRules;
  if (name == texts::kEmcyWordTable)
    return Table::kEmcyWords;
  return Table::kUnknown;
}

bool ProjectChosen(Context& ctx) {
  if (ctx.state.ProjectSelected())
    return true;
  ctx.err << app_texts::kProjectNotValid << "\n";
  return false;
}

void Print(Context& ctx, const std::vector<LoadMessage>& messages) {
  for (const LoadMessage& message : messages)
    ctx.err << message.text << "\n";
}

int Fail(Context& ctx, const std::string& message) {
  ctx.err << message << "\n";
  return kFailed;
}

// What the window asks about before it writes: the gaps' sentences that were not printed
// already; without --force the refusal follows and nothing is written, with it the file is
// written as Yes in the window writes it.
bool GoOn(Context& ctx, bool force, const LoadReport& report,
          const std::vector<LoadMessage>& printed = {}) {
  for (const std::string& gap : report.gaps) {
    if (std::none_of(printed.begin(), printed.end(),
                     [&](const LoadMessage& message) { return message.text == gap; }))
      ctx.err << gap << "\n";
  }
  if (report.Complete() || force)
    return true;
  ctx.err << texts::kNothingWritten << "\n";
  return false;
}

int Done(Context& ctx, const Status& written, const fs::path& file) {
  if (!written)
    return Fail(ctx, written.error());
  ctx.out << Utf8FromPath(file) << "\n";
  return kDone;
}

// The load of a two-grid table or an EMCY table; a missing file is told only where it matters
// (export).
template <class Load>
bool LoadTable(Context& ctx, bool force, const Load& load, bool tell_missing) {
  if (load.found || tell_missing)
    Print(ctx, load.messages);
  return GoOn(ctx, force, load.report, load.messages);
}

int ImportSdo(Context& ctx, bool force, const fs::path& workbook) {
  const fs::path& file = ctx.state.ProjectFiles.sdo;
  if (!LoadTable(ctx, force, LoadSdoTable(file), false))
    return kFailed;
  const Result<GridImport> imported = ImportSdoWorkbook(workbook);
  if (!imported)
    return Fail(ctx, imported.error());
  if (!GoOn(ctx, force, imported->report))
    return kFailed;
  return Done(ctx, SaveSdoTable(file, imported->model), file);
}

// As OK in the window: the stored definitions of sdopdo.xml follow the PDOs the import moves.
int ImportPdo(Context& ctx, bool force, const fs::path& workbook) {
  const fs::path& file = ctx.state.ProjectFiles.rpdodef;
  const GridLoad load = LoadPdoTable(file);
  if (!LoadTable(ctx, force, load, false))
    return kFailed;
  const Result<GridImport> imported = ImportPdoWorkbook(workbook);
  if (!imported)
    return Fail(ctx, imported.error());
  if (!GoOn(ctx, force, imported->report))
    return kFailed;
  StoredPdoFollowUp follow;
  if (load.report.Complete()) {
    Result<StoredPdoFollowUp> followed =
        FollowPdoMoves(ctx.state.ProjectDir, load.model, imported->model);
    if (!followed)
      return Fail(ctx, followed.error());
    follow = std::move(followed.value());
  }
  LoadReport asked;
  if (follow.unread) {
    asked.gaps.push_back((follow.unread->empty() ? "" : *follow.unread + "\n") +
                         texts::kStoredPdoUnread);
  } else if (follow.lost > 0) {
    std::string pdos;
    for (const std::string& cobid : follow.lostPdos)
      pdos += (pdos.empty() ? "" : ", ") + cobid;
    asked.gaps.push_back(FormatText(
        texts::kStoredPdoLost,
        {pdos, Counted(follow.lost, texts::kStoredDefinition, texts::kStoredDefinitions)}));
  }
  if (!GoOn(ctx, force, asked))
    return kFailed;
  const Status saved = SavePdoTableFollowed(ctx.state.ProjectDir, imported->model, follow);
  if (saved && follow.rewrite) {
    ctx.err << FormatText(texts::kStoredPdoFollowed, {Counted(follow.kept, texts::kStoredDefinition,
                                                              texts::kStoredDefinitions)})
            << "\n";
  }
  return Done(ctx, saved, file);
}

int ImportStoredPdo(Context& ctx, bool force, const fs::path& workbook) {
  const fs::path& file = ctx.state.ProjectFiles.sdopdo;
  StoredPdoLoad load = LoadStoredPdo(ctx.state.ProjectDir, file);
  for (const LoadMessage& message : load.messages) {
    if (load.found || message.text != texts::kStoredPdoFileNotFound)
      ctx.err << message.text << "\n";
  }
  if (!load.complete && !GoOn(ctx, force, load.report, load.messages))
    return kFailed;
  Result<StoredPdoImport> imported = ImportStoredPdoWorkbook(load.model, workbook);
  if (!imported)
    return Fail(ctx, imported.error());
  if (!GoOn(ctx, force, imported->report))
    return kFailed;
  ApplyStoredPdoImport(load.model, std::move(imported.value()));
  return Done(ctx, SaveStoredPdo(file, load.model), file);
}

int ImportEmcyRules(Context& ctx, bool force, const fs::path& workbook) {
  const fs::path& file = ctx.state.ProjectFiles.emcydef;
  if (!LoadTable(ctx, force, LoadEmcyRules(file), false))
    return kFailed;
  const Result<EmcyModel> imported = ImportEmcyRulesWorkbook(workbook);
  if (!imported)
    return Fail(ctx, imported.error());
  return Done(ctx, SaveEmcyRules(file, *imported), file);
}

int ImportEmcyWords(Context& ctx, bool force, const fs::path& workbook) {
  const fs::path& file = ctx.state.ProjectFiles.emcyword;
  if (!LoadTable(ctx, force, LoadEmcyWords(file), false))
    return kFailed;
  const Result<EmcyWordsImport> imported = ImportEmcyWordsWorkbook(workbook);
  if (!imported)
    return Fail(ctx, imported.error());
  if (!GoOn(ctx, force, imported->report))
    return kFailed;
  return Done(ctx, SaveEmcyWords(file, imported->model), file);
}

int ExportTable(Context& ctx, bool force, Table table) {
  const fs::path& dir = ctx.state.ProjectDir;
  if (table == Table::kEmcyRules) {
    const EmcyRulesLoad load = LoadEmcyRules(ctx.state.ProjectFiles.emcydef);
    if (!LoadTable(ctx, force, load, true))
      return kFailed;
    return Done(ctx, ExportEmcyRulesCsv(dir, load.model), CsvPath(dir, texts::kEmcyTable));
  }
  if (table == Table::kEmcyWords) {
    const EmcyWordsLoad load = LoadEmcyWords(ctx.state.ProjectFiles.emcyword);
    if (!LoadTable(ctx, force, load, true))
      return kFailed;
    return Done(ctx, ExportEmcyWordsCsv(dir, load.model), CsvPath(dir, texts::kEmcyWordTable));
  }
  if (table == Table::kStoredPdo) {
    const StoredPdoLoad load = LoadStoredPdo(dir, ctx.state.ProjectFiles.sdopdo);
    Print(ctx, load.messages);
    if (!load.complete && !GoOn(ctx, force, load.report, load.messages))
      return kFailed;
    return Done(ctx, ExportStoredPdoCsv(dir, load.model), CsvPath(dir, texts::kStoredPdoTable));
  }
  const bool sdo = table == Table::kSdo;
  const GridLoad load =
      sdo ? LoadSdoTable(ctx.state.ProjectFiles.sdo) : LoadPdoTable(ctx.state.ProjectFiles.rpdodef);
  if (!LoadTable(ctx, force, load, true))
    return kFailed;
  return Done(ctx, sdo ? ExportSdoCsv(dir, load.model) : ExportPdoCsv(dir, load.model),
              CsvPath(dir, sdo ? texts::kSdoTable : texts::kPdoTable));
}

// The table named by the first argument, or the exit code when there is none to work on.
bool ChooseTable(Context& ctx, const Arguments& args, Table& table, int& exit_code) {
  table = TableNamed(args[0]);
  if (table == Table::kUnknown) {
    exit_code =
        Usage(ctx, "unknown table \"" + args[0] + "\" (sdo, rpdodef, sdopdo, emcydef, emcyword)");
    return false;
  }
  if (!ProjectChosen(ctx)) {
    exit_code = kFailed;
    return false;
  }
  return true;
}

// The arguments without "--force", and whether it was given.
Arguments WithoutForce(const Arguments& args, bool& force) {
  Arguments rest;
  force = false;
  for (const std::string& arg : args) {
    if (arg == "--force")
      force = true;
    else
      rest.push_back(arg);
  }
  return rest;
}

}  // namespace

int ImportCommand(Context& ctx, const Arguments& all) {
  bool force = false;
  const Arguments args = WithoutForce(all, force);
  if (args.size() != 2 || args[1].empty())
    return Usage(ctx, "import needs: TABLE WORKBOOK [--force]");
  Table table;
  int exit_code = kDone;
  if (!ChooseTable(ctx, args, table, exit_code))
    return exit_code;
  const fs::path workbook = PathFromUtf8(args[1]);
  switch (table) {
    case Table::kSdo:
      return ImportSdo(ctx, force, workbook);
    case Table::kPdo:
      return ImportPdo(ctx, force, workbook);
    case Table::kEmcyRules:
      return ImportEmcyRules(ctx, force, workbook);
    case Table::kEmcyWords:
      return ImportEmcyWords(ctx, force, workbook);
    default:
      return ImportStoredPdo(ctx, force, workbook);
  }
}

int ExportCommand(Context& ctx, const Arguments& all) {
  bool force = false;
  const Arguments args = WithoutForce(all, force);
  if (args.size() != 1)
    return Usage(ctx, "export needs: TABLE [--force]");
  Table table;
  int exit_code = kDone;
  if (!ChooseTable(ctx, args, table, exit_code))
    return exit_code;
  return ExportTable(ctx, force, table);
}

}  // namespace quastor::cli
